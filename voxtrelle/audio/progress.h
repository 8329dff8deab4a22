// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>

namespace voxtrelle {

// Progress, cancellation and failure of one long operation. The worker thread writes it and
// the interface thread reads it; every field is a single 32-bit atomic, no lock is taken.
class ProgressSink {
 public:
  ProgressSink() = default;
  explicit ProgressSink(uint32_t total) : total_(total) {}
  virtual ~ProgressSink() = default;
  ProgressSink(const ProgressSink&) = delete;
  ProgressSink& operator=(const ProgressSink&) = delete;

  virtual int is_cancel_requested();
  virtual void request_cancel();
  virtual int has_failed();
  virtual void set_failed();
  // Called after the position moved.
  virtual void position_changed() {}
  // Called once, when the cancel or failed flag is first raised.
  virtual void on_cancel() {}
  virtual void on_fail() {}
  // Whether the long loops reporting here give up a little CPU time now and then (Throttle).
  // Right while somebody works at a desktop beside them; a batch run waits for nothing else.
  virtual bool yields_cpu() const { return true; }

  // Lowers the position to n when it is larger.
  void set_total(uint32_t n);
  // position <- clamp(position + delta, 0, total).
  void advance(int64_t delta);
  // p is clamped to 0..100; position <- min(total, truncate(p * total * 0.01)).
  void set_percent(float p);
  // position <- total.
  void complete();
  // 0 when total is 0, else position * 100 / total, at most 100.
  uint32_t percent() const;

  uint32_t total() const { return total_.load(std::memory_order_relaxed); }
  uint32_t position() const { return position_.load(std::memory_order_relaxed); }
  // Stores the position and calls position_changed when it moved; slices drive their parent
  // through it.
  void set_position(uint32_t position);

 private:
  std::atomic<uint32_t> total_{0};
  std::atomic<uint32_t> position_{0};
  std::atomic<uint32_t> cancelled_{0};
  std::atomic<uint32_t> failed_{0};
};

// A child sink that owns a fixed share of its parent's range: the step reports 0..total of
// its own work and the parent moves over base..base+share.
class ProgressSlice : public ProgressSink {
 public:
  // total 0 means "the share itself". The share is limited to what the parent has left.
  ProgressSlice(ProgressSink& parent, uint32_t share, uint32_t total = 0);

  int is_cancel_requested() override;
  void request_cancel() override;
  int has_failed() override;
  void set_failed() override;
  void position_changed() override;
  bool yields_cpu() const override { return parent_.yields_cpu(); }

  uint32_t share() const { return share_; }
  uint32_t base() const { return base_; }

 private:
  ProgressSink& parent_;
  uint32_t share_;
  uint32_t base_;
  std::atomic<uint32_t> cancelled_{0};
  std::atomic<uint32_t> failed_{0};
};

// Helpers for operations whose sink is optional.
inline bool cancel_requested(ProgressSink* sink) {
  return sink != nullptr && sink->is_cancel_requested() != 0;
}
inline void report_failure(ProgressSink* sink) {
  if (sink != nullptr) sink->set_failed();
}
inline void report_complete(ProgressSink* sink) {
  if (sink != nullptr) sink->complete();
}

}  // namespace voxtrelle
