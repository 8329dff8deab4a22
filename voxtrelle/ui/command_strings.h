// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/string.h>

namespace voxtrelle {

// The program's name: message box captions and the window title.
inline constexpr const char* kProductName = "Voxtrelle";
// Status text when nothing else is shown (string 57345).
inline constexpr const char* kReadyText = "Ready";

// A command's description: the status bar's menu help before the line break, the toolbar's
// tooltip after it. Empty for ids without one.
wxString CommandString(int id);
// The part before the line break.
wxString CommandHelp(int id);
// The part after the line break, at most 79 characters.
wxString CommandTip(int id);

}  // namespace voxtrelle
