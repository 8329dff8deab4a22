// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "voxtrelle/playback/wave_out.h"

namespace voxtrelle {

// An in-process device for tests: nothing plays until the test advances its clock, and every
// sample it plays is recorded. Notifications go through the poster like a real device's.
class WaveOutTest : public WaveOut {
 public:
  explicit WaveOutTest(UiPoster post);

  int Open(const PcmFormat& format, WaveOutListener* listener) override;
  int Write(WaveBuffer* buffer) override;
  int Pause() override;
  int Restart() override;
  int Reset() override;
  int Close() override;
  int Position(uint32_t* frames) override;
  bool IsOpen() const override { return open_; }

  // Plays up to frames frames from the queue (nothing while paused), returning finished
  // buffers. Returns the frames played.
  uint32_t Advance(uint32_t frames);
  // Makes the next Open fail, like a missing sound card.
  void set_open_fails(bool fails) { open_fails_ = fails; }

  const std::vector<int16_t>& played() const { return played_; }
  void clear_played() { played_.clear(); }
  const PcmFormat& format() const { return format_; }
  size_t queued() const { return queue_.size(); }
  bool paused() const { return paused_; }
  int open_count() const { return open_count_; }
  int reset_count() const { return reset_count_; }

 private:
  void Return(WaveBuffer* buffer);

  UiPoster post_;
  WaveOutListener* listener_ = nullptr;
  PcmFormat format_;
  bool open_ = false;
  bool open_fails_ = false;
  bool paused_ = false;
  std::deque<WaveBuffer*> queue_;
  uint32_t offset_ = 0;    // values of queue_.front() already played
  uint32_t position_ = 0;  // frames since open or reset
  std::vector<int16_t> played_;
  int open_count_ = 0;
  int reset_count_ = 0;
};

}  // namespace voxtrelle
