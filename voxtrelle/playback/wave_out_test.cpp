// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/playback/wave_out_test.h"

#include <algorithm>
#include <utility>

namespace voxtrelle {

WaveOutTest::WaveOutTest(UiPoster post) : post_(std::move(post)) {}

int WaveOutTest::Open(const PcmFormat& format, WaveOutListener* listener) {
  if (open_ || open_fails_ || format.channels == 0 || format.rate == 0) return 0;
  open_ = true;
  paused_ = false;
  listener_ = listener;
  format_ = format;
  position_ = 0;
  offset_ = 0;
  ++open_count_;
  post_([listener] { listener->OnDeviceOpen(); });
  return 1;
}

int WaveOutTest::Write(WaveBuffer* buffer) {
  if (!open_ || buffer == nullptr) return 0;
  queue_.push_back(buffer);
  return 1;
}

int WaveOutTest::Pause() {
  if (!open_) return 0;
  paused_ = true;
  return 1;
}

int WaveOutTest::Restart() {
  if (!open_) return 0;
  paused_ = false;
  return 1;
}

int WaveOutTest::Reset() {
  if (!open_) return 0;
  ++reset_count_;
  while (!queue_.empty()) {
    WaveBuffer* buffer = queue_.front();
    queue_.pop_front();
    Return(buffer);
  }
  offset_ = 0;
  position_ = 0;
  return 1;
}

int WaveOutTest::Close() {
  if (!open_ || !queue_.empty()) return 0;
  open_ = false;
  paused_ = false;
  WaveOutListener* listener = listener_;
  post_([listener] { listener->OnDeviceClose(); });
  return 1;
}

int WaveOutTest::Position(uint32_t* frames) {
  if (!open_ || frames == nullptr) return 0;
  *frames = position_;
  return 1;
}

uint32_t WaveOutTest::Advance(uint32_t frames) {
  if (!open_ || paused_) return 0;
  const uint32_t channels = format_.channels;
  uint32_t done = 0;
  while (done < frames && !queue_.empty()) {
    WaveBuffer* buffer = queue_.front();
    const uint32_t values = buffer->bytes / 2;
    const uint32_t take = std::min<uint32_t>((frames - done) * channels, values - offset_);
    played_.insert(played_.end(), buffer->data + offset_, buffer->data + offset_ + take);
    offset_ += take;
    done += take / channels;
    if (offset_ >= values) {
      queue_.pop_front();
      offset_ = 0;
      Return(buffer);
    }
  }
  position_ += done;
  return done;
}

void WaveOutTest::Return(WaveBuffer* buffer) {
  WaveOutListener* listener = listener_;
  post_([listener, buffer] { listener->OnBufferDone(buffer); });
}

}  // namespace voxtrelle
