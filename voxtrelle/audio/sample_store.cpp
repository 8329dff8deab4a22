// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/sample_store.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "voxtrelle/audio/edit_pages.h"
#include "voxtrelle/audio/sample_kernels.h"

namespace voxtrelle {
int SampleStore::create(uint16_t channels, int32_t frames, int32_t rate) {
  if (!is_empty() || (channels != 1 && channels != 2) || frames <= 0 || rate <= 0) return 0;
  if (!channel0_.create(frames) || (channels == 2 && !channel1_.create(frames))) {
    clear();
    return 0;
  }
  channels_ = channels;
  frames_ = frames;
  rate_ = rate;
  return 1;
}

int SampleStore::adopt(const std::vector<std::string>& paths, int32_t frames, int32_t rate) {
  if (!is_empty() || (paths.size() != 1 && paths.size() != 2) || frames <= 0 || rate <= 0) {
    return 0;
  }
  for (size_t i = 0; i < paths.size(); ++i) {
    if (!channel(static_cast<int>(i)).adopt(paths[i], frames)) {
      clear();
      return 0;
    }
  }
  channels_ = static_cast<uint16_t>(paths.size());
  frames_ = frames;
  rate_ = rate;
  return 1;
}

void SampleStore::clear() {
  channel0_.destroy();
  channel1_.destroy();
  channels_ = 0;
  frames_ = 0;
  rate_ = 0;
}

void SampleStore::swap(SampleStore& other) {
  if (this == &other) return;
  if (!is_empty()) clear();
  std::swap(channels_, other.channels_);
  std::swap(frames_, other.frames_);
  std::swap(rate_, other.rate_);
  std::swap(channel0_, other.channel0_);
  std::swap(channel1_, other.channel1_);
}

int SampleStore::copy_from(const SampleStore& source, ProgressSink* progress) {
  if (this == &source) return 0;
  clear();
  if (source.is_empty()) {
    report_complete(progress);
    return 1;
  }
  bool ok = source.is_valid();
  for (int c = 0; ok && c < source.channels_; ++c) {
    ok = !cancel_requested(progress) && channel(c).copy_from(source.channel(c));
  }
  if (!ok) {
    clear();
    report_failure(progress);
    return 0;
  }
  channels_ = source.channels_;
  frames_ = source.frames_;
  rate_ = source.rate_;
  report_complete(progress);
  return 1;
}

int SampleStore::copy_range(int32_t dest_pos, const SampleStore& source, int32_t src_begin,
                            int32_t src_end) {
  if (!is_valid() || !is_flat() || !source.is_valid() || !source.is_flat() ||
      channels_ != source.channels_) {
    return 0;
  }
  for (int c = 0; c < channels_; ++c) {
    ChannelBuffer& target = channel(c);
    const ChannelBuffer& from = source.channel(c);
    const int64_t d = target.length();
    const int64_t s = from.length();
    if (dest_pos < 0 || dest_pos >= d) return 0;
    const int64_t b = std::clamp<int64_t>(src_begin, 0, s);
    int64_t e = std::clamp<int64_t>(src_end, 0, s);
    if (b >= e) return 0;
    e = std::min(e, b + (d - dest_pos));
    if (!target.file()->copy_samples(*from.file(), static_cast<int32_t>(b), static_cast<int32_t>(e),
                                     static_cast<int32_t>(dest_pos - b))) {
      return 0;
    }
  }
  return 1;
}

int SampleStore::cut_frames(int32_t begin, int32_t end, bool keep_outside) {
  if (!is_valid() || !is_flat() || begin < 0 || begin >= end || end > frames_) return 0;
  const int32_t kept = keep_outside ? frames_ - (end - begin) : end - begin;
  if (kept <= 0) return 0;
  // Every channel moves first and shrinks after, so a failed move leaves the counts alone.
  for (int c = 0; c < channels_; ++c) {
    const int moved = keep_outside ? channel(c).move_down(begin, end, frames_ - end)
                                   : channel(c).move_down(0, begin, end - begin);
    if (!moved) return 0;
  }
  for (int c = 0; c < channels_; ++c) {
    if (!channel(c).shrink(kept)) return 0;
  }
  frames_ = kept;
  return 1;
}

int SampleStore::mix_to_mono() {
  if (is_mono()) return 1;
  if (!is_stereo() || channel0_.length() != channel1_.length() ||
      channel0_.lead_offset() != channel1_.lead_offset()) {
    return 0;
  }
  const int32_t n = channel0_.length();
  std::vector<float> left(kRunSamples);
  std::vector<float> right(kRunSamples);
  float smallest = 0.0f;
  float largest = 0.0f;
  const int mixed = edit_pages::for_each_page_run(0, n, [&](int32_t first, int32_t count) {
    if (!channel0_.read_samples(first, left.data(), count) ||
        !channel1_.read_samples(first, right.data(), count)) {
      return false;
    }
    kernels::mix(left.data(), right.data(), count, smallest, largest);
    return channel0_.write_samples(first, left.data(), count) != 0;
  });
  if (!mixed) return 0;
  if (const float factor = kernels::mix_rescale(smallest, largest); factor != 0.0f) {
    // Rescale the whole channel rather than clip the loud parts.
    const int rescaled = edit_pages::for_each_run(
        channel0_, 0, n,
        [factor](float* s, int32_t count, int32_t) { kernels::rescale(s, count, factor); });
    if (!rescaled) return 0;
  }
  channel1_.destroy();
  channels_ = 1;
  return 1;
}

int SampleStore::duplicate_to_stereo() {
  if (is_stereo()) return 1;
  if (!is_mono()) return 0;
  if (!channel1_.copy_from(channel0_)) return 0;
  channels_ = 2;
  return 1;
}

double SampleStore::duration() const {
  if (rate_ == 0) return 0.0;
  return static_cast<double>(frames_) / static_cast<double>(rate_);
}

int SampleStore::is_empty() const {
  return channels_ == 0 && frames_ == 0 && rate_ == 0 && channel0_.is_empty() &&
         channel1_.is_empty();
}

int SampleStore::is_valid() const {
  return (channels_ == 1 || channels_ == 2) && frames_ != 0 && rate_ != 0 && channel0_.is_valid() &&
         (channels_ == 1 || channel1_.is_valid());
}

int SampleStore::is_mono() const {
  return channels_ == 1 && channel0_.is_valid();
}

int SampleStore::is_stereo() const {
  return channels_ == 2 && channel0_.is_valid() && channel1_.is_valid();
}

int SampleStore::is_flat() const {
  if (is_empty()) return 1;
  return is_valid() && channel0_.is_flat() && (channels_ == 1 || channel1_.is_flat());
}

}  // namespace voxtrelle
