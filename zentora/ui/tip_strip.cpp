// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/tip_strip.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>
#include <wx/statline.h>

#include <algorithm>

namespace zentora {

TipStrip::TipStrip(wxWindow* parent, const wxString& tip)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxSize(400, 26), wxBORDER_NONE),
      windowDrag_(this),
      tip_(tip),
      font_(wxFontInfo(wxSize(0, 12)).FaceName("Tahoma").Family(wxFONTFAMILY_SWISS)),
      bottomLine_(new wxStaticLine(this, 1014, wxPoint(0, 24), wxSize(401, 2))) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &TipStrip::OnPaint, this);
  Bind(wxEVT_SIZE, &TipStrip::OnSize, this);
  Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) { windowDrag_.Begin(e); });
}

wxBitmap TipStrip::Render() {
  const wxSize size = GetClientSize();
  const int w = std::max(size.x, 1), h = std::max(size.y, 3);
  wxBitmap bitmap(w, h, 24);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
  dc.Clear();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(wxColour(255, 255, 205)));
  dc.DrawRectangle(0, 1, w, h - 3);
  dc.SetFont(font_);
  dc.SetTextForeground(*wxBLACK);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.DrawLabel(tip_, wxRect(0, 0, w, h), wxALIGN_CENTRE);
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

void TipStrip::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxBitmap bitmap = Render();
  wxMemoryDC source;
  source.SelectObjectAsSource(bitmap);
  // The last two rows belong to the bottom line.
  dc.Blit(0, 0, bitmap.GetWidth(), std::max(bitmap.GetHeight() - 2, 0), &source, 0, 0);
}

void TipStrip::OnSize(wxSizeEvent& event) {
  const wxSize size = GetClientSize();
  bottomLine_->SetSize(0, size.y - 2, size.x + 1, 2);
  Refresh(false);
  event.Skip();
}

}  // namespace zentora
