// SPDX-License-Identifier: GPL-3.0-or-later
// Delete Selected and Delete Unselected. The cut happens inside the clip's own channel files:
// what follows it moves down and the files shrink. Every check runs before a sample moves, and
// the move rewrites blocks the files already own, so it cannot run out of disk space; only a
// failing device could stop it part-way. Copying the kept frames into a new clip instead would
// cost a second store's worth of disk and twice the copying, which on an hour-long file is
// the difference between a pause and a wait.
#include <algorithm>
#include <cstdint>

#include "voxtrelle/audio/audio_clip.h"

namespace voxtrelle {

int AudioClip::delete_range(int32_t begin, int32_t end, int keep_outside) {
  if (is_empty() || !has_audio() || !store_.is_flat()) return 0;
  const int32_t n = frames_;
  begin = std::clamp(begin, int32_t{0}, n);
  end = std::clamp(end, int32_t{0}, n);
  if (end - begin <= 0) return 0;

  const int32_t kept = keep_outside ? n - (end - begin) : end - begin;
  // The result is 16-bit PCM whatever this clip was; deleting everything fails here.
  const uint16_t channels = store_.is_stereo() ? 2 : 1;
  const uint32_t rate = format_.nSamplesPerSec;
  if (kept <= 0 || !pcm16_fits(channels, rate)) return 0;
  if (!store_.cut_frames(begin, end, keep_outside != 0)) return 0;
  set_pcm16(channels, rate, kept);
  return 1;
}

}  // namespace voxtrelle
