// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/peak_summary.h"

#include <algorithm>

#include "voxtrelle/audio/sample_kernels.h"

namespace voxtrelle {
namespace {

constexpr int32_t kBlock = PeakSummary::kBlockSamples;

int32_t block_count(int32_t samples) {
  return samples <= 0 ? 0 : static_cast<int32_t>((int64_t{samples} + kBlock - 1) / kBlock);
}

}  // namespace

void PeakSummary::reset(int32_t samples) {
  samples_ = std::max(samples, int32_t{0});
  const auto n = static_cast<size_t>(block_count(samples_));
  extremes_.assign(n, Extremes{});
  stale_.assign(n, 0);
  extremes_.shrink_to_fit();
  stale_.shrink_to_fit();
  stale_count_ = 0;
}

void PeakSummary::shrink(int32_t samples) {
  if (samples >= samples_) return;
  const int32_t n = block_count(samples);
  for (int32_t b = n; b < blocks(); ++b) stale_count_ -= stale_[static_cast<size_t>(b)];
  extremes_.resize(static_cast<size_t>(n));
  stale_.resize(static_cast<size_t>(n));
  samples_ = samples;
  // The last block lost samples that may have been its extremes.
  if (samples % kBlock != 0) mark_stale(n - 1, n - 1);
}

int32_t PeakSummary::block_samples(int32_t index) const {
  return std::min(kBlock, samples_ - index * kBlock);
}

void PeakSummary::mark_stale(int32_t first_block, int32_t last_block) {
  for (int32_t b = std::max(first_block, int32_t{0}); b <= last_block && b < blocks(); ++b) {
    uint8_t& flag = stale_[static_cast<size_t>(b)];
    stale_count_ += 1 - flag;
    flag = 1;
  }
}

void PeakSummary::invalidate(int32_t position, int32_t n) {
  if (n <= 0) return;
  mark_stale(position / kBlock, static_cast<int32_t>((int64_t{position} + n - 1) / kBlock));
}

void PeakSummary::written(int32_t position, const float* samples, int32_t n) {
  if (n <= 0 || position < 0 || int64_t{position} + n > samples_) return;
  const int64_t end = int64_t{position} + n;
  const int32_t first = position / kBlock;
  const auto last = static_cast<int32_t>((end - 1) / kBlock);
  for (int32_t b = first; b <= last; ++b) {
    const int64_t start = int64_t{b} * kBlock;
    const int32_t length = block_samples(b);
    if (start < position || start + length > end) {
      mark_stale(b, b);
      continue;
    }
    refresh(b, samples + (start - position), length);
  }
}

void PeakSummary::refresh(int32_t index, const float* samples, int32_t n) {
  Extremes& e = extremes_[static_cast<size_t>(index)];
  kernels::extremes(samples, n, e.high, e.low);
  uint8_t& flag = stale_[static_cast<size_t>(index)];
  stale_count_ -= flag;
  flag = 0;
}

size_t PeakSummary::memory_bytes() const {
  return extremes_.capacity() * sizeof(Extremes) + stale_.capacity();
}

}  // namespace voxtrelle
