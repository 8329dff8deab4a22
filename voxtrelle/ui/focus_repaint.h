// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class wxWindow;

namespace voxtrelle {

// For a control that draws its own focus look: repaints it whenever it gains or loses the
// keyboard focus. The focus events still go on to wx's own handling.
void RepaintOnFocusChange(wxWindow* window);

}  // namespace voxtrelle
