// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/position_geometry.h"

#include <algorithm>

namespace zentora::position_geometry {
namespace {

// Inclusive rectangle test after widening by (dx, dy).
bool InWidened(int left, int top, int right, int bottom, int dx, int dy, int x, int y) {
  left -= dx;
  right += dx;
  top -= dy;
  bottom += dy;
  return left <= x && x < right + 1 && top <= y && y < bottom + 1;
}

}  // namespace

int OffsetOfTime(int32_t ms, int32_t durationMs, int length) {
  if (durationMs <= 0) return 0;
  return static_cast<int>(static_cast<double>(ms) / durationMs * length);
}

int32_t TimeOfOffset(int offset, int32_t durationMs, int length) {
  if (length <= 0) return 0;
  return static_cast<int32_t>(durationMs * (static_cast<double>(offset) / length));
}

bool InThumb(int pos, int x, int y) {
  return InWidened(pos + 9, 22, pos + 21, 31, 2, 2, x, y);
}

bool InTrack(int width, int x, int y) {
  return InWidened(kTrackLeft, kTrackTop, TrackRight(width), kTrackBottom, 6, 2, x, y);
}

int ClickOffset(int mouseX, int length) {
  const int p = mouseX < kTrackLeft ? 0 : mouseX - kTrackLeft;
  return std::min(p, std::max(length, 0));
}

int Mouse16(int x) {
  const int low = x & 0xFFFF;
  return low >= 32763 ? low - 65536 : low;
}

}  // namespace zentora::position_geometry
