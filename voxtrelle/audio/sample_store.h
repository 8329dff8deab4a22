// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "voxtrelle/audio/mapped_file.h"
#include "voxtrelle/audio/peak_summary.h"
#include "voxtrelle/audio/progress.h"
#include "voxtrelle/audio/wave_format.h"

namespace voxtrelle {

class ByteStream;

// Samples per page: 4 x the mapping granularity, 262,144 samples (1 MiB of floats).
inline constexpr uint32_t kPageSamples = 4 * kAllocationGranularity;
inline constexpr size_t kPageBytes = size_t{kPageSamples} * sizeof(float);
// Samples per run of the bulk loops that pass samples through ordinary memory (64 KiB of
// floats): a run stays in the processor's cache between the file copy and the arithmetic, which
// a whole page does not. Pages hold whole runs.
inline constexpr uint32_t kRunSamples = 16384;
static_assert(kPageSamples % kRunSamples == 0);

// One channel's 32-bit float samples in a private temporary file, reached one page at a time
// through a single mapped view. The file is deleted when the object is destroyed.
class SampleFile {
 public:
  SampleFile() = default;
  ~SampleFile();
  SampleFile(const SampleFile&) = delete;
  SampleFile& operator=(const SampleFile&) = delete;

  // Samples per page (kPageSamples).
  static uint32_t page_size() { return kPageSamples; }

  // A new file of n silent samples; only while no file is held. On failure nothing is left.
  int create(int32_t n);
  // Takes over the existing sample file at path, which must hold exactly n samples, belong to
  // this user and be locked by nobody; it is locked and owned from now on.
  int adopt(const std::string& path, int32_t n);
  // Unmaps, closes and deletes the file.
  void destroy();
  // A new file holding a copy of other's samples, copied page by page.
  int copy_from(const SampleFile& other);

  int is_valid() const;
  int32_t count() const { return count_; }  // samples
  int32_t pages() const;
  // Samples in page i, 0 outside 0 .. pages() - 1.
  int32_t samples_in_page(int32_t i) const;
  // Maps page i (dropping any other view) and returns its samples: at most max_bytes bytes of
  // it, the whole page when max_bytes is 0. nullptr when i is out of range or mapping fails.
  float* page(int32_t i, size_t max_bytes = 0);
  const float* page(int32_t i, size_t max_bytes = 0) const;
  // Copies n samples to [position, position + n); the run may cross one page boundary at most
  // (n <= page_size()). Returns 1/0.
  int write_run(int32_t position, const float* samples, int32_t n);
  // Bulk copies of samples [position, position + n) to or from ordinary memory, through the
  // file rather than the view: much cheaper than mapping for loops over a whole channel. The
  // view, if any, stays coherent with them.
  int read_samples(int32_t position, float* samples, int32_t n) const;
  int write_samples(int32_t position, const float* samples, int32_t n);
  // Copies samples [begin, end) of source to [begin + shift, end + shift) of this file through
  // ordinary memory, run by run; both ranges must lie inside their files. Source may be this
  // file when shift <= 0.
  int copy_samples(const SampleFile& source, int32_t begin, int32_t end, int32_t shift);
  // Moves samples [from, from + n) down to position to (to <= from), front to back, so the
  // two ranges may overlap. Only rewrites the file's own blocks: it needs no disk space.
  int move_down(int32_t to, int32_t from, int32_t n);
  // Cuts the file to its first n samples, 0 < n <= count(); the tail's blocks are freed.
  int shrink(int32_t n);
  const std::string& path() const { return file_.path(); }
  // The extremes of every block of samples, kept by the writes above; stale blocks are
  // measured from the file first. nullptr when they cannot be read.
  const PeakSummary* summary() const;
  // Blocks the summary must measure again before its next use, and the memory it takes.
  int32_t stale_summary_blocks() const { return summary_.stale_blocks(); }
  size_t summary_bytes() const { return summary_.memory_bytes(); }

 private:
  float* map_page(int32_t i, size_t max_bytes, MappedFile::Prefault prefault) const;

  int32_t count_ = 0;        // samples
  mutable MappedFile file_;  // the one view moves as pages are visited
  mutable PeakSummary summary_;
};

// One channel of a store: a length, a lead offset (always 0 here) and the sample file.
class ChannelBuffer {
 public:
  ChannelBuffer() = default;
  ChannelBuffer(ChannelBuffer&&) noexcept = default;
  ChannelBuffer& operator=(ChannelBuffer&&) noexcept = default;

  int create(int32_t n);
  // Takes over an existing sample file of n samples (SampleFile::adopt).
  int adopt(const std::string& path, int32_t n);
  void destroy();
  // A new independent copy of other (new file); on failure this channel ends empty.
  int copy_from(const ChannelBuffer& other);

  int is_empty() const;
  int is_valid() const;
  int is_flat() const;
  int32_t length() const { return length_; }            // samples
  int32_t lead_offset() const { return lead_offset_; }  // samples
  SampleFile* file() { return file_.get(); }
  const SampleFile* file() const { return file_.get(); }

  int32_t pages() const { return file_ ? file_->pages() : 0; }
  int32_t samples_in_page(int32_t i) const { return file_ ? file_->samples_in_page(i) : 0; }
  float* page(int32_t i, size_t max_bytes = 0) {
    return file_ ? file_->page(i, max_bytes) : nullptr;
  }
  const float* page(int32_t i, size_t max_bytes = 0) const {
    return file_ ? static_cast<const SampleFile&>(*file_).page(i, max_bytes) : nullptr;
  }
  int write_run(int32_t position, const float* samples, int32_t n) {
    return file_ ? file_->write_run(position, samples, n) : 0;
  }
  int read_samples(int32_t position, float* samples, int32_t n) const {
    return file_ ? file_->read_samples(position, samples, n) : 0;
  }
  int write_samples(int32_t position, const float* samples, int32_t n) {
    return file_ ? file_->write_samples(position, samples, n) : 0;
  }
  int move_down(int32_t to, int32_t from, int32_t n) {
    return file_ ? file_->move_down(to, from, n) : 0;
  }
  // Cuts the channel to its first n samples.
  int shrink(int32_t n);

 private:
  int32_t length_ = 0;       // samples
  int32_t lead_offset_ = 0;  // samples of implied silence before the file
  std::unique_ptr<SampleFile> file_;
};

struct PeakPair {
  float max = 0.0f;  // 0 .. 1
  float min = 0.0f;  // -1 .. 0
};

// (max, min) pairs of one channel, one per pixel column of the waveform.
class PeakList {
 public:
  void clear() { pairs_.clear(); }
  // Clamps max into [0, 1] and min into [-1, 0].
  void append(float max, float min);
  size_t size() const { return pairs_.size(); }
  const PeakPair& operator[](size_t i) const { return pairs_[i]; }
  const std::vector<PeakPair>& pairs() const { return pairs_; }
  void reserve(size_t n) { pairs_.reserve(n); }

 private:
  std::vector<PeakPair> pairs_;
};

// The waveform's two lists: first for channel 0, second for channel 1.
struct PeakLists {
  PeakList first;
  PeakList second;
};

// Planar float samples of a clip, one temporary file per channel. Operations return 1 on
// success and 0 on failure. Used by one thread at a time.
class SampleStore {
 public:
  SampleStore() = default;
  ~SampleStore() = default;
  SampleStore(const SampleStore&) = delete;
  SampleStore& operator=(const SampleStore&) = delete;

  // Only on an empty store; channels 1 or 2, frames and rate non-zero. All samples 0.0.
  int create(uint16_t channels, int32_t frames, int32_t rate);
  // Only on an empty store: takes over existing sample files (one per channel) of `frames`
  // samples each, as left by a process that ended without cleaning up. On failure the store
  // stays empty; files it had already taken over are deleted.
  int adopt(const std::vector<std::string>& paths, int32_t frames, int32_t rate);
  // Deletes the channel files and zeroes every field.
  void clear();
  // Clears this store if needed, then exchanges everything with other (which ends empty).
  void swap(SampleStore& other);
  // An independent copy (new files) of a valid source; an empty source empties this store.
  // Checks progress for cancellation before each channel; completes or fails it.
  int copy_from(const SampleStore& source, ProgressSink* progress);
  // Copies frames [src_begin, src_end) of every channel of source to dest_pos of this store;
  // the range is clamped to the source and shortened to fit the destination.
  int copy_range(int32_t dest_pos, const SampleStore& source, int32_t src_begin, int32_t src_end);
  // Removes frames [begin, end) from every channel, or with keep_outside false everything but
  // them, inside the same files: what follows the cut moves down and the files shrink, so no
  // disk space is needed. The range must lie inside a flat store and leave at least one frame;
  // anything else fails before a sample is touched.
  int cut_frames(int32_t begin, int32_t end, bool keep_outside);
  // Stereo -> mono as channel0 + channel1, rescaled by 1/peak only when a sum leaves [-1, 1].
  int mix_to_mono();
  // Mono -> stereo with channel 1 a copy of channel 0.
  int duplicate_to_stereo();

  // Reads interleaved 8- or 16-bit PCM frames from stream into a store created here (this
  // store must be empty); frames the stream does not hold stay silent.
  int read_pcm(ByteStream& stream, const WaveFormat& format, int32_t frames,
               ProgressSink* progress);
  // Writes every frame as interleaved 8- or 16-bit PCM of the format's width.
  int write_pcm(ByteStream& stream, const WaveFormat& format, ProgressSink* progress) const;

  // Fills buffer (a non-zero multiple of channels() values) with interleaved 16-bit frames from
  // start_frame on. Returns the number of values written, 0 on failure.
  int32_t fill_playback(std::span<int16_t> buffer, int32_t start_frame) const;
  // Per-column (max, min) pairs for the waveform; succeeds when lists.first holds `columns`.
  int peaks(PeakLists& lists, int32_t columns) const;
  // Seconds.
  double duration() const;

  int is_empty() const;
  int is_valid() const;
  int is_mono() const;
  int is_stereo() const;
  int is_flat() const;

  uint16_t channels() const { return channels_; }
  int32_t frames() const { return frames_; }
  int32_t rate() const { return rate_; }
  ChannelBuffer& channel(int index) { return index == 0 ? channel0_ : channel1_; }
  const ChannelBuffer& channel(int index) const { return index == 0 ? channel0_ : channel1_; }

 private:
  uint16_t channels_ = 0;
  int32_t frames_ = 0;  // samples per channel
  int32_t rate_ = 0;    // Hz
  ChannelBuffer channel0_;
  ChannelBuffer channel1_;
};

// PCM <-> float conversions with the editor's rounding: in, f = (u - 128) / 128 for 8-bit and
// s / 32768 for 16-bit; out, truncate toward zero after adding 0.5, then clamp. The scaling is
// exact in single precision; the half is added in double precision, so negative values move one
// step toward zero (-100.3 -> -99). Written branch-free so whole pages convert as vector code.
inline int16_t float_to_pcm16(float f) {
  double v = static_cast<double>(f * 32768.0f) + 0.5;
  v = v > -32768.0 ? v : -32768.0;  // also maps NaN to the lower bound
  v = v < 32767.0 ? v : 32767.0;
  return static_cast<int16_t>(static_cast<int32_t>(v));
}
inline uint8_t float_to_pcm8(float f) {
  double v = static_cast<double>((f + 1.0f) * 128.0f) + 0.5;
  v = v > 0.0 ? v : 0.0;
  v = v < 255.0 ? v : 255.0;
  return static_cast<uint8_t>(static_cast<int32_t>(v));
}
inline float pcm8_to_float(uint8_t u) {
  return (static_cast<float>(u) - 128.0f) / 128.0f;
}
inline float pcm16_to_float(int16_t s) {
  return static_cast<float>(s) / 32768.0f;
}

}  // namespace voxtrelle
