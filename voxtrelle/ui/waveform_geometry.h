// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/gdicmn.h>

#include <cstddef>
#include <cstdint>

// The pixel arithmetic of the waveform, the selection bar and the editing view's layout, kept
// apart from the windows so it can be checked on its own. x is a client coordinate of the
// waveform, width its client width, length the clip's frame count.
namespace voxtrelle::geometry {

// Pixels between the view's edge and the waveform on each side; the selection bar's marks are
// inset by the same amount.
inline constexpr int kWaveformInset = 7;
inline constexpr int kSelectionBarHeight = 9;
// How near (pixels) the pointer must be to grab a selection marker.
inline constexpr int kMarkerReach = 2;

// The marker x of frame (at the right edge of the frame's span), or -1 without a clip or for
// frame < 0.
int FrameToX(int32_t frame, int32_t length, int width);
// The frame under x, or -1 when x lies outside [0, width].
int32_t XToFrame(int x, int32_t length, int width);
// The index of the peak pair drawn in column x, or -1 when width <= 0.
int ColumnToPeak(int x, size_t pairs, int width);
// The play cursor's column for a position fraction.
int CursorX(double fraction, int width);

struct MarkerHit {
  bool start = false;
  bool end = false;
};
// Which selection marker x grabs: the nearer one when both are in reach, the start on a tie.
MarkerHit HitMarkers(int x, int start_x, int end_x, bool selection_valid);

struct ViewLayout {
  wxRect waveform;
  wxRect selection_bar;
  wxPoint panel;  // top-left of the edit panel, which keeps its size
};
// Places the waveform, the selection bar and the edit panel in a view of client size client.
ViewLayout LayOutView(const wxSize& client, const wxSize& panel);

// The selection bar's x for a waveform x: the bar is kWaveformInset wider on each side.
int MarkX(int x, int bar_width);

}  // namespace voxtrelle::geometry
