// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small dialogs are narrower than their title needs once the window manager has put its icon
// and buttons into the title bar; this widens them so the whole title shows.
class wxDialog;

namespace zentora {

// Call after the dialog's sizer has fitted it.
void MakeRoomForTitle(wxDialog& dialog);

}  // namespace zentora
