// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zentora {

// The playback engine of one MP3 file. Contract:
// - Every call comes from the user-interface thread, except the error callback (below).
// - build() makes the pipeline for one file with parser variant 1 or 2 and leaves it paused
//   at 0; a failed build leaves the object unbuilt and may be followed by another build.
//   build() fails only for the file (it does not play, or its length is damaged), never for
//   the sound device: a device that cannot start makes run() fail instead.
// - Positions are whole milliseconds; durationMs() is the file's length; seekMs() clamps to
//   0..durationMs().
// - Operations return 1 for success and 0 for failure; errorText, when given, receives a
//   text of our own fit for a message box.
class Mp3Player {
 public:
  virtual ~Mp3Player() = default;

  // variant 1: the plain MPEG audio parser; variant 2: a tag-aware parser that takes files the
  // first one rejects.
  virtual int build(const std::string& path, int variant, std::string* errorText) = 0;
  // Releases the pipeline; the object may be built again.
  virtual void tearDown() = 0;
  virtual bool isBuilt() const = 0;

  virtual int run(std::string* errorText) = 0;
  virtual void pause() = 0;
  // Stops playback; the position goes back to 0 at the next seekMs.
  virtual void stop() = 0;

  virtual int32_t currentMs() = 0;
  virtual int32_t durationMs() = 0;
  virtual bool atEnd() = 0;
  virtual void seekMs(int32_t ms) = 0;
  // hundredthsDb: -10000 silence .. 0 full.
  virtual void setVolume(int32_t hundredthsDb) = 0;

  // The error-abort event: called ON A STREAMING THREAD with our error text when playback
  // fails. The receiver must post it to the user-interface thread and return at once.
  using ErrorCallback = std::function<void(const std::string& text)>;
  virtual void setErrorCallback(ErrorCallback callback) = 0;
};

// Makes players and answers whether sound can be played at all.
class PlayerBackend {
 public:
  virtual ~PlayerBackend() = default;
  virtual std::unique_ptr<Mp3Player> createPlayer() = 0;
  // 1 when an audio renderer can be started; else 0 with errorText = NoAudioDeviceText().
  virtual int checkRenderer(std::string* errorText) = 0;
};

}  // namespace zentora
