// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/playback/wave_player.h"

#include <algorithm>
#include <climits>
#include <span>
#include <utility>

#include "voxtrelle/audio/audio_clip.h"

namespace voxtrelle {

namespace {

// Fastest cursor repaint: 20 a second.
constexpr uint32_t kMinCursorIntervalMs = 50;

void AllocateBuffer(PlayBuffer& buffer) {
  buffer.samples = std::make_unique<int16_t[]>(PlayBuffer::kCapacity);
  buffer.capacity = PlayBuffer::kCapacity;
}

}  // namespace

WavePlayer::WavePlayer() {
  AllocateBuffer(buffer_a_);
  AllocateBuffer(buffer_b_);
}

WavePlayer::~WavePlayer() = default;

const AudioClip* WavePlayer::Clip() const {
  if (!clip_source_) return nullptr;
  const AudioClip* clip = clip_source_();
  return clip != nullptr && clip->has_audio() ? clip : nullptr;
}

int32_t WavePlayer::Length() const {
  const AudioClip* clip = Clip();
  return clip != nullptr ? clip->frames() : 0;
}

int32_t WavePlayer::Clamp(int32_t frame) const {
  const int32_t length = Length();
  if (length <= 0 || frame < 0) return 0;
  return std::min(frame, length);
}

int WavePlayer::Start(int32_t position) {
  const AudioClip* clip = Clip();
  const int32_t length = Length();
  if (clip != nullptr && length > 0 && position >= 0 && position <= length) {
    base_position_ = position;
  } else if (position >= 0) {
    return 0;
  } else if (base_position_ >= length) {
    base_position_ = 0;
  }
  if (HasValidSelection() &&
      (base_position_ < selection_start_ || base_position_ >= selection_end_)) {
    base_position_ = selection_start_;
  }
  queue_position_ = base_position_;
  if (is_open_) {
    // Both buffers come back through OnBufferDone and are refilled from queue_position_.
    return out_->Reset();
  }
  if (clip == nullptr || out_ == nullptr || device_) return 0;
  // The buffers always hold 16-bit frames, whatever width the file had.
  PcmFormat format;
  format.channels = clip->store().channels();
  format.rate = clip->format().nSamplesPerSec;
  if (!out_->Open(format, this)) return 0;
  device_ = true;
  return 1;
}

int WavePlayer::Seek(int32_t position) {
  position = Clamp(position);
  if (is_open_) return Start(position);
  base_position_ = queue_position_ = position;
  return 1;
}

void WavePlayer::SeekToFraction(double fraction) {
  fraction = std::clamp(fraction, 0.0, 1.0);
  if (Clip() == nullptr) return;
  const auto target = static_cast<int32_t>(Length() * fraction + 0.5);
  if (is_open_) {
    Start(target);
  } else {
    Seek(target);
  }
}

int32_t WavePlayer::Position() {
  if (!is_open_) return base_position_;
  uint32_t played = 0;
  if (out_ == nullptr || !out_->Position(&played)) played = 0;
  return base_position_ + static_cast<int32_t>(played);
}

double WavePlayer::PositionFraction() {
  const int32_t length = Length();
  if (length <= 0) return 0.0;
  const uint32_t position =
      std::min(static_cast<uint32_t>(Position()), static_cast<uint32_t>(length));
  return static_cast<double>(position) / length;
}

double WavePlayer::FramesToMs(int32_t frames) const {
  const AudioClip* clip = Clip();
  if (clip == nullptr || clip->format().nSamplesPerSec == 0) return 0.0;
  return frames * 1000.0 / clip->format().nSamplesPerSec;
}

double WavePlayer::LengthMs() {
  return Length() == 0 ? 0.0 : FramesToMs(Length());
}
double WavePlayer::PositionMs() {
  return FramesToMs(Position());
}
double WavePlayer::SelectionStartMs() {
  return FramesToMs(selection_start_);
}
double WavePlayer::SelectionEndMs() {
  return FramesToMs(selection_end_);
}

void WavePlayer::SetSelectionStart(int32_t frame) {
  selection_start_ = Clamp(frame);
  if (selection_end_ >= 0 && selection_end_ < selection_start_) {
    std::swap(selection_start_, selection_end_);
  }
}

void WavePlayer::SetSelectionEnd(int32_t frame) {
  frame = Clamp(frame);
  selection_end_ = frame;
  if (frame < selection_start_) std::swap(selection_start_, selection_end_);
}

void WavePlayer::SelectAll() {
  selection_start_ = 0;
  selection_end_ = Length();
}

void WavePlayer::Deselect() {
  selection_start_ = selection_end_ = -1;
}

void WavePlayer::SetSelection(int32_t start, int32_t end) {
  selection_start_ = start;
  selection_end_ = end;
}

bool WavePlayer::HasProperSelection() {
  return HasValidSelection() && (selection_start_ > 0 || selection_end_ != Length());
}

void WavePlayer::Play() {
  if (!is_paused_) {
    Start(-1);
  } else if (is_open_) {
    out_->Restart();
    is_paused_ = false;
  }
}

void WavePlayer::Pause() {
  if (is_open_ && !is_paused_) {
    out_->Pause();
    is_paused_ = true;
  }
}

void WavePlayer::Stop() {
  if (is_open_ && !stop_requested_) {
    stop_requested_ = true;
    out_->Reset();
  }
}

void WavePlayer::StopKeepingPosition() {
  if (!is_open_ || stop_requested_) return;
  keep_position_ = Position();
  Stop();
}

void WavePlayer::Clear() {
  // A device still open here (its close not yet reported) is shut now; what it still has
  // posted finds no device held and is ignored.
  if (device_ && out_ != nullptr && out_->IsOpen()) {
    out_->Reset();
    out_->Close();
  }
  if (timer_active_ && host_ != nullptr) host_->KillTimer();
  timer_active_ = false;
  device_ = is_open_ = is_paused_ = stop_requested_ = range_end_queued_ = false;
  base_position_ = queue_position_ = 0;
  selection_start_ = selection_end_ = -1;
  keep_position_ = -1;
}

int WavePlayer::FillBuffer(PlayBuffer& buffer) {
  const AudioClip* clip = Clip();
  if (clip == nullptr || out_ == nullptr) return 0;
  const bool selected = HasValidSelection();
  if (selected && queue_position_ >= selection_end_) return 0;
  const int32_t samples = clip->fill_playback(
      std::span<int16_t>(buffer.samples.get(), buffer.capacity), queue_position_);
  if (samples <= 0) return 0;
  const int32_t channels = std::max<int32_t>(1, clip->store().channels());
  const int32_t frames = samples / channels;
  int32_t to_play = samples;
  if (selected && queue_position_ < selection_end_ && queue_position_ + frames > selection_end_) {
    const int32_t per_frame = clip->is_stereo() ? 2 : 1;
    to_play = std::min(samples, per_frame * (selection_end_ - queue_position_));
    range_end_queued_ = true;
  }
  buffer.header = WaveBuffer{};
  buffer.header.data = buffer.samples.get();
  buffer.header.bytes = static_cast<uint32_t>(to_play) * 2;
  if (!out_->Write(&buffer.header)) return 0;
  queue_position_ += frames;
  return 1;
}

void WavePlayer::OnDeviceOpen() {
  if (!device_) return;  // the device was given up (Clear) before it opened
  is_open_ = true;
  is_paused_ = stop_requested_ = range_end_queued_ = false;
  StartCursorTimer();
  if (FillBuffer(buffer_a_)) {
    FillBuffer(buffer_b_);
  } else if (out_ != nullptr) {
    // Nothing could be queued, so no returned buffer would ever close the device: close now.
    out_->Close();
  }
}

void WavePlayer::OnBufferDone(WaveBuffer* header) {
  if (!device_) return;
  PlayBuffer& finished = header == &buffer_a_.header ? buffer_a_ : buffer_b_;
  if (!stop_requested_ && !range_end_queued_) {
    // A seek while paused resets the device; keep it paused.
    if (is_paused_) out_->Pause();
    if (FillBuffer(finished)) return;
  }
  // Refused while the other buffer is still queued; the last returned buffer closes it.
  if (out_ != nullptr) out_->Close();
}

void WavePlayer::OnDeviceClose() {
  if (!device_) return;
  const bool range_end_was_queued = range_end_queued_;
  if (stop_requested_) {
    base_position_ = HasValidSelection() ? selection_start_ : 0;
    queue_position_ = 0;
  }
  device_ = is_open_ = is_paused_ = stop_requested_ = range_end_queued_ = false;
  if (timer_active_) {
    if (host_ != nullptr) host_->KillTimer();
    timer_active_ = false;
  }
  if (!range_end_was_queued) base_position_ = queue_position_ = 0;
  if (keep_position_ >= 0) {
    base_position_ = queue_position_ = keep_position_;
    keep_position_ = -1;
  }
  if (host_ != nullptr) host_->RepaintWaveform();
}

void WavePlayer::StartCursorTimer() {
  const AudioClip* clip = Clip();
  if (clip == nullptr || host_ == nullptr) return;
  const int width = host_->WaveformWidth();
  if (width <= 0) return;
  const uint64_t rate = clip->format().nSamplesPerSec;
  if (rate == 0) return;
  uint64_t interval =
      static_cast<uint64_t>(Length()) * 1000 / (rate * static_cast<uint64_t>(width));
  interval = std::max<uint64_t>(interval, kMinCursorIntervalMs);
  interval = std::min<uint64_t>(interval, INT_MAX);
  if (host_->ArmTimer(static_cast<uint32_t>(interval))) timer_active_ = true;
}

void WavePlayer::OnTimer() {
  if (timer_active_ && !is_paused_ && host_ != nullptr) host_->RepaintWaveform();
}

void WavePlayer::OnHostResized() {
  if (is_open_ && timer_active_) StartCursorTimer();
}

void WavePlayer::OnHostDestroyed() {
  if (timer_active_ && host_ != nullptr) host_->KillTimer();
  timer_active_ = false;
  host_ = nullptr;
}

}  // namespace voxtrelle
