// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "voxtrelle/playback/wave_out.h"

namespace voxtrelle::testing {

// Collects posted notifications so a test decides when the "interface thread" runs them.
class PostedCalls {
 public:
  UiPoster poster() {
    return [this](std::function<void()> call) { calls_.push_back(std::move(call)); };
  }
  // Runs every posted call, including those posted while running.
  void RunAll() {
    while (!calls_.empty()) {
      auto call = std::move(calls_.front());
      calls_.pop_front();
      call();
    }
  }
  size_t pending() const { return calls_.size(); }

 private:
  std::deque<std::function<void()>> calls_;
};

// A distinct, always positive 16-bit value for every frame and channel, so that a played
// sample tells where it came from (positive values survive the float round trip exactly).
inline int16_t SampleAt(int32_t frame, int channel) {
  return static_cast<int16_t>(1 + (frame * 7 + channel * 3) % 30000);
}

inline void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Writes a PCM WAV file of frames frames with SampleAt values (16-bit), or with the 8-bit
// value 128 + (frame % 100) + 1 for bits == 8.
inline void WriteWav(const std::string& path, int channels, int32_t frames, uint32_t rate,
                     int bits = 16) {
  const uint32_t block = channels * bits / 8;
  const uint32_t data_bytes = block * static_cast<uint32_t>(frames);
  std::vector<uint8_t> out;
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  PutLe(out, 36 + data_bytes, 4);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);
  PutLe(out, channels, 2);
  PutLe(out, rate, 4);
  PutLe(out, rate * block, 4);
  PutLe(out, block, 2);
  PutLe(out, bits, 2);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  PutLe(out, data_bytes, 4);
  for (int32_t f = 0; f < frames; ++f) {
    for (int c = 0; c < channels; ++c) {
      if (bits == 8) {
        out.push_back(static_cast<uint8_t>(129 + f % 100));
      } else {
        PutLe(out, static_cast<uint16_t>(SampleAt(f, c)), 2);
      }
    }
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(out.data(), 1, out.size(), file);
  std::fclose(file);
}

// A file name in the temporary folder that is removed with this object.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& suffix) {
    path_ = (std::filesystem::temp_directory_path() /
             ("vx-playback-" + std::to_string(::getpid()) + "-" + std::to_string(next_++) + suffix))
                .string();
  }
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  static inline int next_ = 0;
  std::string path_;
};

}  // namespace voxtrelle::testing
