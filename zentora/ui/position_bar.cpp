// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/position_bar.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>
#include <wx/statline.h>

#include <algorithm>

#include "zentora/ui/pictures.h"
#include "zentora/ui/position_geometry.h"
#include "zentora/ui/time_text.h"

namespace zentora {
namespace geo = position_geometry;
namespace {

const wxColour kDark(70, 70, 70);
const wxColour kLight(220, 220, 220);

}  // namespace

PositionBar::PositionBar(wxWindow* parent, PlayView& view)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxSize(400, 40), wxBORDER_NONE),
      view_(view),
      windowDrag_(this),
      topLine_(new wxStaticLine(this, 1018, wxPoint(0, 0), wxSize(401, 2))),
      markerA_(LoadPicture(kMarkerA)),
      markerB_(LoadPicture(kMarkerB)),
      thumb_(LoadPicture(kThumb)),
      font_(wxFontInfo(wxSize(0, 10)).FaceName("Tahoma").Family(wxFONTFAMILY_SWISS)) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &PositionBar::OnPaint, this);
  Bind(wxEVT_SIZE, &PositionBar::OnSize, this);
  Bind(wxEVT_SET_CURSOR, &PositionBar::OnSetCursor, this);
  Bind(wxEVT_LEFT_DOWN, &PositionBar::OnLeftDown, this);
  Bind(wxEVT_MOTION, &PositionBar::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &PositionBar::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &PositionBar::OnCaptureLost, this);
}

int PositionBar::TrackLength() const {
  return geo::TrackLength(GetClientSize().x);
}

int PositionBar::PlayedOffset() const {
  if (!view_.IsLoaded()) return 0;
  return geo::OffsetOfTime(view_.CurrentMs(), view_.DurationMs(), TrackLength());
}

const wxBitmap& PositionBar::Render(bool withDrag) {
  const wxSize size = GetClientSize();
  const int w = std::max(size.x, 1), h = std::max(size.y, 1);
  if (!buffer_.IsOk() || buffer_.GetWidth() != w || buffer_.GetHeight() != h)
    buffer_.Create(w, h, 24);
  wxMemoryDC dc(buffer_);
  dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
  dc.Clear();

  const int pos = PlayedOffset();
  const int right = geo::TrackRight(w);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(kDark));
  dc.DrawRectangle(geo::kTrackLeft, geo::kTrackTop, pos + 1, 5);
  if (right >= 16 + pos) {
    dc.SetBrush(wxBrush(kLight));
    dc.DrawRectangle(16 + pos, geo::kTrackTop, right - (16 + pos) + 1, 5);
  }
  dc.SetPen(wxPen(kDark, 1));
  const wxPoint outline[] = {{geo::kTrackLeft, geo::kTrackTop},
                             {right, geo::kTrackTop},
                             {right, geo::kTrackBottom},
                             {geo::kTrackLeft, geo::kTrackBottom},
                             {geo::kTrackLeft, geo::kTrackTop}};
  dc.DrawLines(5, outline);

  if (Active()) {
    const int length = TrackLength(), duration = view_.DurationMs();
    if (view_.PointAMs() >= 0)
      dc.DrawBitmap(markerA_, geo::OffsetOfTime(view_.PointAMs(), duration, length) + 10, 4, true);
    if (view_.PointBMs() >= 0)
      dc.DrawBitmap(markerB_, geo::OffsetOfTime(view_.PointBMs(), duration, length) + 15, 4, true);
  }
  if (withDrag && dragging_) {
    dc.DrawBitmap(thumb_, dragX_ + 9, 19, true);
    dc.SetFont(font_);
    dc.SetTextForeground(kDark);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const int32_t ms = geo::TimeOfOffset(dragX_, view_.DurationMs(), TrackLength());
    dc.SetClippingRegion(dragX_ + 27, 22, std::max(w - dragX_ - 27, 0), std::max(h - 22, 0));
    dc.DrawText(ShortTimeText(ms), dragX_ + 27, 22);
    dc.DestroyClippingRegion();
  } else {
    dc.DrawBitmap(thumb_, pos + 9, 19, true);
  }
  dc.SelectObject(wxNullBitmap);
  return buffer_;
}

void PositionBar::RefreshBar() {
  Refresh(false);
}

void PositionBar::CancelDrag() {
  wxMouseCaptureLostEvent lost(GetId());
  lost.SetEventObject(this);
  OnCaptureLost(lost);
}

void PositionBar::SeekToOffset(int offset) {
  view_.SeekTo(geo::TimeOfOffset(offset, view_.DurationMs(), TrackLength()));
}

void PositionBar::LayoutLine() {
  topLine_->SetSize(0, 0, GetClientSize().x + 1, 2);
}

void PositionBar::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxBitmap& bitmap = Render(dragging_);
  wxMemoryDC source;
  source.SelectObjectAsSource(bitmap);
  // Rows 0 and 1 belong to the top line.
  dc.Blit(0, 2, bitmap.GetWidth(), std::max(bitmap.GetHeight() - 2, 0), &source, 0, 2);
}

void PositionBar::OnSize(wxSizeEvent& event) {
  LayoutLine();
  Refresh(false);
  event.Skip();
}

void PositionBar::OnSetCursor(wxSetCursorEvent& event) {
  const int pos = PlayedOffset();
  const bool overHandle = Active() && (geo::InThumb(pos, event.GetX(), event.GetY()) ||
                                       geo::InTrack(GetClientSize().x, event.GetX(), event.GetY()));
  if (dragging_ || overHandle)
    event.SetCursor(wxCursor(wxCURSOR_HAND));
  else
    event.Skip();
}

void PositionBar::OnLeftDown(wxMouseEvent& event) {
  const int x = event.GetX(), y = event.GetY();
  if (!dragging_ && Active()) {
    const int pos = PlayedOffset();
    if (geo::InThumb(pos, x, y)) {
      if (!HasCapture()) CaptureMouse();
      dragging_ = true;
      dragX_ = pos;
      RefreshBar();
      lastMouseX_ = x;
      return;
    }
    if (geo::InTrack(GetClientSize().x, x, y)) {
      SeekToOffset(geo::ClickOffset(x, TrackLength()));
      RefreshBar();
      return;
    }
  }
  windowDrag_.Begin(event);
}

void PositionBar::OnMotion(wxMouseEvent& event) {
  event.Skip();  // the window dragger watches motion too
  if (!dragging_) return;
  const int x = geo::Mouse16(event.GetX());
  dragX_ = std::clamp(dragX_ + x - lastMouseX_, 0, std::max(TrackLength(), 0));
  RefreshBar();
  lastMouseX_ = x;
}

void PositionBar::OnLeftUp(wxMouseEvent& event) {
  event.Skip();
  if (!dragging_) return;
  if (!Active()) {  // playback stopped under the thumb: end the drag without seeking
    dragging_ = false;
    if (HasCapture()) ReleaseMouse();
    RefreshBar();
    return;
  }
  dragX_ = std::clamp(dragX_, 0, std::max(TrackLength(), 0));
  const int releasedAt = dragX_;
  dragging_ = false;
  if (HasCapture()) ReleaseMouse();
  SeekToOffset(releasedAt);
  RefreshBar();
}

void PositionBar::OnCaptureLost(wxMouseCaptureLostEvent& event) {
  event.Skip();
  const bool seek = dragging_ && Active();
  dragging_ = false;
  if (HasCapture()) ReleaseMouse();
  if (seek) {
    SeekToOffset(std::clamp(dragX_, 0, std::max(TrackLength(), 0)));
    RefreshBar();
  }
}

}  // namespace zentora
