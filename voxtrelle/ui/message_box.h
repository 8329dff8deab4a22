// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/string.h>
#include <wx/window.h>

namespace voxtrelle {

// A message box captioned "Voxtrelle", centred over owner. style takes wxOK or
// wxYES_NO | wxCANCEL and an icon (wxICON_ERROR, wxICON_QUESTION). Returns wxOK, wxYES, wxNO
// or wxCANCEL.
int ShowCentredMessage(wxWindow* owner, const wxString& text, long style);

}  // namespace voxtrelle
