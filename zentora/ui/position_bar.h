// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seek track under the time panel: played and remaining parts, the A and B markers and a
// thumb that can be dragged (playback goes on; the seek happens on release) or a track that
// seeks where it is clicked.
#include <wx/bitmap.h>
#include <wx/panel.h>

#include "zentora/ui/play_view.h"
#include "zentora/ui/window_drag.h"

namespace zentora {

class PositionBar : public wxPanel {
 public:
  static constexpr int kRefreshId = 1012;

  PositionBar(wxWindow* parent, PlayView& view);

  // The refresh command: redraws, with the thumb at the drag position while dragging.
  void RefreshBar();
  // Ends a thumb drag as if the capture were lost (the tick does this at the end of the file).
  void CancelDrag();

  // Draws the whole bar into the off-screen bitmap and returns it (row 0 is the bar's top).
  const wxBitmap& Render(bool withDrag);
  bool Dragging() const { return dragging_; }
  int DragX() const { return dragX_; }

 private:
  bool Active() const { return view_.IsLoaded() && !view_.IsStopped(); }
  int TrackLength() const;
  int PlayedOffset() const;
  void SeekToOffset(int offset);
  void LayoutLine();

  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnSetCursor(wxSetCursorEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);

  PlayView& view_;
  WindowDragger windowDrag_;
  wxWindow* topLine_;
  wxBitmap buffer_;
  wxBitmap markerA_, markerB_, thumb_;
  wxFont font_;
  bool dragging_ = false;
  int dragX_ = 0;       // thumb offset along the track while dragging, pixels
  int lastMouseX_ = 0;  // pixels, as adjusted to 16 bits
};

}  // namespace zentora
