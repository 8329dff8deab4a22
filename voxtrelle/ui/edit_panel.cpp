// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/edit_panel.h"

#include <wx/sizer.h>

#include <algorithm>

#include "voxtrelle/ui/command_ids.h"

namespace voxtrelle {

namespace {

struct ButtonSpec {
  int id;
  const char* text;
};

// Row by row: the grid has the deletions, volume, fades and channel conversions as columns.
constexpr ButtonSpec kButtons[] = {
    {cmd::kDeleteSelected, "Delete Selected"},
    {cmd::kChangeVolume, "Change Volume..."},
    {cmd::kFadeIn, "Fade In"},
    {cmd::kToStereo, "Convert to Stereo"},
    {cmd::kDeleteUnselected, "Delete Unselected"},
    {cmd::kMaximizeVolume, "Maximize Volume"},
    {cmd::kFadeOut, "Fade Out"},
    {cmd::kToMono, "Convert to Mono"},
};

}  // namespace

EditPanel::EditPanel(wxWindow* parent)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxTAB_TRAVERSAL) {
  // Dialog units of the panel: buttons 78 x 14 at columns 92 and rows 20 apart.
  const wxSize buttonDlu = ConvertDialogToPixels(wxSize(78, 14));
  const wxSize gap = ConvertDialogToPixels(wxSize(14, 6));
  auto* grid = new wxGridSizer(2, 4, gap.y, gap.x);
  for (const ButtonSpec& spec : kButtons) {
    auto* button = new wxButton(this, spec.id, spec.text);
    const wxSize best = button->GetBestSize();
    button->SetMinSize(wxSize(std::max(best.x, buttonDlu.x), std::max(best.y, buttonDlu.y)));
    grid->Add(button, wxSizerFlags().Expand());
    button->Bind(wxEVT_BUTTON, &EditPanel::OnButton, this);
  }
  auto* top = new wxBoxSizer(wxVERTICAL);
  const wxSize margin = ConvertDialogToPixels(wxSize(18, 10));
  top->Add(grid, wxSizerFlags().Centre().Border(wxTOP | wxBOTTOM, margin.y));
  auto* outer = new wxBoxSizer(wxHORIZONTAL);
  outer->Add(top, wxSizerFlags(1).Border(wxLEFT | wxRIGHT, margin.x));
  SetSizerAndFit(outer);
}

wxButton* EditPanel::Button(int command) const {
  return wxDynamicCast(FindWindow(command), wxButton);
}

void EditPanel::OnButton(wxCommandEvent& event) {
  wxWindow* frame = wxGetTopLevelParent(this);
  if (frame == nullptr) return;
  wxCommandEvent forwarded(wxEVT_BUTTON, event.GetId());
  forwarded.SetEventObject(this);
  frame->GetEventHandler()->ProcessEvent(forwarded);
}

}  // namespace voxtrelle
