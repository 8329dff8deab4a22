// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "voxtrelle/audio/sample_store.h"

namespace voxtrelle::edit_pages {

// The range rule of the in-place edits for a channel of n samples: begin and end are clamped
// into [0, n]; end < begin fails; begin = end (what (-1, -1) becomes) means the whole channel.
inline bool resolve_range(int32_t n, int32_t& begin, int32_t& end) {
  begin = std::clamp(begin, int32_t{0}, n);
  end = std::clamp(end, int32_t{0}, n);
  if (end < begin) return false;
  if (begin == end) {
    begin = 0;
    end = n;
  }
  return true;
}

// std::clamp(v, -1.0, 1.0), NaN included, written as two selects so loops using it stay
// branch-free vector code.
inline double clamp_unit(double v) {
  v = v < -1.0 ? -1.0 : v;
  return 1.0 < v ? 1.0 : v;
}

// Runs of [begin, end) of at most kRunSamples: calls step(first, n) for each run, first a
// sample index, in order; a run never crosses a page boundary. Stops with 0 as soon as step
// returns 0.
template <class Step>
int for_each_page_run(int32_t begin, int32_t end, Step&& step) {
  constexpr auto run_size = static_cast<int32_t>(kRunSamples);
  for (int32_t first = begin; first < end;) {
    const int32_t n = std::min(end - first, run_size - first % run_size);
    if (!step(first, n)) return 0;
    first += n;
  }
  return 1;
}

// Calls fn(samples, count, offset) for each run of [begin, end) of the channel, where offset is
// the run's first sample counted from begin, and writes the run back. The samples travel
// through one run-sized buffer with file reads and writes, which costs far less than mapping
// every page for a pass over the whole channel. Returns 0 when the file
// cannot be read or written (the runs before stay changed).
template <class Fn>
int for_each_run(ChannelBuffer& channel, int32_t begin, int32_t end, Fn&& fn) {
  if (begin >= end) return 1;
  std::vector<float> buffer(std::min(end - begin, static_cast<int32_t>(kRunSamples)));
  return for_each_page_run(begin, end, [&](int32_t first, int32_t n) {
    if (!channel.read_samples(first, buffer.data(), n)) return false;
    fn(buffer.data(), n, first - begin);
    return channel.write_samples(first, buffer.data(), n) != 0;
  });
}

// The same for reading only: fn(const float* samples, count, offset).
template <class Fn>
int for_each_run(const ChannelBuffer& channel, int32_t begin, int32_t end, Fn&& fn) {
  if (begin >= end) return 1;
  std::vector<float> buffer(std::min(end - begin, static_cast<int32_t>(kRunSamples)));
  return for_each_page_run(begin, end, [&](int32_t first, int32_t n) {
    if (!channel.read_samples(first, buffer.data(), n)) return false;
    fn(static_cast<const float*>(buffer.data()), n, first - begin);
    return true;
  });
}

}  // namespace voxtrelle::edit_pages
