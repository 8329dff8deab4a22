// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "voxtrelle/audio/progress.h"

namespace voxtrelle::test {

// A fresh folder per test, made the process's TMPDIR while it lives.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // Names of the entries that start with "~Ve".
  std::vector<std::string> ve_files() const;

 private:
  std::string path_;
  std::string old_tmpdir_;
  bool had_tmpdir_ = false;
};

// A PCM WAV file's format and samples.
struct PcmWav {
  uint16_t format_tag = 0;
  uint16_t channels = 0;
  uint32_t sample_rate = 0;
  uint16_t bits = 0;
  std::vector<int16_t> samples;  // interleaved; 16-bit PCM (plain or extensible) only
  size_t frames() const { return channels ? samples.size() / channels : 0; }
};

// Writes a 16-bit PCM WAV of a sine tone at the given peak (0..1), each channel its own pitch.
void write_tone_wav(const std::string& path, uint16_t channels, uint32_t rate, uint32_t frames,
                    double peak = 0.5);
// Writes interleaved 16-bit samples as a PCM WAV file.
void write_pcm_wav(const std::string& path, uint16_t channels, uint32_t rate,
                   const std::vector<int16_t>& samples);
// Reads any RIFF/WAVE file's fmt chunk and, for 16-bit PCM, its samples. False when malformed.
bool read_wav(const std::string& path, PcmWav& wav);
// Root-mean-square level of one channel, full scale = 1.
double rms(const PcmWav& wav, int channel, size_t from = 0, size_t to = SIZE_MAX);

// Runs the ffmpeg command line quietly with these arguments; true on exit status 0.
bool run_ffmpeg(const std::vector<std::string>& args);

bool file_exists(const std::string& path);
std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);
uint64_t file_size(const std::string& path);

// Records every position it reaches and can request cancellation when the position first
// reaches a threshold.
class RecordingSink : public ProgressSink {
 public:
  explicit RecordingSink(uint32_t total, uint32_t cancel_at = UINT32_MAX)
      : ProgressSink(total), cancel_at_(cancel_at) {}
  void position_changed() override {
    positions.push_back(position());
    if (position() >= cancel_at_) request_cancel();
  }
  std::vector<uint32_t> positions;

 private:
  uint32_t cancel_at_;
};

}  // namespace voxtrelle::test
