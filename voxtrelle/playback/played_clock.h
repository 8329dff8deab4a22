// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace voxtrelle {

// How much of what a sound device has been handed it has really played. A device takes its
// samples in chunks and plays each chunk after the ones before it: a chunk taken at time t
// sounds from t + hold (hold = what the device still holds ahead of it), or from the end of
// the chunk before it when that ends later, and its bytes play at the device's byte rate.
// Counting bytes when they are handed over would run ahead of the sound by that hold.
//
// Not thread-safe: the owner calls it under its device lock (OnChunk from the audio thread,
// the rest from the interface thread). Never allocates.
class PlayedClock {
 public:
  using Nanos = int64_t;  // a steady clock's reading, nanoseconds

  // Starts afresh: nothing handed over, nothing played.
  // hold: ns a chunk waits in the device before it sounds; byte_rate: bytes a second.
  void Start(Nanos hold, uint64_t byte_rate);
  // Forgets every chunk handed over so far (the device was reset); the count restarts at 0.
  void Reset();
  // A chunk of span bytes taken at now, of which the first bytes are samples and the rest
  // silence padding (an empty queue).
  void OnChunk(Nanos now, uint32_t bytes, uint32_t span);
  // Bytes of samples that have sounded by now, since Start or the last Reset.
  uint64_t Played(Nanos now) const;
  // Bytes of samples handed over since Start or the last Reset.
  uint64_t Handed() const { return handed_; }

 private:
  struct Chunk {
    Nanos sounds_at = 0;  // when its first byte plays
    Nanos ends_at = 0;    // when its last byte (padding included) has played
    uint64_t before = 0;  // sample bytes handed over before it
    uint32_t bytes = 0;   // sample bytes in it
  };
  static constexpr size_t kKept = 4;  // more than a device ever holds

  Nanos Duration(uint32_t bytes) const;

  Nanos hold_ = 0;
  uint64_t byte_rate_ = 0;
  uint64_t handed_ = 0;
  std::array<Chunk, kKept> chunks_{};  // a ring, newest at (next_ + kKept - 1) % kKept
  size_t next_ = 0;
  size_t count_ = 0;
};

}  // namespace voxtrelle
