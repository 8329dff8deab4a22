// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace zentora {

enum class PlayState : int { Stopped = 0, Paused = 1, Playing = 2 };

// The 200 ms minimum distance between A and B for a cut.
inline constexpr int32_t kMinCutMs = 200;
// The playback tick (timer 1000) and the tool polling interval.
inline constexpr int kTickIntervalMs = 25;
inline constexpr int kToolPollIntervalMs = 200;
// Volume in hundredths of a decibel.
inline constexpr int32_t kVolumeSilence = -10000;
inline constexpr int32_t kVolumeDefault = -500;

}  // namespace zentora
