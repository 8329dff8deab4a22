// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The points where the window talks to the person in front of it: message boxes, the update
// notice and web pages. The program uses the real dialogs; tests put observers in their place.
#include <wx/string.h>

#include <functional>

class wxWindow;

namespace zentora {

struct FrameHooks {
  // A message box captioned with string 103; `style` holds wxICON_* and wxYES_NO / wxOK.
  // Answers wxYES, wxNO or wxOK. `owner` is the main window, or nullptr before it exists.
  std::function<int(wxWindow* owner, const wxString& text, long style)> messageBox;
  // Dialog 138 showing string `textId` (126 or 127); returns when it has closed.
  std::function<void(wxWindow* owner, int textId)> updateNotice;
  // The save dialog of the cut flow; answers the chosen path, or an empty string on Cancel.
  std::function<wxString(wxWindow* owner)> chooseCutOutput;
  // Asks the desktop to open a web address.
  std::function<void(const wxString& url)> openUrl;
  // Whether the settings panel may embed a web view (else it uses the plain HTML window).
  bool allowWebView = true;

  // The hooks of the running program: real dialogs and the desktop's browser.
  static FrameHooks Interactive();
};

}  // namespace zentora
