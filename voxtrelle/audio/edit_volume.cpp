// SPDX-License-Identifier: GPL-3.0-or-later
// Change Volume and Maximize Volume.
#include <algorithm>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/edit_pages.h"
#include "voxtrelle/audio/sample_kernels.h"

namespace voxtrelle {
namespace {

int scale_channel(ChannelBuffer& channel, int32_t begin, int32_t end, int percent) {
  if (!edit_pages::resolve_range(channel.length(), begin, end)) return 0;
  return edit_pages::for_each_run(channel, begin, end, [percent](float* s, int32_t n, int32_t) {
    kernels::scale(s, n, percent);
  });
}

// The largest |s| of the channel's range, or -1 when a page cannot be mapped.
float channel_peak(const ChannelBuffer& channel, int32_t begin, int32_t end) {
  float peak = 0.0f;
  const int mapped = edit_pages::for_each_run(
      channel, begin, end,
      [&peak](const float* s, int32_t n, int32_t) { peak = std::max(peak, kernels::peak(s, n)); });
  return mapped ? peak : -1.0f;
}

int maximize_channel(ChannelBuffer& channel, int32_t begin, int32_t end) {
  if (!edit_pages::resolve_range(channel.length(), begin, end)) return 0;
  const float peak = channel_peak(channel, begin, end);
  if (peak < 0.0f) return 0;
  const int percent = kernels::maximize_percent(peak);
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
