// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a store for the screen and the sound device: waveform peaks and playback frames.
#include <algorithm>
#include <memory>

#include "voxtrelle/audio/sample_kernels.h"
#include "voxtrelle/audio/sample_store.h"

namespace voxtrelle {

void PeakList::append(float max, float min) {
  pairs_.push_back({std::clamp(max, 0.0f, 1.0f), std::clamp(min, -1.0f, 0.0f)});
}

namespace {

// Sample g belongs to column g * columns / frames. The sample at which the column changes opens
// the new column without entering its extremes; a finished column appends its pair.
bool channel_peaks_from_samples(const ChannelBuffer& channel, int64_t frames, int64_t columns,
                                PeakList& list, float* samples) {
  int64_t column = -1;
  int64_t next_change = 0;  // first sample of the next column
  float high = 0.0f;
  float low = 0.0f;
  for (int32_t page = 0; page < channel.pages(); ++page) {
    const int64_t first = int64_t{page} * kPageSamples;
    const int32_t count = channel.samples_in_page(page);
    if (!channel.read_samples(static_cast<int32_t>(first), samples, count)) return false;
    const int64_t end = first + count;
    int64_t g = first;
    while (g < end) {
      if (g == next_change) {
        if (column >= 0) list.append(high, low);
        high = 0.0f;
        low = 0.0f;
        column = g * columns / frames;
        // Smallest g' with g' * columns >= (column + 1) * frames.
        next_change = ((column + 1) * frames + columns - 1) / columns;
        ++g;
        continue;
      }
      const int64_t stop = std::min(end, next_change);
      const float* run = samples + (g - first);
      const int64_t n = stop - g;
      for (int64_t k = 0; k < n; ++k) {
        high = run[k] > high ? run[k] : high;
        low = run[k] < low ? run[k] : low;
      }
      g = stop;
    }
  }
  if (column >= 0) list.append(high, low);
  return true;
}

// The same columns from the channel's peak summary: the blocks a column covers whole come from
// the summary, the partial blocks at its edges from the samples, so the pairs are exactly those
// of the samples. Neighbouring columns share their edge block, which is read once. Needs at
// least one sample per column.
class ColumnExtremes {
 public:
  ColumnExtremes(const ChannelBuffer& channel, const PeakSummary& summary, float* block)
      : channel_(channel), summary_(summary), block_(block) {}

  // The extremes of samples [a, b); false when the samples cannot be read.
  bool measure(int64_t a, int64_t b, float& high, float& low) {
    high = 0.0f;
    low = 0.0f;
    if (a >= b) return true;
    constexpr int64_t kBlock = PeakSummary::kBlockSamples;
    const int64_t first = a / kBlock;
    const int64_t last = (b - 1) / kBlock;
    const auto whole = [&](int64_t index) {
      const int64_t start = index * kBlock;
      return start >= a && start + summary_.block_samples(static_cast<int32_t>(index)) <= b;
    };
    for (int64_t index = first; index <= last; ++index) {
      if (!whole(index)) continue;
      const PeakSummary::Extremes& e = summary_.block(static_cast<int32_t>(index));
      high = e.high > high ? e.high : high;
      low = e.low < low ? e.low : low;
    }
    // The partial blocks at the edges. A block whose extremes stay inside the column's cannot
    // change them, whatever part of it the column holds: its samples need not be read.
    const int64_t edges[2] = {first, last};
    for (int edge = 0; edge < (first == last ? 1 : 2); ++edge) {
      const int64_t index = edges[edge];
      if (whole(index)) continue;
      const auto i = static_cast<int32_t>(index);
      const PeakSummary::Extremes& e = summary_.block(i);
      if (!(e.high > high) && !(e.low < low)) continue;
      if (!load(i)) return false;
      const int64_t start = index * kBlock;
      const int64_t from = std::max(a, start);
      const int64_t to = std::min(b, start + summary_.block_samples(i));
      float h = 0.0f;
      float l = 0.0f;
      kernels::extremes(block_ + (from - start), static_cast<int32_t>(to - from), h, l);
      high = h > high ? h : high;
      low = l < low ? l : low;
    }
    return true;
  }

 private:
  bool load(int32_t index) {
    if (index == loaded_) return true;
    if (!channel_.read_samples(index * PeakSummary::kBlockSamples, block_,
                               summary_.block_samples(index))) {
      return false;
    }
    loaded_ = index;
    return true;
  }

  const ChannelBuffer& channel_;
  const PeakSummary& summary_;
  float* block_;
  int32_t loaded_ = -1;
};

bool channel_peaks(const ChannelBuffer& channel, int64_t frames, int64_t columns, PeakList& list,
                   float* samples) {
  const PeakSummary* summary = channel.file() ? channel.file()->summary() : nullptr;
  if (summary == nullptr) return false;
  // With fewer samples than columns some columns hold none; the sample loop says what that
  // gives.
  if (frames < columns || summary->blocks() == 0) {
    return channel_peaks_from_samples(channel, frames, columns, list, samples);
  }
  ColumnExtremes extremes(channel, *summary, samples);
  int64_t start = 0;  // the column's first sample, which stays out of its extremes
  for (int64_t column = 0; column < columns; ++column) {
    // Smallest g with g * columns >= (column + 1) * frames.
    const int64_t next = ((column + 1) * frames + columns - 1) / columns;
    float high = 0.0f;
    float low = 0.0f;
    if (!extremes.measure(start + 1, next, high, low)) return false;
    list.append(high, low);
    start = next;
  }
  return true;
}

}  // namespace

int SampleStore::peaks(PeakLists& lists, int32_t columns) const {
  if (columns <= 0 || !is_valid() || !is_flat()) return 0;
  lists.first.clear();
  lists.second.clear();
  lists.first.reserve(static_cast<size_t>(columns));
  // One page of samples at a time, read into ordinary memory.
  const auto page = std::make_unique_for_overwrite<float[]>(kPageSamples);
  if (!channel_peaks(channel0_, frames_, columns, lists.first, page.get())) return 0;
  if (channels_ == 2) {
    lists.second.reserve(static_cast<size_t>(columns));
    if (!channel_peaks(channel1_, frames_, columns, lists.second, page.get())) return 0;
  }
  return lists.first.size() == static_cast<size_t>(columns);
}

int32_t SampleStore::fill_playback(std::span<int16_t> buffer, int32_t start_frame) const {
  if (!is_valid() || buffer.empty() || buffer.size() % channels_ != 0 || start_frame < 0 ||
      start_frame >= frames_) {
    return 0;
  }
  const int64_t wanted =
      std::min<int64_t>(static_cast<int64_t>(buffer.size() / channels_), frames_ - start_frame);
  int64_t produced[2] = {0, 0};
  // Small pieces through a fixed buffer: no allocation and no remapping per call.
  constexpr int32_t kChunk = 4096;
  float samples[kChunk];
  for (int c = 0; c < channels_; ++c) {
    const ChannelBuffer& source = channel(c);
    int64_t frame = start_frame;
    const int64_t end = std::min<int64_t>(start_frame + wanted, source.length());
    while (frame < end) {
      const int32_t n = static_cast<int32_t>(std::min<int64_t>(kChunk, end - frame));
      if (!source.read_samples(static_cast<int32_t>(frame), samples, n)) break;
      int16_t* out = buffer.data() + (frame - start_frame) * channels_ + c;
      for (int32_t k = 0; k < n; ++k) out[k * channels_] = float_to_pcm16(samples[k]);
      frame += n;
    }
    produced[c] = frame - start_frame;
  }
  if (channels_ == 2 && produced[0] != produced[1]) return 0;
  return static_cast<int32_t>(produced[0] * channels_);
}

}  // namespace voxtrelle
