// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/waveform_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace voxtrelle::geometry {

int FrameToX(int32_t frame, int32_t length, int width) {
  if (length <= 0 || frame < 0) return -1;
  const auto x = static_cast<int64_t>((static_cast<double>(frame) + 1.0) * width / length + 0.5);
  return static_cast<int>(std::clamp<int64_t>(x, 0, std::max(width, 0)));
}

int32_t XToFrame(int x, int32_t length, int width) {
  if (width < 0 || x < 0 || x > width) return -1;
  if (width == 0) return 0;
  return static_cast<int32_t>(static_cast<double>(length) * x / width + 0.5);
}

int ColumnToPeak(int x, size_t pairs, int width) {
  if (width <= 0) return -1;
  x = std::clamp(x, 0, width);
  return static_cast<int>(static_cast<int64_t>(x) * static_cast<int64_t>(pairs) / width);
}

int CursorX(double fraction, int width) {
  const auto x = static_cast<int>(fraction * width + 0.5);
  if (x < 0) return 0;
  return std::min(x, width - 1);
}

MarkerHit HitMarkers(int x, int start_x, int end_x, bool selection_valid) {
  MarkerHit hit;
  if (!selection_valid) return hit;
  const int ds = std::abs(x - start_x);
  const int de = std::abs(x - end_x);
  hit.start = ds <= kMarkerReach && (de > kMarkerReach || de >= ds);
  hit.end = de <= kMarkerReach && (ds > kMarkerReach || de < ds);
  return hit;
}

ViewLayout LayOutView(const wxSize& client, const wxSize& panel) {
  const wxRect r(1, 1, client.x - 2, client.y - 2);
  ViewLayout layout;
  layout.panel = wxPoint(std::max(0, (r.width - panel.x) / 2), r.GetBottom() + 1 - panel.y);
  int h = (layout.panel.y - kSelectionBarHeight) - r.y;
  if (h > 2 && h % 2 == 0) --h;
  h = std::max(h, 0);
  layout.waveform = wxRect(r.x + kWaveformInset, r.y, std::max(0, r.width - 2 * kWaveformInset), h);
  layout.selection_bar = wxRect(r.x, r.y + h, std::max(0, r.width), kSelectionBarHeight);
  return layout;
}

int MarkX(int x, int bar_width) {
  if (x < 0) return kWaveformInset;
  if (x > bar_width - 2 * kWaveformInset) return bar_width - kWaveformInset;
  return x + kWaveformInset;
}

}  // namespace voxtrelle::geometry
