// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/edit_panel.h"

#include <gtk/gtk.h>
#include <wx/sizer.h>

#include <algorithm>

#include "voxtrelle/ui/command_ids.h"

namespace voxtrelle {

namespace {

struct EditButton {
  int id;
  const char* text;
};

// Row by row: the grid has the deletions, volume, fades and channel conversions as columns.
constexpr EditButton kButtons[] = {
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
  // Two rows of four buttons. Each column is as wide as its widest button and the columns share
  // what is left, so the grid fits the window's smallest size with this desktop's button fonts.
  const int gap = FromDIP(8);
  const int height = ConvertDialogToPixels(wxSize(0, 14)).y;
  auto* grid = new wxFlexGridSizer(2, 4, gap, gap);
  for (int column = 0; column < 4; ++column) grid->AddGrowableCol(column, 1);
  for (const EditButton& entry : kButtons) {
    auto* button = new wxButton(this, entry.id, entry.text);
    const wxSize best = button->GetBestSize();
    button->SetMinSize(wxSize(best.x, std::max(best.y, height)));
    // A click leaves the focus where it was, so a later Space or Enter cannot repeat the edit
    // (there is no undo). Tab still reaches the buttons.
    gtk_widget_set_focus_on_click(button->GetHandle(), FALSE);
    grid->Add(button, wxSizerFlags().Expand());
    button->Bind(wxEVT_BUTTON, &EditPanel::OnButton, this);
  }
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, wxSizerFlags(1).Expand().Border(wxALL, FromDIP(10)));
  SetSizerAndFit(top);
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
