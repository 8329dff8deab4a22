// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/ve_view.h"

#include <wx/settings.h>
#include <wx/utils.h>

#include "voxtrelle/ui/ve_selection_bar.h"
#include "voxtrelle/ui/ve_waveform.h"
#include "voxtrelle/ui/waveform_geometry.h"

#if __has_include("voxtrelle/ui/edit_panel.h")
#include "voxtrelle/ui/edit_panel.h"
#define VX_HAVE_EDIT_PANEL 1
#endif

namespace voxtrelle {

namespace {

wxWindow* MakeEditPanel(wxWindow* parent) {
#ifdef VX_HAVE_EDIT_PANEL
  return new EditPanel(parent);
#else
  // Until the edit panel exists: an empty area of its size.
  auto* panel = new wxPanel(parent, wxID_ANY);
  panel->SetSize(panel->ConvertDialogToPixels(wxSize(389, 62)));
  return panel;
#endif
}

}  // namespace

VeView::VeView(wxWindow* parent, const EditContext& context)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
              wxTAB_TRAVERSAL | wxCLIP_CHILDREN | wxBORDER_NONE) {
  Hide();
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  waveform_ = new VeWaveform(this, context);
  selection_bar_ = new VeSelectionBar(this, waveform_, context);
  edit_panel_ = MakeEditPanel(this);
  Bind(wxEVT_SIZE, &VeView::OnSize, this);
}

void VeView::RefreshView(bool rebuild) {
  if (rebuild) DropPeaks();
  waveform_->Refresh(false);
  waveform_->Update();
  selection_bar_->RefreshBar();
}

void VeView::DropPeaks() {
  waveform_->DropPeaks();
}

void VeView::PrepareNow() {
  wxBusyCursor wait;
  DropPeaks();
  waveform_->EnsureCache();
}

void VeView::OnSize(wxSizeEvent& event) {
  LayOut();
  event.Skip();
}

void VeView::LayOut() {
  const geometry::ViewLayout layout = geometry::LayOutView(GetClientSize(), edit_panel_->GetSize());
  edit_panel_->Move(layout.panel);
  waveform_->SetSize(layout.waveform);
  selection_bar_->SetSize(layout.selection_bar);
}

}  // namespace voxtrelle
