// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/message_box.h"

#include <wx/msgdlg.h>

#include "voxtrelle/ui/command_strings.h"

namespace voxtrelle {

int ShowCentredMessage(wxWindow* owner, const wxString& text, long style) {
  wxMessageDialog box(owner, text, kProductName, style | wxCENTRE);
  box.CentreOnParent();
  switch (box.ShowModal()) {
    case wxID_YES:
      return wxYES;
    case wxID_NO:
      return wxNO;
    case wxID_CANCEL:
      return wxCANCEL;
    default:
      return (style & wxYES_NO) != 0 ? wxCANCEL : wxOK;
  }
}

}  // namespace voxtrelle
