// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/playback/wave_out_sdl.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

namespace voxtrelle {

namespace {

PlayedClock::Nanos Now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

bool WaveOutSdl::Ring::Push(WaveBuffer* b) {
  if (count == kSlots) return false;
  items[(head + count) % kSlots] = b;
  ++count;
  return true;
}

WaveBuffer* WaveOutSdl::Ring::Pop() {
  if (count == 0) return nullptr;
  WaveBuffer* b = items[head];
  head = (head + 1) % kSlots;
  --count;
  return b;
}

WaveOutSdl::WaveOutSdl(UiPoster post) : post_(std::move(post)) {}

WaveOutSdl::~WaveOutSdl() {
  // The listener may already be gone: tear down without notifications.
  Teardown();
  if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int WaveOutSdl::Open(const PcmFormat& format, WaveOutListener* listener) {
  if (device_ != 0 || listener == nullptr || format.channels == 0 || format.rate == 0) return 0;
  if (!subsystem_) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    subsystem_ = true;
  }
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(format.rate);
  want.format = AUDIO_S16SYS;
  want.channels = static_cast<Uint8>(format.channels);
  want.samples = 2048;
  want.callback = &WaveOutSdl::Feed;
  want.userdata = this;
  SDL_AudioSpec have{};
  // No allowed changes: SDL converts our 16-bit frames to whatever the hardware takes.
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device == 0) return 0;
  wake_ = SDL_CreateSemaphore(0);
  if (wake_ == nullptr) {
    SDL_CloseAudioDevice(device);
    return 0;
  }
  device_ = device;
  listener_ = listener;
  frame_bytes_ = 2u * format.channels;
  queued_ = Ring{};
  finished_ = Ring{};
  offset_ = 0;
  // SDL asks for the next chunk when it starts playing the one before: one chunk is held.
  const uint32_t rate = have.freq > 0 ? static_cast<uint32_t>(have.freq) : format.rate;
  clock_.Start(static_cast<PlayedClock::Nanos>(have.samples) * 1'000'000'000 / rate,
               static_cast<uint64_t>(format.rate) * frame_bytes_);
  quit_ = false;
  notifier_ = std::thread(&WaveOutSdl::NotifyLoop, this);
  SDL_PauseAudioDevice(device_, 0);
  post_([listener] { listener->OnDeviceOpen(); });
  return 1;
}

int WaveOutSdl::Write(WaveBuffer* buffer) {
  if (device_ == 0 || buffer == nullptr) return 0;
  SDL_LockAudioDevice(device_);
  const bool ok = queued_.count + finished_.count < kSlots && queued_.Push(buffer);
  SDL_UnlockAudioDevice(device_);
  return ok ? 1 : 0;
}

int WaveOutSdl::Pause() {
  if (device_ == 0) return 0;
  SDL_PauseAudioDevice(device_, 1);
  return 1;
}

int WaveOutSdl::Restart() {
  if (device_ == 0) return 0;
  SDL_PauseAudioDevice(device_, 0);
  return 1;
}

int WaveOutSdl::Reset() {
  if (device_ == 0) return 0;
  SDL_LockAudioDevice(device_);
  while (WaveBuffer* b = queued_.Pop()) finished_.Push(b);
  offset_ = 0;
  clock_.Reset();
  SDL_UnlockAudioDevice(device_);
  SDL_SemPost(wake_);
  return 1;
}

int WaveOutSdl::Close() {
  if (device_ == 0) return 0;
  SDL_LockAudioDevice(device_);
  const bool busy = queued_.count != 0;
  SDL_UnlockAudioDevice(device_);
  if (busy) return 0;
  // The notifier posts every pending OnBufferDone before it ends, so OnDeviceClose comes last.
  StopNotifier();
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  SDL_DestroySemaphore(wake_);
  wake_ = nullptr;
  WaveOutListener* listener = listener_;
  post_([listener] { listener->OnDeviceClose(); });
  return 1;
}

int WaveOutSdl::Position(uint32_t* frames) {
  if (device_ == 0 || frames == nullptr || frame_bytes_ == 0) return 0;
  SDL_LockAudioDevice(device_);
  const uint64_t played = clock_.Played(Now());
  SDL_UnlockAudioDevice(device_);
  *frames = static_cast<uint32_t>(played / frame_bytes_);
  return 1;
}

void WaveOutSdl::Feed(void* self_ptr, Uint8* stream, int len) {
  auto* self = static_cast<WaveOutSdl*>(self_ptr);
  uint32_t left = static_cast<uint32_t>(len);
  bool finished_any = false;
  while (left > 0 && self->queued_.count > 0) {
    WaveBuffer* b = self->queued_.items[self->queued_.head];
    const uint32_t n = std::min(b->bytes - std::min(self->offset_, b->bytes), left);
    std::memcpy(stream, reinterpret_cast<const Uint8*>(b->data) + self->offset_, n);
    stream += n;
    left -= n;
    self->offset_ += n;
    if (self->offset_ >= b->bytes) {
      self->queued_.Pop();
      self->finished_.Push(b);
      self->offset_ = 0;
      finished_any = true;
    }
  }
  // An empty queue plays silence.
  std::memset(stream, 0, left);
  self->clock_.OnChunk(Now(), static_cast<uint32_t>(len) - left, static_cast<uint32_t>(len));
  if (finished_any) SDL_SemPost(self->wake_);
}

void WaveOutSdl::NotifyLoop() {
  for (;;) {
    SDL_SemWait(wake_);
    std::array<WaveBuffer*, kSlots> done{};
    size_t n = 0;
    SDL_LockAudioDevice(device_);
    while (WaveBuffer* b = finished_.Pop()) done[n++] = b;
    SDL_UnlockAudioDevice(device_);
    WaveOutListener* listener = listener_;
    for (size_t i = 0; i < n; ++i) {
      WaveBuffer* b = done[i];
      post_([listener, b] { listener->OnBufferDone(b); });
    }
    if (quit_) return;
  }
}

void WaveOutSdl::StopNotifier() {
  if (!notifier_.joinable()) return;
  quit_ = true;
  SDL_SemPost(wake_);
  notifier_.join();
}

void WaveOutSdl::Teardown() {
  if (device_ == 0) return;
  SDL_PauseAudioDevice(device_, 1);
  SDL_LockAudioDevice(device_);
  queued_ = Ring{};
  finished_ = Ring{};
  SDL_UnlockAudioDevice(device_);
  quit_ = true;
  SDL_SemPost(wake_);
  if (notifier_.joinable()) notifier_.join();
  // Only now: the notifier thread reads the listener until it has ended.
  listener_ = nullptr;
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  SDL_DestroySemaphore(wake_);
  wake_ = nullptr;
}

}  // namespace voxtrelle
