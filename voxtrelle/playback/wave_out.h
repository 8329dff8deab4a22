// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

namespace voxtrelle {

// The sample format every device is opened with: interleaved signed 16-bit PCM.
struct PcmFormat {
  uint16_t channels = 0;  // 1 or 2
  uint32_t rate = 0;      // frames per second
};

// One block of samples handed to a device; the device keeps the pointer until it returns the
// block through WaveOutListener::OnBufferDone. The caller owns the samples.
struct WaveBuffer {
  const int16_t* data = nullptr;
  uint32_t bytes = 0;  // bytes of data to play (a whole number of frames)
};

// Receives a device's notifications, always on the interface thread and always after the call
// that caused them has returned (they are posted, never called from inside a device call).
class WaveOutListener {
 public:
  virtual ~WaveOutListener() = default;
  // The device opened by WaveOut::Open is ready for Write.
  virtual void OnDeviceOpen() = 0;
  // buffer has been played, or was returned unplayed by Reset. It is no longer queued.
  virtual void OnBufferDone(WaveBuffer* buffer) = 0;
  // The device closed by WaveOut::Close has gone; the next Open starts afresh.
  virtual void OnDeviceClose() = 0;
};

// Runs a call on the interface thread, later, in the order of posting. May be called from any
// thread. The program posts to the main frame's event queue; tests collect the calls and run
// them when they choose.
using UiPoster = std::function<void(std::function<void()>)>;

// A wave output device. All calls are made on the interface thread; every call returns 1 on
// success and 0 on failure. The device queues buffers and plays them in order; a device with
// an empty queue plays silence and does not advance its position.
//
// Life: Open -> (OnDeviceOpen) -> Write/Pause/Restart/Reset/Position ... -> Close ->
// (OnDeviceClose). Close is refused while buffers are queued: Reset first, or wait for the
// last OnBufferDone.
class WaveOut {
 public:
  virtual ~WaveOut() = default;
  // Opens the device for format and starts it running (not paused); posts OnDeviceOpen to
  // listener. Fails when a device is already open or the system device cannot be opened.
  virtual int Open(const PcmFormat& format, WaveOutListener* listener) = 0;
  // Queues buffer behind those already queued. Fails when no device is open.
  virtual int Write(WaveBuffer* buffer) = 0;
  // Holds playback at the current sample; queued buffers stay queued.
  virtual int Pause() = 0;
  // Continues after Pause.
  virtual int Restart() = 0;
  // Returns every queued buffer (OnBufferDone, in queue order) and sets the position to 0.
  // A paused device stays paused.
  virtual int Reset() = 0;
  // Closes the device and posts OnDeviceClose; fails while buffers are queued.
  virtual int Close() = 0;
  // Frames played since Open or the last Reset.
  virtual int Position(uint32_t* frames) = 0;
  // Whether Open succeeded and Close has not yet.
  virtual bool IsOpen() const = 0;
};

}  // namespace voxtrelle
