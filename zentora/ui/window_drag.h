// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lets a press on an empty part of a panel move the whole top-level window, the way a press
// on its caption would.
#include <wx/window.h>

namespace zentora {

class WindowDragger {
 public:
  // Watches `panel`'s mouse events; Begin starts a move of the panel's top-level window.
  explicit WindowDragger(wxWindow* panel);
  WindowDragger(const WindowDragger&) = delete;
  WindowDragger& operator=(const WindowDragger&) = delete;

  // Called from the panel's left-button-down handler for a press on empty space.
  void Begin(const wxMouseEvent& event);
  bool Active() const { return active_; }

 private:
  void OnMotion(wxMouseEvent& event);
  void OnUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void End();

  wxWindow* panel_;
  bool active_ = false;
  wxPoint grabOffset_;  // mouse position minus window position, screen pixels
};

}  // namespace zentora
