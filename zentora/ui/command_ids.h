// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Menu and toolbar ids.
// wx keeps menu and tool ids below 0x7fff, so the commands from 32768 up are shifted down for
// the menus and the toolbar and shifted back when they are run.

#include <wx/string.h>

namespace zentora {

inline constexpr int kWxIdShift = 30000;

inline constexpr int WxId(int command) {
  return command >= 0x7fff ? command - kWxIdShift : command;
}
inline constexpr int CommandOf(int wxId) {
  return wxId >= 0x7fff - kWxIdShift && wxId < 0x8100 - kWxIdShift ? wxId + kWxIdShift : wxId;
}

// The label a menu shows for a text of the menu table. GTK menus show nothing after a tab
// unless it names a key they know, so the tab becomes a wide gap and the key hint stays.
inline wxString MenuLabel(const char* text) {
  wxString label = wxString::FromUTF8(text);
  label.Replace("\t", "   ");
  return label;
}

}  // namespace zentora
