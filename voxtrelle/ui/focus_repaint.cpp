// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/focus_repaint.h"

#include <wx/window.h>

namespace voxtrelle {

void RepaintOnFocusChange(wxWindow* window) {
  const auto repaint = [window](wxFocusEvent& event) {
    window->Refresh();
    event.Skip();
  };
  window->Bind(wxEVT_SET_FOCUS, repaint);
  window->Bind(wxEVT_KILL_FOCUS, repaint);
}

}  // namespace voxtrelle
