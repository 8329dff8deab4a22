// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <SDL2/SDL.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>

#include "voxtrelle/playback/played_clock.h"
#include "voxtrelle/playback/wave_out.h"

namespace voxtrelle {

// The system's sound output through SDL2 audio. SDL pulls samples from the queued buffers on
// its own audio thread; finished buffers are handed to a small notifier thread, which posts
// the notifications to the interface thread, so the audio callback neither allocates nor takes
// any lock besides SDL's device lock.
class WaveOutSdl : public WaveOut {
 public:
  explicit WaveOutSdl(UiPoster post);
  ~WaveOutSdl() override;
  WaveOutSdl(const WaveOutSdl&) = delete;
  WaveOutSdl& operator=(const WaveOutSdl&) = delete;

  int Open(const PcmFormat& format, WaveOutListener* listener) override;
  int Write(WaveBuffer* buffer) override;
  int Pause() override;
  int Restart() override;
  int Reset() override;
  int Close() override;
  // Frames that have sounded: those handed to SDL less what the device still holds.
  int Position(uint32_t* frames) override;
  bool IsOpen() const override { return device_ != 0; }

 private:
  static constexpr size_t kSlots = 16;

  // A fixed ring of buffer pointers; never allocates.
  struct Ring {
    std::array<WaveBuffer*, kSlots> items{};
    size_t head = 0;
    size_t count = 0;
    bool Push(WaveBuffer* b);
    WaveBuffer* Pop();
  };

  // SDL audio thread, device lock held.
  static void Feed(void* self, Uint8* stream, int len);
  // Notifier thread.
  void NotifyLoop();
  void StopNotifier();
  void Teardown();

  UiPoster post_;
  WaveOutListener* listener_ = nullptr;
  bool subsystem_ = false;
  SDL_AudioDeviceID device_ = 0;
  uint32_t frame_bytes_ = 0;  // bytes per frame of the open device

  // Guarded by SDL's device lock.
  Ring queued_;
  Ring finished_;        // returned, waiting for the notifier
  uint32_t offset_ = 0;  // bytes of the front queued buffer already handed to SDL
  PlayedClock clock_;    // bytes handed to SDL and sounded since open or reset

  SDL_sem* wake_ = nullptr;
  std::atomic<bool> quit_{false};
  std::thread notifier_;
};

}  // namespace voxtrelle
