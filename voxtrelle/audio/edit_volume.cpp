// SPDX-License-Identifier: GPL-3.0-or-later
// Change Volume and Maximize Volume.
#include <algorithm>
#include <cmath>
#include <limits>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/edit_pages.h"

namespace voxtrelle {
namespace {

// The hundredth is the single-precision 0.01 (0.0099999998), as the gain has always been.
constexpr float kHundredth = 0.01f;

// s <- clamp(percent * s * 0.01f), the product taken in double precision. Far wider than the
// float samples, it yields the same floats as an 80-bit product (checked over every 16-bit
// sample value), without the slow x87 arithmetic that would need.
int scale_channel(ChannelBuffer& channel, int32_t begin, int32_t end, int percent) {
  if (!edit_pages::resolve_range(channel.length(), begin, end)) return 0;
  const double whole = static_cast<double>(percent);
  const double hundredth = static_cast<double>(kHundredth);
  return edit_pages::for_each_run(channel, begin, end,
                                  [whole, hundredth](float* s, int32_t n, int32_t) {
                                    for (int32_t i = 0; i < n; ++i) {
                                      const double scaled = whole * s[i] * hundredth;
                                      s[i] = static_cast<float>(std::clamp(scaled, -1.0, 1.0));
                                    }
                                  });
}

// The largest |s| of a run. Eight independent maxima keep the loop free of one long chain of
// dependent comparisons, which makes it several times faster.
float run_peak(const float* s, int32_t n) {
  constexpr int kLanes = 8;
  float lanes[kLanes] = {};
  int32_t i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    for (int j = 0; j < kLanes; ++j) {
      const float a = std::fabs(s[i + j]);
      lanes[j] = a > lanes[j] ? a : lanes[j];
    }
  }
  float peak = 0.0f;
  for (float lane : lanes) peak = std::max(peak, lane);
  for (; i < n; ++i) peak = std::max(peak, std::fabs(s[i]));
  return peak;
}

// The largest |s| of the channel's range, or -1 when a page cannot be mapped.
float channel_peak(const ChannelBuffer& channel, int32_t begin, int32_t end) {
  float peak = 0.0f;
  const int mapped = edit_pages::for_each_run(
      channel, begin, end,
      [&peak](const float* s, int32_t n, int32_t) { peak = std::max(peak, run_peak(s, n)); });
  return mapped ? peak : -1.0f;
}

// truncate(100 / peak) from a single-precision division; 100 for silence.
int maximize_percent(float peak) {
  if (peak == 0.0f) return 100;
  const float quotient = 100.0f / peak;
  if (!(quotient < static_cast<float>(std::numeric_limits<int>::max()))) {
    return std::numeric_limits<int>::max();
  }
  return static_cast<int>(quotient);
}

int maximize_channel(ChannelBuffer& channel, int32_t begin, int32_t end) {
  if (!edit_pages::resolve_range(channel.length(), begin, end)) return 0;
  const float peak = channel_peak(channel, begin, end);
  if (peak < 0.0f) return 0;
  const int percent = maximize_percent(peak);
  if (percent == 100) return 1;
  return scale_channel(channel, begin, end, percent);
}

bool store_editable(const SampleStore& store) {
  return store.is_valid() && store.is_flat();
}

}  // namespace

int AudioClip::change_volume(int32_t begin, int32_t end, int percent) {
  if (!store_editable(store_)) return 0;
  if (percent == 100) return 1;
  for (int c = 0; c < store_.channels(); ++c) {
    if (!scale_channel(store_.channel(c), begin, end, percent)) return 0;
  }
  return 1;
}

int AudioClip::maximize(int32_t begin, int32_t end) {
  if (!store_editable(store_)) return 0;
  // Each channel gets its own gain, so a quiet channel is raised as far as it can go.
  for (int c = 0; c < store_.channels(); ++c) {
    if (!maximize_channel(store_.channel(c), begin, end)) return 0;
  }
  return 1;
}

}  // namespace voxtrelle
