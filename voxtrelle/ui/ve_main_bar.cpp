// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/ve_main_bar.h"

#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statline.h>

#include <algorithm>

#include "voxtrelle/imaging/picture.h"
#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/command_strings.h"
#include "voxtrelle/ui/ui_pictures.h"

namespace voxtrelle {

namespace {

struct ToolSpec {
  int id;
  const char* picture;
  const char* label;  // shown beside the image; empty = image only
};

constexpr ToolSpec kTools[] = {
    {cmd::kOpen, "toolbar_open", "Open"},
    {cmd::kSave, "toolbar_save", ""},
    {0, nullptr, nullptr},
    {cmd::kPlay, "toolbar_play", ""},
    {cmd::kPause, "toolbar_pause", ""},
    {cmd::kStop, "toolbar_stop", ""},
    {0, nullptr, nullptr},
    {cmd::kSetStart, "toolbar_set_start", "Set Start"},
    {cmd::kSetEnd, "toolbar_set_end", "Set End"},
    {cmd::kSelectAll, "toolbar_select_all", "Select All"},
    {cmd::kDeselect, "toolbar_deselect", "Deselect"},
    {0, nullptr, nullptr},
    {cmd::kWebsite, "toolbar_website", "Website"},
};

// Left margin of the first button.
constexpr int kLeftMargin = 3;

}  // namespace

VeMainBar::VeMainBar(wxWindow* parent)
    : wxPanel(parent, cmd::kToolBarId, wxDefaultPosition, wxSize(-1, kHeight),
              wxTAB_TRAVERSAL | wxCLIP_CHILDREN) {
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->AddSpacer(kLeftMargin);
  for (const ToolSpec& spec : kTools) {
    if (spec.id == 0) {
      row->Add(new wxStaticLine(this, wxID_ANY, wxDefaultPosition, wxSize(1, 20), wxLI_VERTICAL),
               wxSizerFlags().Center().Border(wxLEFT | wxRIGHT, 2));
      continue;
    }
    const wxString label = wxString::FromUTF8(spec.label);
    auto* button = new wxButton(this, spec.id, label, wxDefaultPosition, wxDefaultSize,
                                wxBORDER_NONE | wxBU_EXACTFIT | (label.empty() ? wxBU_NOTEXT : 0));
    const wxBitmap bitmap = LoadPictureBitmap(UiPictures(), spec.picture);
    if (bitmap.IsOk()) {
      button->SetBitmap(bitmap);
      if (!label.empty()) button->SetBitmapMargins(4, 0);
    }
    button->SetToolTip(CommandTip(spec.id));
    button->SetCanFocus(false);
    tools_.push_back(button);
    row->Add(button, wxSizerFlags().Center().Border(wxLEFT | wxRIGHT, 2));
  }
  SetSizer(row);
  Tool(cmd::kPause)->Hide();
  Bind(wxEVT_BUTTON, &VeMainBar::OnButton, this);
}

wxButton* VeMainBar::Tool(int id) const {
  const auto it =
      std::find_if(tools_.begin(), tools_.end(), [id](wxButton* b) { return b->GetId() == id; });
  return it == tools_.end() ? nullptr : *it;
}

int VeMainBar::StripHeight() const {
  int tallest = 0;
  for (const wxButton* button : tools_) tallest = std::max(tallest, button->GetBestSize().y);
  return std::max(kHeight, tallest + 2);
}

void VeMainBar::ShowPause(bool pause) {
  if (pause == showing_pause_) return;
  showing_pause_ = pause;
  Tool(cmd::kPlay)->Show(!pause);
  Tool(cmd::kPause)->Show(pause);
  Layout();
}

void VeMainBar::EnableTool(int id, bool enable) {
  wxButton* button = Tool(id);
  if (button != nullptr && button->IsThisEnabled() != enable) button->Enable(enable);
}

bool VeMainBar::IsToolEnabled(int id) const {
  const wxButton* button = Tool(id);
  return button != nullptr && button->IsThisEnabled();
}

bool VeMainBar::IsToolShown(int id) const {
  const wxButton* button = Tool(id);
  return button != nullptr && button->IsShown();
}

void VeMainBar::OnButton(wxCommandEvent& event) {
  // The strip's buttons are the frame's menu commands.
  wxCommandEvent command(wxEVT_MENU, event.GetId());
  command.SetEventObject(this);
  GetParent()->GetEventHandler()->ProcessEvent(command);
}

}  // namespace voxtrelle
