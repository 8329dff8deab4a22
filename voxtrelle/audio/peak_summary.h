// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace voxtrelle {

// The largest and smallest sample of every block of kBlockSamples samples of one channel (the
// last block may be shorter), kept up to date by the writes to the channel, so the waveform can
// take whole blocks from here instead of reading every sample. Writes that cover a block only
// in part leave it stale; stale blocks are measured again from the samples before use. About
// 9 bytes per 1,024 samples: 2.7 MiB for an hour of 44.1 kHz stereo.
class PeakSummary {
 public:
  static constexpr int32_t kBlockSamples = 1024;

  struct Extremes {
    float high = 0.0f;  // the largest sample, at least 0
    float low = 0.0f;   // the smallest sample, at most 0
  };

  // A channel of `samples` silent samples.
  void reset(int32_t samples);
  void clear() { reset(0); }
  // The channel now holds only its first `samples` samples.
  void shrink(int32_t samples);
  // samples[0 .. n) were written at position: the blocks they cover whole are measured from
  // them, the others go stale.
  void written(int32_t position, const float* samples, int32_t n);
  // Samples [position, position + n) changed in ways not seen here.
  void invalidate(int32_t position, int32_t n);

  int32_t blocks() const { return static_cast<int32_t>(extremes_.size()); }
  int32_t stale_blocks() const { return stale_count_; }
  bool is_stale(int32_t block) const { return stale_[static_cast<size_t>(block)] != 0; }
  const Extremes& block(int32_t index) const { return extremes_[static_cast<size_t>(index)]; }
  // Measures a stale block from its samples.
  void refresh(int32_t index, const float* samples, int32_t n);
  // Samples in block index.
  int32_t block_samples(int32_t index) const;
  size_t memory_bytes() const;

 private:
  void mark_stale(int32_t first_block, int32_t last_block);

  int32_t samples_ = 0;
  std::vector<Extremes> extremes_;
  std::vector<uint8_t> stale_;
  int32_t stale_count_ = 0;
};

}  // namespace voxtrelle
