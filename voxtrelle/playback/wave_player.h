// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "voxtrelle/playback/player_host.h"
#include "voxtrelle/playback/wave_out.h"

namespace voxtrelle {

class AudioClip;

// One of the two sample buffers that are filled from the clip and queued alternately.
struct PlayBuffer {
  static constexpr uint32_t kCapacity = 262144;  // 16-bit values (512 KiB)
  std::unique_ptr<int16_t[]> samples;            // allocated once, kCapacity values
  uint32_t capacity = kCapacity;
  WaveBuffer header;  // what is queued on the device; points into samples
};

// Plays the document's current clip, or its selection, through a WaveOut device with two
// buffers, and holds the play position and the selection (frames). Not a thread: every call,
// including the device notifications and the cursor timer, runs on the interface thread.
class WavePlayer : public WaveOutListener {
 public:
  // Returns the clip to play (the open document's current clip), or nullptr.
  using ClipSource = std::function<const AudioClip*()>;

  WavePlayer();
  ~WavePlayer() override;
  WavePlayer(const WavePlayer&) = delete;
  WavePlayer& operator=(const WavePlayer&) = delete;

  // Wiring, done once by the owner. The device and the host are not owned; host may be
  // cleared (nullptr) when its window goes.
  void set_device(WaveOut* device) { out_ = device; }
  void set_clip_source(ClipSource source) { clip_source_ = std::move(source); }
  void set_host(PlayerHost* host) { host_ = host; }

  // Opens the device, or restarts the open one, at position (-1: the current position).
  int Start(int32_t position);
  int Seek(int32_t position);
  void SeekToFraction(double fraction);
  int32_t Position();  // frames
  double PositionFraction();
  double LengthMs();
  double PositionMs();
  double SelectionStartMs();
  double SelectionEndMs();

  void SetSelectionStart(int32_t frame);
  void SetSelectionEnd(int32_t frame);
  void SelectAll();
  void Deselect();
  // Both boundaries set together, as a drag does.
  void SetSelection(int32_t start, int32_t end);
  bool HasValidSelection() const {
    return selection_start_ >= 0 && selection_start_ < selection_end_;
  }
  // A valid selection that is not the whole clip.
  bool HasProperSelection();

  // The Play, Pause and Stop commands.
  void Play();
  void Pause();
  void Stop();
  // Stop, but once the device has closed the position rests where playback had got to rather
  // than where the run began (a save stops playback without moving the cursor).
  void StopKeepingPosition();
  // Forgets the device and every flag, rewinds to 0 and drops the selection (after a load or a
  // deleting edit). A device that is still open is reset and closed, and its late
  // notifications are ignored.
  void Clear();

  // Window events passed on by the owner.
  void OnTimer();
  void OnHostResized();
  // The host window is going: the timer goes with it.
  void OnHostDestroyed();
  // Re-arms the cursor timer for the waveform's current width.
  void StartCursorTimer();

  // WaveOutListener.
  void OnDeviceOpen() override;
  void OnBufferDone(WaveBuffer* header) override;
  void OnDeviceClose() override;

  bool device_open() const { return device_; }  // a device handle is held
  bool is_open() const { return is_open_; }
  bool is_paused() const { return is_paused_; }
  bool stop_requested() const { return stop_requested_; }
  bool range_end_queued() const { return range_end_queued_; }
  bool timer_active() const { return timer_active_; }
  int32_t base_position() const { return base_position_; }
  int32_t queue_position() const { return queue_position_; }
  int32_t selection_start() const { return selection_start_; }
  int32_t selection_end() const { return selection_end_; }
  // The clip's frame count; 0 without a clip that has audio.
  int32_t Length() const;

 private:
  const AudioClip* Clip() const;
  int FillBuffer(PlayBuffer& buffer);
  int32_t Clamp(int32_t frame) const;
  double FramesToMs(int32_t frames) const;

  WaveOut* out_ = nullptr;
  bool device_ = false;  // the device was opened and has not reported its close
  bool is_open_ = false;
  bool is_paused_ = false;
  bool stop_requested_ = false;
  bool range_end_queued_ = false;
  PlayBuffer buffer_a_;
  PlayBuffer buffer_b_;
  int32_t base_position_ = 0;     // frames: where the current run started
  int32_t queue_position_ = 0;    // frames: next frame to copy into a buffer
  int32_t selection_start_ = -1;  // frames, -1 = none
  int32_t selection_end_ = -1;    // frames, -1 = none
  ClipSource clip_source_;
  PlayerHost* host_ = nullptr;
  bool timer_active_ = false;
  int32_t keep_position_ = -1;  // frames: where the stopping run rests; -1 = the usual rule
};

}  // namespace voxtrelle
