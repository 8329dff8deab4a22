// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/window_drag.h"

#include <wx/toplevel.h>

namespace zentora {

WindowDragger::WindowDragger(wxWindow* panel) : panel_(panel) {
  panel_->Bind(wxEVT_MOTION, &WindowDragger::OnMotion, this);
  panel_->Bind(wxEVT_LEFT_UP, &WindowDragger::OnUp, this);
  panel_->Bind(wxEVT_MOUSE_CAPTURE_LOST, &WindowDragger::OnCaptureLost, this);
}

void WindowDragger::Begin(const wxMouseEvent& event) {
  wxWindow* top = wxGetTopLevelParent(panel_);
  if (!top || active_) return;
  grabOffset_ = panel_->ClientToScreen(event.GetPosition()) - top->GetPosition();
  active_ = true;
  if (!panel_->HasCapture()) panel_->CaptureMouse();
}

void WindowDragger::OnMotion(wxMouseEvent& event) {
  event.Skip();
  if (!active_) return;
  if (!event.LeftIsDown()) {
    End();
    return;
  }
  if (wxWindow* top = wxGetTopLevelParent(panel_))
    top->Move(panel_->ClientToScreen(event.GetPosition()) - grabOffset_);
}

void WindowDragger::OnUp(wxMouseEvent& event) {
  event.Skip();
  if (active_) End();
}

void WindowDragger::OnCaptureLost(wxMouseCaptureLostEvent& event) {
  event.Skip();
  active_ = false;
}

void WindowDragger::End() {
  active_ = false;
  if (panel_->HasCapture()) panel_->ReleaseMouse();
}

}  // namespace zentora
