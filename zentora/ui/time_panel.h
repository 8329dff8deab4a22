// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The large white panel: position and duration on the left, the A and B times on the right,
// and a play image in the middle that starts playback when clicked.
#include <wx/bitmap.h>
#include <wx/panel.h>

#include <vector>

#include "zentora/ui/play_view.h"
#include "zentora/ui/window_drag.h"

namespace zentora {

class TimePanel : public wxPanel {
 public:
  static constexpr int kRefreshId = 1013;

  // `notLoadedText` is shown while no file is open.
  TimePanel(wxWindow* parent, PlayView& view, const wxString& notLoadedText);

  void RefreshPanel() { Refresh(false); }
  // Draws the panel into the off-screen bitmap and returns it.
  const wxBitmap& Render();
  // The 64 x 64 square around the centre that answers clicks while not playing.
  wxRect PlayImageArea() const;
  // The time texts of the last drawing, in drawing order.
  const std::vector<wxString>& DrawnTexts() const { return drawnTexts_; }

 private:
  bool PlayImageActive() const { return view_.IsLoaded() && !view_.IsPlaying(); }
  void OnPaint(wxPaintEvent& event);
  void OnSetCursor(wxSetCursorEvent& event);
  void OnLeftDown(wxMouseEvent& event);

  PlayView& view_;
  WindowDragger windowDrag_;
  wxString notLoadedText_;
  wxBitmap buffer_;
  wxBitmap playImage_, notLoadedImage_;  // loaded on first use
  wxFont font_;
  std::vector<wxString> drawnTexts_;
};

}  // namespace zentora
