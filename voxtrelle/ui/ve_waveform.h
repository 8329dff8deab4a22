// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/bitmap.h>
#include <wx/cursor.h>
#include <wx/window.h>

#include "voxtrelle/audio/sample_store.h"
#include "voxtrelle/ui/edit_context.h"

namespace voxtrelle {

// The waveform of the whole clip across the window: per pixel column the peaks of each channel
// (channel 0 above channel 1), the selection inverted, the play cursor as a one-pixel cyan
// column. Peaks are computed once per width and rendered once into a cached picture; a paint
// only copies that picture, inverts the selection and draws the cursor. A press seeks, a drag
// selects, a press near a selection marker drags that marker.
class VeWaveform : public wxWindow {
 public:
  static const wxColour kBackground;
  static const wxColour kPeak;
  static const wxColour kSeparator;
  static const wxColour kCursor;

  VeWaveform(wxWindow* parent, const EditContext& context);

  // Forgets the peaks and the picture; both are made again at the next paint.
  void DropPeaks();
  // Makes the peaks (when missing) and the cached picture; false when there is nothing to draw.
  bool EnsureCache();
  // Draws what a paint shows into dc, whose origin is the window's client origin.
  void Render(wxDC& dc);

  int FrameToX(int32_t frame) const;
  int32_t XToFrame(int x) const;
  int StartX() const;
  int EndX() const;

  const PeakLists& peaks() const { return peaks_; }
  bool has_cache() const { return cache_.IsOk(); }

 private:
  int32_t Length() const;
  bool DocumentReady() const;
  void RenderCache();
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnIdle(wxIdleEvent& event);
  void OnSetCursor(wxSetCursorEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void SeekTo(int x);

  EditContext context_;
  PeakLists peaks_;
  wxBitmap cache_;     // the peak picture at the client size it was made for
  wxBitmap inverted_;  // the same picture inverted, for the selected span
  int anchor_x_ = 0;
  bool drag_start_ = false;
  bool drag_end_ = false;
  wxCursor marker_cursor_;
};

}  // namespace voxtrelle
