// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/time_panel.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>

#include <algorithm>

#include "zentora/ui/pictures.h"
#include "zentora/ui/time_text.h"

namespace zentora {
namespace {

// Splits `text` into lines that fit `width` when drawn with the DC's font, breaking at blanks
// where there are any and between characters otherwise (Chinese text has no blanks).
wxString WrapText(wxDC& dc, const wxString& text, int width) {
  wxString result, line;
  for (wxUniChar c : text) {
    wxString candidate = line + c;
    if (!line.empty() && dc.GetTextExtent(candidate).x > width) {
      const int blank = line.Find(' ', true);
      if (blank != wxNOT_FOUND && c != ' ') {
        result += line.Left(blank) + "\n";
        line = line.Mid(blank + 1) + c;
      } else {
        result += line + "\n";
        line = c == ' ' ? wxString() : wxString(c);
      }
    } else {
      line = candidate;
    }
  }
  return result + line;
}

}  // namespace

TimePanel::TimePanel(wxWindow* parent, PlayView& view, const wxString& notLoadedText)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxSize(400, 150), wxBORDER_NONE | wxWANTS_CHARS),
      view_(view),
      windowDrag_(this),
      notLoadedText_(notLoadedText),
      font_(wxFontInfo(wxSize(0, 20)).FaceName("Tahoma").Family(wxFONTFAMILY_SWISS).Weight(600)) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &TimePanel::OnPaint, this);
  Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
    Refresh(false);
    e.Skip();
  });
  Bind(wxEVT_SET_CURSOR, &TimePanel::OnSetCursor, this);
  Bind(wxEVT_LEFT_DOWN, &TimePanel::OnLeftDown, this);
}

wxRect TimePanel::PlayImageArea() const {
  const wxSize size = GetClientSize();
  return wxRect(size.x / 2 - 32, size.y / 2 - 32, 64, 64);
}

const wxBitmap& TimePanel::Render() {
  const wxSize size = GetClientSize();
  const int w = std::max(size.x, 1), h = std::max(size.y, 1);
  if (!buffer_.IsOk() || buffer_.GetWidth() != w || buffer_.GetHeight() != h)
    buffer_.Create(w, h, 24);
  wxMemoryDC dc(buffer_);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  dc.SetFont(font_);
  dc.SetTextForeground(*wxBLACK);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  drawnTexts_.clear();

  if (view_.IsLoaded()) {
    const wxRect left(w / 6, 0, w / 2 - w / 6, 0), right(w / 2, 0, w - w / 6 - w / 2, 0);
    const int upperTop = h / 4, middle = h / 2, lowerBottom = h - h / 4;
    auto band = [&](const wxRect& column, int top, int bottom, const wxString& text) {
      dc.DrawLabel(text, wxRect(column.x, top, column.width, bottom - top), wxALIGN_CENTRE);
      drawnTexts_.push_back(text);
    };
    band(left, upperTop, middle, ShortTimeText(view_.CurrentMs()));
    band(left, middle, lowerBottom, ShortTimeText(view_.DurationMs()));
    if (view_.PointAMs() >= 0)
      band(right, upperTop, middle, wxString::Format("a: %s", LongTimeText(view_.PointAMs())));
    if (view_.PointBMs() >= 0)
      band(right, middle, lowerBottom, wxString::Format("b: %s", LongTimeText(view_.PointBMs())));
    if (!view_.IsPlaying()) {
      if (!playImage_.IsOk()) playImage_ = LoadPicture(kPlayImage);
      dc.DrawBitmap(playImage_, (w - playImage_.GetWidth()) / 2, (h - playImage_.GetHeight()) / 2,
                    true);
    }
  } else {
    // Word-wrapped text runs from the top of the inner rectangle, each line centred.
    const wxRect inner = wxRect(0, 0, w, h).Deflate(8);
    dc.DrawLabel(WrapText(dc, notLoadedText_, inner.width), inner,
                 wxALIGN_CENTRE_HORIZONTAL | wxALIGN_TOP);
    if (!notLoadedImage_.IsOk()) notLoadedImage_ = LoadPicture(kNotLoadedImage);
    dc.DrawBitmap(notLoadedImage_, (w - notLoadedImage_.GetWidth()) / 2, 45, true);
  }
  dc.SelectObject(wxNullBitmap);
  return buffer_;
}

void TimePanel::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  dc.DrawBitmap(Render(), 0, 0);
}

void TimePanel::OnSetCursor(wxSetCursorEvent& event) {
  if (PlayImageActive() && PlayImageArea().Contains(event.GetX(), event.GetY()))
    event.SetCursor(wxCursor(wxCURSOR_HAND));
  else
    event.Skip();
}

void TimePanel::OnLeftDown(wxMouseEvent& event) {
  SetFocus();
  if (PlayImageActive() && PlayImageArea().Contains(event.GetPosition())) {
    view_.TogglePlay();
    return;
  }
  windowDrag_.Begin(event);
}

}  // namespace zentora
