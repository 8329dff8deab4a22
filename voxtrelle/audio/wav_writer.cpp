// SPDX-License-Identifier: GPL-3.0-or-later
// RIFF/WAVE writing: the 44-byte header, the samples, and AudioClip::save_wav.
#include <unistd.h>

#include <climits>
#include <cstring>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/replace_file.h"
#include "voxtrelle/audio/wav_file.h"
#include "voxtrelle/audio/wav_layout.h"

namespace voxtrelle {
namespace {

void put32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
void put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

int make_wav_header(const WaveFormat& format, uint64_t data_bytes,
                    uint8_t (&header)[kWavHeaderBytes]) {
  const uint64_t data = data_bytes;
  const uint32_t pad = data & 1;
  if (data + 36 + pad > UINT32_MAX) return 0;
  std::memcpy(header, "RIFF", 4);
  put32(header + 4, static_cast<uint32_t>(36 + data + pad));
  std::memcpy(header + 8, "WAVEfmt ", 8);
  put32(header + 16, 16);
  put16(header + 20, kWaveFormatPcm);
  put16(header + 22, format.nChannels);
  put32(header + 24, format.nSamplesPerSec);
  put32(header + 28, format.nAvgBytesPerSec);
  put16(header + 32, format.nBlockAlign);
  put16(header + 34, format.wBitsPerSample);
  std::memcpy(header + 36, "data", 4);
  put32(header + 40, static_cast<uint32_t>(data));
  return 1;
}

int write_wav_stream(ByteStream& stream, const AudioClip& clip, ProgressSink* progress) {
  const WaveFormat& format = clip.format();
  const SampleStore& store = clip.store();
  if (!stream.is_open() || !clip.is_header_consistent() || !store.is_valid() || !store.is_flat() ||
      cancel_requested(progress) || format.wFormatTag != kWaveFormatPcm || !stream.rewind()) {
    return 0;
  }
  if ((format.nChannels != 1 && format.nChannels != 2) || format.nChannels != store.channels() ||
      (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) ||
      clip.frames() != store.frames()) {
    return 0;
  }
  const uint64_t data = uint64_t{static_cast<uint32_t>(clip.frames())} * format.nBlockAlign;
  const uint32_t pad = data & 1;
  uint8_t header[kWavHeaderBytes];
  if (!make_wav_header(format, data, header)) return 0;
  if (stream.write(header, kWavHeaderBytes, 1) != 1) return 0;
  if (!store.write_pcm(stream, format, progress)) return 0;
  if (pad != 0 && !stream.write_byte(0)) return 0;
  return 1;
}

int save_wav(const std::string& path, const AudioClip& clip, ProgressSink* progress) {
  // A write-protected target is refused, not replaced.
  if (path.empty() || cancel_requested(progress) || !target_is_writable(path)) {
    report_failure(progress);
    return 0;
  }
  // Write under a temporary name (replace_file.h) and put the file in the target's place only
  // when everything was written: a failed save never destroys the file that was there.
  const std::string temporary = sibling_temp_path(path, "wav");
  if (temporary.empty()) {
    report_failure(progress);
    return 0;
  }
  int ok = 0;
  {
    WavStream stream;
    if (stream.open_write(temporary)) {
      stream.set_write_behind(true);  // replace_file syncs it before the rename
      ok = write_wav_stream(stream, clip, progress);
      ok = stream.close() && ok;
    }
  }
  if (ok) ok = replace_file(temporary, path, progress);
  if (!ok) {
    unlink(temporary.c_str());
    report_failure(progress);
    return 0;
  }
  report_complete(progress);
  return 1;
}

int AudioClip::save_wav(const std::string& path, ProgressSink* progress) const {
  return voxtrelle::save_wav(path, *this, progress);
}

}  // namespace voxtrelle
