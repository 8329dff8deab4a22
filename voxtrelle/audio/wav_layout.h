// SPDX-License-Identifier: GPL-3.0-or-later
// Where a WAV file's samples lie and the header written before them, for readers and writers
// that move PCM without a clip's float store (the command line's streaming edits).
#pragma once

#include <cstddef>
#include <cstdint>

#include "voxtrelle/audio/wave_format.h"

namespace voxtrelle {

class AudioClip;
class ByteStream;

inline constexpr size_t kWavHeaderBytes = 44;

// The one data chunk of a PCM file that a load would read in full.
struct WavDataLayout {
  uint64_t offset = 0;  // bytes from the file's start to the first frame
  int32_t frames = 0;
};

// Walks every chunk as a load does and succeeds only when the load would read exactly one data
// chunk of 8/16-bit PCM, mono or stereo, lying wholly inside the file, and keep it: clip gets
// the format and counts, layout the place of the frames. Anything else (a short data chunk,
// a second data or format chunk after the data, no data) returns 0; a load decides those.
int locate_wav_data(ByteStream& stream, AudioClip& clip, WavDataLayout& layout);

// The 44-byte header of a PCM file of the format with data_bytes of frames (the pad byte of
// an odd size counted in the RIFF size). Returns 0 when the file would pass 4 GiB.
int make_wav_header(const WaveFormat& format, uint64_t data_bytes,
                    uint8_t (&header)[kWavHeaderBytes]);

}  // namespace voxtrelle
