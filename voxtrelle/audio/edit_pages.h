// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>

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

// Calls fn(samples, count, offset) for each page-sized run of [begin, end) of the channel,
// where offset is the run's first sample counted from begin. One page is mapped at a time.
// Returns 0 when a page cannot be mapped (the runs before it stay changed).
template <class Fn>
int for_each_run(ChannelBuffer& channel, int32_t begin, int32_t end, Fn&& fn) {
  const int32_t page_size = static_cast<int32_t>(SampleFile::page_size());
  const int32_t first = begin;
  for (int32_t page = begin / page_size; begin < end; ++page) {
    const int32_t page_start = page * page_size;
    float* samples = channel.page(page);
    if (samples == nullptr) return 0;
    const int32_t page_end = page_start + channel.samples_in_page(page);
    const int32_t run_end = std::min(end, page_end);
    if (run_end <= begin) return 0;
    fn(samples + (begin - page_start), run_end - begin, begin - first);
    begin = run_end;
  }
  return 1;
}

// The same for reading only: fn(const float* samples, count, offset).
template <class Fn>
int for_each_run(const ChannelBuffer& channel, int32_t begin, int32_t end, Fn&& fn) {
  const int32_t page_size = static_cast<int32_t>(SampleFile::page_size());
  const int32_t first = begin;
  for (int32_t page = begin / page_size; begin < end; ++page) {
    const int32_t page_start = page * page_size;
    const float* samples = channel.page(page);
    if (samples == nullptr) return 0;
    const int32_t run_end = std::min(end, page_start + channel.samples_in_page(page));
    if (run_end <= begin) return 0;
    fn(samples + (begin - page_start), run_end - begin, begin - first);
    begin = run_end;
  }
  return 1;
}

}  // namespace voxtrelle::edit_pages
