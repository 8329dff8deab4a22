// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace voxtrelle {

inline constexpr uint16_t kWaveFormatPcm = 1;

// The 16-byte PCM header of a WAV "fmt " chunk, in file order.
struct PcmHeader {
  uint16_t wFormatTag = 0;
  uint16_t nChannels = 0;
  uint32_t nSamplesPerSec = 0;   // frames per second
  uint32_t nAvgBytesPerSec = 0;  // bytes per second
  uint16_t nBlockAlign = 0;      // bytes per frame
  uint16_t wBitsPerSample = 0;
};

// The format of a clip's file side, shaped like WAVEFORMATEX without its trailing extra bytes.
struct WaveFormat {
  uint16_t wFormatTag = 0;
  uint16_t nChannels = 0;
  uint32_t nSamplesPerSec = 0;   // frames per second
  uint32_t nAvgBytesPerSec = 0;  // bytes per second
  uint16_t nBlockAlign = 0;      // bytes per frame
  uint16_t wBitsPerSample = 0;
  uint16_t cbSize = 0;  // extra format bytes that follow

  bool operator==(const WaveFormat&) const = default;
};

}  // namespace voxtrelle
