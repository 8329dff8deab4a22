// SPDX-License-Identifier: GPL-3.0-or-later
// Delete Selected and Delete Unselected: a new clip is built and moved over this one, so a
// failure leaves the clip exactly as it was.
#include <algorithm>

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
  AudioClip result;
  if (!result.create_silent(store_.is_stereo() != 0, kept,
                            static_cast<int32_t>(format_.nSamplesPerSec))) {
    return 0;
  }
  if (keep_outside) {
    if (begin > 0 && !result.store_.copy_range(0, store_, 0, begin)) return 0;
    if (end < n && !result.store_.copy_range(begin, store_, end, n)) return 0;
  } else if (!result.store_.copy_range(0, store_, begin, end)) {
    return 0;
  }
  return move_from(result);
}

}  // namespace voxtrelle
