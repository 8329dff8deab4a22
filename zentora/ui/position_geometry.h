// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pixel geometry of the position bar: the track runs from x = 15 to x = W - 70 and holds
// L = W - 85 pixel steps; times map onto it proportionally to the file's duration.
#include <cstdint>

namespace zentora::position_geometry {

constexpr int kTrackLeft = 15;
constexpr int kTrackTop = 14;
constexpr int kTrackBottom = 18;

inline int TrackLength(int width) {
  return width - 85;
}
inline int TrackRight(int width) {
  return width - 70;
}

// Pixel offset of `ms` along a track of `length` steps; a file without duration shows no progress.
int OffsetOfTime(int32_t ms, int32_t durationMs, int length);
// Time at pixel offset `offset`.
int32_t TimeOfOffset(int offset, int32_t durationMs, int length);

// The thumb at offset `pos` is hit at (x, y) (its 13 x 10 box widened by 2 on every side).
bool InThumb(int pos, int x, int y);
// The track of a bar `width` wide is hit at (x, y) (widened by 6 sideways and 2 up and down).
bool InTrack(int width, int x, int y);

// Offset a click at mouse x seeks to: x - 15, not below 0 and not beyond the track's length.
int ClickOffset(int mouseX, int length);

// The mouse x as a signed 16-bit coordinate: 32763 and above stand for points left of the bar.
int Mouse16(int x);

}  // namespace zentora::position_geometry
