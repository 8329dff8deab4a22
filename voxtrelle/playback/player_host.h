// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace voxtrelle {

// What the player needs of the window it lives in: the waveform it moves the cursor over and
// the repeating timer that paces the cursor. Interface thread only.
class PlayerHost {
 public:
  virtual ~PlayerHost() = default;
  // Client width of the waveform window in pixels; 0 when it has none.
  virtual int WaveformWidth() = 0;
  // Invalidates the waveform without erasing and repaints it at once.
  virtual void RepaintWaveform() = 0;
  // (Re)arms the repeating cursor timer; the player calls OnTimer at every tick. Returns 0
  // when there is no window to own the timer.
  virtual int ArmTimer(uint32_t interval_ms) = 0;
  virtual void KillTimer() = 0;
};

}  // namespace voxtrelle
