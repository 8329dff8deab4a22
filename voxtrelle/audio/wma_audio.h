// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/media_tags.h"
#include "voxtrelle/audio/progress.h"

namespace voxtrelle {

// The document's WMA-side holder: a clip and the tags of the file it came from. Loading and
// saving go through the installed media codec (media_codec.h); without one they fail cleanly.
// Operations return 1 on success and 0 on failure.
class WmaAudio {
 public:
  WmaAudio() = default;
  virtual ~WmaAudio() = default;
  WmaAudio(const WmaAudio&) = delete;
  WmaAudio& operator=(const WmaAudio&) = delete;

  virtual int is_empty() const { return clip_.is_empty(); }
  virtual int has_audio() const { return clip_.has_audio(); }
  virtual int is_mono() const { return clip_.is_mono(); }
  virtual int is_stereo() const { return clip_.is_stereo(); }
  virtual int is_editable() const { return clip_.is_editable(); }
  // Seconds.
  virtual double duration() const { return clip_.duration(); }
  // Silence of truncate(milliseconds * rate * 0.001) frames.
  virtual int create_silent_ms(bool stereo, int32_t milliseconds, int32_t rate);
  // Empties the clip and forgets the tags.
  virtual void clear();

  // Reads the tags (a failure there only leaves them empty), decodes path into a temporary
  // WAV file with 10 % of progress and reads that with the remaining 90 %. The temporary file
  // is always deleted. On failure the holder ends empty.
  virtual int load(const std::string& path, ProgressSink* progress);
  // Writes the clip to a temporary WAV file with 20 % of progress, encodes it with the
  // remaining 80 % into a new file beside path, writes the tags into it when there are any,
  // and only then puts it in place of path. A failed or cancelled save leaves nothing new
  // behind and an existing file at path untouched.
  virtual int save(const std::string& path, ProgressSink* progress);

  // The edits, forwarded to the clip.
  virtual int to_mono() { return clip_.to_mono(); }
  virtual int to_stereo() { return clip_.to_stereo(); }
  virtual int delete_range(int32_t begin, int32_t end, int keep_outside) {
    return clip_.delete_range(begin, end, keep_outside);
  }
  virtual int change_volume(int32_t begin, int32_t end, int percent) {
    return clip_.change_volume(begin, end, percent);
  }
  virtual int maximize(int32_t begin, int32_t end) { return clip_.maximize(begin, end); }
  virtual int fade_in(int32_t begin, int32_t end) { return clip_.fade_in(begin, end); }
  virtual int fade_out(int32_t begin, int32_t end) { return clip_.fade_out(begin, end); }

  AudioClip& clip() { return clip_; }
  const AudioClip& clip() const { return clip_; }
  MediaTags& tags() { return tags_; }
  const MediaTags& tags() const { return tags_; }

 private:
  AudioClip clip_;
  MediaTags tags_;
};

}  // namespace voxtrelle
