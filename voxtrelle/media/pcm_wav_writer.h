// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace voxtrelle {

// Writes a canonical 16-bit PCM WAV file: the 44-byte RIFF header (fmt chunk of 16 bytes, tag 1)
// followed by the data chunk, the sizes patched in finish(). This is the one layout the WAV
// reader always accepts; FFmpeg's wav muxer would switch to WAVE_FORMAT_EXTENSIBLE above 48 kHz
// and add a LIST chunk. The file is not removed here; the caller owns its fate.
class PcmWavWriter {
 public:
  PcmWavWriter() = default;
  ~PcmWavWriter();
  PcmWavWriter(const PcmWavWriter&) = delete;
  PcmWavWriter& operator=(const PcmWavWriter&) = delete;

  // Creates or truncates path (never through a symbolic link) and writes a provisional header.
  int open(const std::string& path, uint16_t channels, uint32_t sample_rate);
  // Appends interleaved 16-bit little-endian samples; fails once the data would not fit the
  // 32-bit RIFF sizes.
  int write(const void* data, size_t bytes);
  // Patches the sizes, adds the pad byte for an odd size and closes the file.
  int finish();

  uint64_t data_bytes() const { return data_bytes_; }

 private:
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, FileCloser> file_;
  uint64_t data_bytes_ = 0;
};

}  // namespace voxtrelle
