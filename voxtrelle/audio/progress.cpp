// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/progress.h"

#include <algorithm>

namespace voxtrelle {

int ProgressSink::is_cancel_requested() {
  return cancelled_.load(std::memory_order_relaxed) != 0;
}

void ProgressSink::request_cancel() {
  if (cancelled_.exchange(1, std::memory_order_relaxed) == 0) on_cancel();
}

int ProgressSink::has_failed() {
  return failed_.load(std::memory_order_relaxed) != 0;
}

void ProgressSink::set_failed() {
  if (failed_.exchange(1, std::memory_order_relaxed) == 0) on_fail();
}

void ProgressSink::set_position(uint32_t position) {
  if (position_.exchange(position, std::memory_order_relaxed) != position) position_changed();
}

void ProgressSink::set_total(uint32_t n) {
  total_.store(n, std::memory_order_relaxed);
  if (position() > n) set_position(n);
}

void ProgressSink::advance(int64_t delta) {
  const int64_t moved = std::clamp<int64_t>(int64_t{position()} + delta, 0, int64_t{total()});
  set_position(static_cast<uint32_t>(moved));
}

void ProgressSink::set_percent(float p) {
  p = std::clamp(p, 0.0f, 100.0f);
  // The product is formed in single precision, the hundredth in double, as the figures expect.
  const float scaled = p * static_cast<float>(total());
  const double target = static_cast<double>(scaled) * 0.01;
  const uint64_t truncated = static_cast<uint64_t>(target);
  set_position(static_cast<uint32_t>(std::min<uint64_t>(total(), truncated)));
}

void ProgressSink::complete() {
  set_position(total());
}

uint32_t ProgressSink::percent() const {
  const uint32_t t = total();
  if (t == 0) return 0;
  return static_cast<uint32_t>(std::min<uint64_t>(100, uint64_t{position()} * 100 / t));
}

ProgressSlice::ProgressSlice(ProgressSink& parent, uint32_t share, uint32_t total)
    : ProgressSink(0),
      parent_(parent),
      share_(std::min(share, parent.total() - std::min(parent.total(), parent.position()))),
      base_(parent.position()) {
  set_total(total != 0 ? total : share_);
}

int ProgressSlice::is_cancel_requested() {
  return cancelled_.load(std::memory_order_relaxed) != 0 || parent_.is_cancel_requested() != 0;
}

void ProgressSlice::request_cancel() {
  if (cancelled_.exchange(1, std::memory_order_relaxed) == 0) on_cancel();
  parent_.request_cancel();
}

int ProgressSlice::has_failed() {
  return failed_.load(std::memory_order_relaxed) != 0 || parent_.has_failed() != 0;
}

void ProgressSlice::set_failed() {
  if (failed_.exchange(1, std::memory_order_relaxed) == 0) on_fail();
  parent_.set_failed();
}

void ProgressSlice::position_changed() {
  const uint32_t t = total();
  if (t == 0) return;
  const uint64_t pos = position();
  const uint64_t moved = pos == t ? uint64_t{base_} + share_ : base_ + uint64_t{share_} * pos / t;
  parent_.set_position(static_cast<uint32_t>(std::min<uint64_t>(moved, parent_.total())));
}

}  // namespace voxtrelle
