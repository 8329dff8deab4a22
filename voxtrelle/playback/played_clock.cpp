// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/playback/played_clock.h"

#include <algorithm>

namespace voxtrelle {

namespace {

constexpr int64_t kNanosPerSecond = 1'000'000'000;
// Chunks are far shorter; the cap keeps elapsed x rate inside 64 bits after a long pause.
constexpr int64_t kMaxElapsed = 60 * kNanosPerSecond;

}  // namespace

void PlayedClock::Start(Nanos hold, uint64_t byte_rate) {
  hold_ = std::max<Nanos>(0, hold);
  byte_rate_ = byte_rate;
  Reset();
}

void PlayedClock::Reset() {
  handed_ = 0;
  next_ = 0;
  count_ = 0;
}

PlayedClock::Nanos PlayedClock::Duration(uint32_t bytes) const {
  if (byte_rate_ == 0) return 0;
  return static_cast<Nanos>(static_cast<uint64_t>(bytes) * kNanosPerSecond / byte_rate_);
}

void PlayedClock::OnChunk(Nanos now, uint32_t bytes, uint32_t span) {
  Nanos sounds_at = now + hold_;
  if (count_ > 0) {
    const Chunk& newest = chunks_[(next_ + kKept - 1) % kKept];
    sounds_at = std::max(sounds_at, newest.ends_at);
  }
  chunks_[next_] = Chunk{sounds_at, sounds_at + Duration(std::max(bytes, span)), handed_, bytes};
  next_ = (next_ + 1) % kKept;
  count_ = std::min(count_ + 1, kKept);
  handed_ += bytes;
}

uint64_t PlayedClock::Played(Nanos now) const {
  // The newest chunk that has begun to sound; all before it have sounded whole.
  for (size_t i = 1; i <= count_; ++i) {
    const Chunk& chunk = chunks_[(next_ + kKept - i) % kKept];
    if (now < chunk.sounds_at) continue;
    const Nanos elapsed = std::min(now - chunk.sounds_at, kMaxElapsed);
    const uint64_t sounded = static_cast<uint64_t>(elapsed) * byte_rate_ / kNanosPerSecond;
    return chunk.before + std::min<uint64_t>(chunk.bytes, sounded);
  }
  // Nothing handed over since the reset has sounded yet (or older chunks than those kept are
  // still sounding, which a device holding fewer than kKept chunks never has).
  if (count_ == 0) return 0;
  return chunks_[(next_ + kKept - count_) % kKept].before;
}

}  // namespace voxtrelle
