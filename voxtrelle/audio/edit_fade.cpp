// SPDX-License-Identifier: GPL-3.0-or-later
// Fade In and Fade Out: linear ramps over the range.
#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/edit_pages.h"
#include "voxtrelle/audio/sample_kernels.h"

namespace voxtrelle {
namespace {

enum class Direction { kIn, kOut };

// The k-th sample of the range of N gets gain k / (N - 1) (in) or 1 - k / (N - 1) (out).
// A range of one sample has no ramp and is left alone.
int fade_channel(ChannelBuffer& channel, int32_t begin, int32_t end, Direction direction) {
  if (!edit_pages::resolve_range(channel.length(), begin, end)) return 0;
  const int64_t length = int64_t{end} - begin;
  if (length <= 1) return 1;
  if (direction == Direction::kIn) {
    return edit_pages::for_each_run(channel, begin, end, [length](float* s, int32_t n, int32_t at) {
      kernels::fade_in(s, n, at, length);
    });
  }
  return edit_pages::for_each_run(channel, begin, end, [length](float* s, int32_t n, int32_t at) {
    kernels::fade_out(s, n, at, length);
  });
}

int fade_store(SampleStore& store, int32_t begin, int32_t end, Direction direction) {
  if (!store.is_valid() || !store.is_flat()) return 0;
  for (int c = 0; c < store.channels(); ++c) {
    if (!fade_channel(store.channel(c), begin, end, direction)) return 0;
  }
  return 1;
}

}  // namespace

int AudioClip::fade_in(int32_t begin, int32_t end) {
  return fade_store(store_, begin, end, Direction::kIn);
}

int AudioClip::fade_out(int32_t begin, int32_t end) {
  return fade_store(store_, begin, end, Direction::kOut);
}

}  // namespace voxtrelle
