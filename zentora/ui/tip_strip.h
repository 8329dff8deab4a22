// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The usage tip on a light yellow band between the settings and the time panel.
#include <wx/panel.h>

#include "zentora/ui/window_drag.h"

namespace zentora {

class TipStrip : public wxPanel {
 public:
  TipStrip(wxWindow* parent, const wxString& tip);
  // Draws the strip into a bitmap of the panel's size.
  wxBitmap Render();

 private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);

  WindowDragger windowDrag_;
  wxString tip_;
  wxFont font_;
  wxWindow* bottomLine_;
};

}  // namespace zentora
