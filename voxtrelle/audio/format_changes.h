// SPDX-License-Identifier: GPL-3.0-or-later
// How the edits change a clip's file-side format. The clip's edits and the command line's
// streaming stages both use these, so a streamed file gets the header an edited clip would.
#pragma once

#include <cstdint>

#include "voxtrelle/audio/wave_format.h"

namespace voxtrelle::format_changes {

// Whether a 16-bit PCM format of channels at rate fits the format's fields.
inline bool pcm16_fits(uint16_t channels, uint32_t rate) {
  return rate != 0 && rate <= INT32_MAX && uint64_t{2} * channels * rate <= UINT32_MAX;
}

// The 16-bit PCM format of channels at rate, without extra bytes (the deletions' result).
inline WaveFormat pcm16(uint16_t channels, uint32_t rate) {
  const auto block_align = static_cast<uint16_t>(2 * channels);
  WaveFormat format;
  format.wFormatTag = kWaveFormatPcm;
  format.nChannels = channels;
  format.nSamplesPerSec = rate;
  format.nAvgBytesPerSec = block_align * rate;
  format.nBlockAlign = block_align;
  format.wBitsPerSample = 16;
  return format;
}

// Convert to Mono: one channel, half the bytes per frame.
inline void to_mono(WaveFormat& format) {
  format.nChannels = 1;
  format.nBlockAlign /= 2;
  format.nAvgBytesPerSec /= 2;
}

// Convert to Stereo: two channels, twice the bytes per frame.
inline void to_stereo(WaveFormat& format) {
  format.nChannels = 2;
  format.nBlockAlign *= 2;
  format.nAvgBytesPerSec *= 2;
}

// Whether frames of the stereo copy of a format with block_align bytes per frame still fit a
// WAV file's 32-bit data size.
inline bool stereo_fits(int32_t frames, uint16_t block_align) {
  return int64_t{frames} * block_align * 2 <= UINT32_MAX;
}

}  // namespace voxtrelle::format_changes
