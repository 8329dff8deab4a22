// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "voxtrelle/audio/progress.h"
#include "voxtrelle/audio/sample_store.h"
#include "voxtrelle/audio/wave_format.h"

namespace voxtrelle {

// A piece of audio: the format of the file it came from or will be written as, its frame and
// byte counts, and its float samples in a SampleStore. Operations return 1 on success and 0 on
// failure. A clip is used by one thread at a time.
class AudioClip {
 public:
  AudioClip() = default;
  virtual ~AudioClip();
  AudioClip(const AudioClip&) = delete;
  AudioClip& operator=(const AudioClip&) = delete;

  // Clears the clip, then takes a 16-byte PCM header with cbSize 0.
  virtual void set_format(const PcmHeader& header);
  // Frees the extra bytes and zeroes format, extra, frames and bytes.
  virtual void clear_format();

  // Format checks: see the comments in audio_clip.cpp.
  int is_format_valid() const;
  int is_header_consistent() const;
  // Header consistent and the store valid: a file is open.
  int has_audio() const;
  int is_empty() const;
  int is_editable() const;

  // 16-bit PCM silence of `frames` frames; only on an empty clip, frames and rate non-zero.
  int create_silent(bool stereo, int32_t frames, int32_t rate);
  // clear_format() and delete the store's files.
  void clear();
  // This clip becomes an independent copy (new files) of source; an empty source empties it.
  int copy_from(const AudioClip& source);
  // The same seen from the source, checking and completing/failing progress.
  int copy_to(AudioClip& target, ProgressSink* progress) const;
  // Clears this clip and takes other's format, counts and store; other ends empty.
  int move_from(AudioClip& other);

  int is_stereo() const { return store_.is_stereo(); }
  int is_mono() const { return store_.is_mono(); }
  // Seconds.
  double duration() const;

  // WAV files (wav_file.cpp). A failed load leaves the clip empty; a failed save leaves the
  // clip untouched and any file already at path unchanged.
  int load_wav(const std::string& path, ProgressSink* progress);
  int save_wav(const std::string& path, ProgressSink* progress) const;

  // Waveform peaks; fails when the clip is empty or columns <= 0.
  int peaks(PeakLists& lists, int32_t columns) const;
  // Interleaved 16-bit frames for playback; returns the number of values written.
  int32_t fill_playback(std::span<int16_t> buffer, int32_t start_frame) const {
    return store_.fill_playback(buffer, start_frame);
  }

  // The eight edits (edit_*.cpp). Ranges are half-open frame ranges; (-1, -1) is the whole
  // clip. No progress, no cancellation.
  int delete_range(int32_t begin, int32_t end, int keep_outside);
  int change_volume(int32_t begin, int32_t end, int percent);
  int maximize(int32_t begin, int32_t end);
  int fade_in(int32_t begin, int32_t end);
  int fade_out(int32_t begin, int32_t end);
  int to_mono();
  int to_stereo();

  const WaveFormat& format() const { return format_; }
  const uint8_t* extra() const { return extra_.get(); }
  int32_t frames() const { return frames_; }  // sample frames
  int64_t bytes() const { return bytes_; }    // PCM data bytes on the file side
  const SampleStore& store() const { return store_; }
  SampleStore& store() { return store_; }

  // For readers that fill a clip: frames and bytes of the data chunk.
  void set_counts(int32_t frames, int64_t bytes) {
    frames_ = frames;
    bytes_ = bytes;
  }

 private:
  // Whether a 16-bit PCM format of channels at rate fits the format's fields.
  static bool pcm16_fits(uint16_t channels, uint32_t rate);
  // The format becomes 16-bit PCM of channels at rate, without extra bytes, holding frames.
  void set_pcm16(uint16_t channels, uint32_t rate, int32_t frames);

  WaveFormat format_;
  std::unique_ptr<uint8_t[]> extra_;  // cbSize bytes, or null
  int32_t frames_ = 0;
  int64_t bytes_ = 0;  // up to 4 GiB of data: wider than the frame count
  SampleStore store_;
};

}  // namespace voxtrelle
