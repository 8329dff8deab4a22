// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/ve_waveform.h"

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/settings.h>

#include <algorithm>

#include "voxtrelle/audio/audio_document.h"
#include "voxtrelle/imaging/picture.h"
#include "voxtrelle/playback/wave_player.h"
#include "voxtrelle/ui/ui_pictures.h"
#include "voxtrelle/ui/ve_view.h"
#include "voxtrelle/ui/waveform_geometry.h"

namespace voxtrelle {

const wxColour VeWaveform::kBackground(180, 180, 180);
const wxColour VeWaveform::kPeak(0, 52, 113);
const wxColour VeWaveform::kSeparator(66, 66, 66);
const wxColour VeWaveform::kCursor(0, 255, 255);

namespace {

wxCursor MarkerCursor() {
  wxImage image = LoadPicture(UiPictures(), "marker_cursor");
  if (!image.IsOk()) return wxCursor(wxCURSOR_SIZEWE);
  image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, 15);
  image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, 15);
  return wxCursor(image);
}

void FillRows(wxImage& image, int top, int bottom, const wxColour& colour) {
  const int width = image.GetWidth();
  top = std::max(top, 0);
  bottom = std::min(bottom, image.GetHeight());
  unsigned char* data = image.GetData();
  for (int y = top; y < bottom; ++y) {
    unsigned char* p = data + static_cast<size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x, p += 3) {
      p[0] = colour.Red();
      p[1] = colour.Green();
      p[2] = colour.Blue();
    }
  }
}

// One channel's peaks into the rows [top, bottom): a vertical line per column from the
// column's maximum down to its minimum, at least the middle row's pixel.
void DrawChannel(wxImage& image, int top, int bottom, const PeakList& list, size_t pairs,
                 bool any_peaks) {
  FillRows(image, top, bottom, VeWaveform::kBackground);
  if (!any_peaks) return;
  const int width = image.GetWidth();
  const int half = (bottom - top) / 2;
  const int mid = top + half;
  unsigned char* data = image.GetData();
  for (int x = 0; x < width; ++x) {
    const int i = geometry::ColumnToPeak(x, pairs, width);
    float max = 0.0f;
    float min = 0.0f;
    if (i >= 0 && static_cast<size_t>(i) < list.size()) {
      max = list[i].max;
      min = list[i].min;
    }
    const int y1 = std::max(top, mid - static_cast<int>(max * half));
    int y2 = mid - static_cast<int>(min * half);
    if (y2 < mid + 1) y2 = mid + 1;
    y2 = std::min(y2, bottom);
    for (int y = y1; y < y2; ++y) {
      unsigned char* p = data + (static_cast<size_t>(y) * width + x) * 3;
      p[0] = VeWaveform::kPeak.Red();
      p[1] = VeWaveform::kPeak.Green();
      p[2] = VeWaveform::kPeak.Blue();
    }
  }
}

}  // namespace

VeWaveform::VeWaveform(wxWindow* parent, const EditContext& context)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE),
      context_(context),
      marker_cursor_(MarkerCursor()) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &VeWaveform::OnPaint, this);
  Bind(wxEVT_SIZE, &VeWaveform::OnSize, this);
  Bind(wxEVT_IDLE, &VeWaveform::OnIdle, this);
  Bind(wxEVT_SET_CURSOR, &VeWaveform::OnSetCursor, this);
  Bind(wxEVT_LEFT_DOWN, &VeWaveform::OnLeftDown, this);
  Bind(wxEVT_LEFT_DCLICK, &VeWaveform::OnLeftDown, this);
  Bind(wxEVT_MOTION, &VeWaveform::OnMotion, this);
  Bind(wxEVT_LEFT_UP, &VeWaveform::OnLeftUp, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &VeWaveform::OnCaptureLost, this);
}

bool VeWaveform::DocumentReady() const {
  if (context_.document == nullptr || context_.player == nullptr) return false;
  if (context_.document_busy && context_.document_busy()) return false;
  return !context_.document->is_empty();
}

int32_t VeWaveform::Length() const {
  return context_.player->Length();
}

int VeWaveform::FrameToX(int32_t frame) const {
  return geometry::FrameToX(frame, Length(), GetClientSize().x);
}

int32_t VeWaveform::XToFrame(int x) const {
  return geometry::XToFrame(x, Length(), GetClientSize().x);
}

int VeWaveform::StartX() const {
  return FrameToX(context_.player->selection_start());
}
int VeWaveform::EndX() const {
  return FrameToX(context_.player->selection_end());
}

void VeWaveform::DropPeaks() {
  peaks_.first.clear();
  peaks_.second.clear();
  cache_ = wxNullBitmap;
  inverted_ = wxNullBitmap;
}

bool VeWaveform::EnsureCache() {
  const wxSize size = GetClientSize();
  if (peaks_.first.size() == 0 && peaks_.second.size() == 0) {
    if (!DocumentReady() || !context_.peaks) return false;
    context_.peaks(peaks_, size.x);
    if (peaks_.first.size() == 0 && peaks_.second.size() == 0) return false;
  }
  if (size.x <= 0 || size.y <= 0) return false;
  if (cache_.IsOk()) return true;
  RenderCache();
  return cache_.IsOk();
}

void VeWaveform::RenderCache() {
  const wxSize size = GetClientSize();
  wxImage image(size.x, size.y, false);
  if (!image.IsOk()) return;
  const size_t pairs = peaks_.first.size();
  const bool any_peaks = pairs != 0 || peaks_.second.size() != 0;
  if (peaks_.second.size() == 0) {
    DrawChannel(image, 0, size.y, peaks_.first, pairs, any_peaks);
  } else {
    const int mid = size.y / 2;
    DrawChannel(image, 0, mid, peaks_.first, pairs, any_peaks);
    FillRows(image, mid, mid + 1, kSeparator);
    DrawChannel(image, mid + 1, size.y, peaks_.second, pairs, any_peaks);
  }
  cache_ = wxBitmap(image);
  // The selected span shows the picture inverted; made once with it.
  unsigned char* data = image.GetData();
  const size_t bytes = static_cast<size_t>(size.x) * size.y * 3;
  for (size_t i = 0; i < bytes; ++i) data[i] = static_cast<unsigned char>(255 - data[i]);
  inverted_ = wxBitmap(image);
}

void VeWaveform::Render(wxDC& dc) {
  const wxSize size = GetClientSize();
  if (size.x <= 0 || size.y <= 0) return;
  if (!DocumentReady()) {
    // While a job holds the document the last picture stays; without a file, the window colour.
    if (context_.document_busy && context_.document_busy() && cache_.IsOk()) {
      dc.DrawBitmap(cache_, 0, 0);
      return;
    }
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
    dc.DrawRectangle(0, 0, size.x, size.y);
    return;
  }
  if (!EnsureCache()) return;
  dc.DrawBitmap(cache_, 0, 0);
  WavePlayer& player = *context_.player;
  if (player.HasValidSelection()) {
    const int s = StartX();
    const int e = EndX();
    if (e > s) {
      wxMemoryDC source(inverted_);
      dc.Blit(s, 0, e - s, size.y, &source, s, 0);
    }
  }
  const int x = geometry::CursorX(player.PositionFraction(), size.x);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(kCursor));
  dc.DrawRectangle(x, 0, 1, size.y);
}

void VeWaveform::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  Render(dc);
}

void VeWaveform::OnSize(wxSizeEvent& event) {
  // The peaks stay (mapped proportionally) until the idle pass recomputes them for the width.
  cache_ = wxNullBitmap;
  inverted_ = wxNullBitmap;
  Refresh(false);
  event.Skip();
}

void VeWaveform::OnIdle(wxIdleEvent& event) {
  event.Skip();
  const int width = GetClientSize().x;
  if (!IsShownOnScreen() || width <= 0 || !DocumentReady() || !context_.peaks) return;
  if (peaks_.first.size() == static_cast<size_t>(width)) return;
  context_.peaks(peaks_, width);
  cache_ = wxNullBitmap;
  inverted_ = wxNullBitmap;
  Refresh(false);
  Update();
}

void VeWaveform::OnSetCursor(wxSetCursorEvent& event) {
  if (!HasCapture() && DocumentReady()) {
    const geometry::MarkerHit hit =
        geometry::HitMarkers(event.GetX(), StartX(), EndX(), context_.player->HasValidSelection());
    if (hit.start || hit.end) {
      event.SetCursor(marker_cursor_);
      return;
    }
  }
  event.Skip();
}

void VeWaveform::SeekTo(int x) {
  const int width = GetClientSize().x;
  if (width <= 0) return;
  x = std::clamp(x, 0, width);
  context_.player->SeekToFraction(static_cast<double>(x) / width);
}

void VeWaveform::OnLeftDown(wxMouseEvent& event) {
  if (!DocumentReady()) return;
  if (!HasCapture()) CaptureMouse();
  drag_start_ = drag_end_ = false;
  anchor_x_ = event.GetX();
  const geometry::MarkerHit hit =
      geometry::HitMarkers(anchor_x_, StartX(), EndX(), context_.player->HasValidSelection());
  drag_start_ = hit.start;
  drag_end_ = hit.end;
  if (!drag_start_ && !drag_end_) {
    SeekTo(anchor_x_);
    Refresh(false);
    Update();
  }
}

void VeWaveform::OnMotion(wxMouseEvent& event) {
  if (!HasCapture() || !DocumentReady()) return;
  WavePlayer& player = *context_.player;
  const int width = GetClientSize().x;
  const auto frame_at = [&](int x) { return XToFrame(std::clamp(x, 0, std::max(width, 0))); };
  const int s = StartX();
  const int e = EndX();
  const int x = event.GetX();
  if (drag_start_) {
    if (x > e) {
      drag_start_ = false;
      drag_end_ = true;
      player.SetSelectionStart(frame_at(e));
      player.SetSelectionEnd(frame_at(x));
    } else {
      player.SetSelectionStart(frame_at(x));
    }
  } else if (drag_end_) {
    if (x > s) {
      player.SetSelectionEnd(frame_at(x));
    } else {
      drag_start_ = true;
      drag_end_ = false;
      player.SetSelectionStart(frame_at(x));
      player.SetSelectionEnd(frame_at(s));
    }
  } else {
    SeekTo(x);
    player.SetSelection(frame_at(std::min(anchor_x_, x)), frame_at(std::max(anchor_x_, x)));
  }
  if (auto* view = dynamic_cast<VeView*>(GetParent())) view->RefreshView(false);
  if (context_.times_changed) context_.times_changed();
}

void VeWaveform::OnLeftUp(wxMouseEvent&) {
  if (HasCapture()) ReleaseMouse();
}

void VeWaveform::OnCaptureLost(wxMouseCaptureLostEvent&) {
  drag_start_ = drag_end_ = false;
}

}  // namespace voxtrelle
