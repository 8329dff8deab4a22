// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the hand-drawn panels read and do: the play state of the application and the few
// commands a click on a panel runs. The main window answers it from CutterApp.
#include <cstdint>

namespace zentora {

class PlayView {
 public:
  virtual ~PlayView() = default;
  virtual bool IsLoaded() const = 0;
  virtual bool IsStopped() const = 0;
  virtual bool IsPlaying() const = 0;
  virtual int32_t PointAMs() const = 0;  // -1 = not set
  virtual int32_t PointBMs() const = 0;  // -1 = not set
  virtual int32_t CurrentMs() const = 0;
  virtual int32_t DurationMs() const = 0;
  // Seeks the player (clamped to the file) and repaints both panels.
  virtual void SeekTo(int32_t ms) = 0;
  // The play/pause toggle.
  virtual void TogglePlay() = 0;
};

}  // namespace zentora
