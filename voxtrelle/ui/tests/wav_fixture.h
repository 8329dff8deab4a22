// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace voxtrelle::test {

// A 16-bit PCM WAV file written by the test into the temporary folder and removed afterwards.
// sample(frame, channel) gives each value.
class WavFixture {
 public:
  using Sample = std::function<int16_t(int32_t frame, int channel)>;

  WavFixture(const std::string& name, int channels, int32_t frames, uint32_t rate,
             const Sample& sample) {
    dir_ = std::filesystem::temp_directory_path() /
           ("vx-ui-" + std::to_string(::getpid()) + "-" + std::to_string(next_++));
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / name).string();
    const uint32_t block = 2u * channels;
    const uint32_t data = block * static_cast<uint32_t>(frames);
    std::vector<uint8_t> out;
    const auto put = [&out](uint32_t v, int n) {
      for (int i = 0; i < n; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put(36 + data, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4);
    put(1, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * block, 4);
    put(block, 2);
    put(16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put(data, 4);
    for (int32_t f = 0; f < frames; ++f) {
      for (int c = 0; c < channels; ++c) put(static_cast<uint16_t>(sample(f, c)), 2);
    }
    if (FILE* file = std::fopen(path_.c_str(), "wb")) {
      std::fwrite(out.data(), 1, out.size(), file);
      std::fclose(file);
    }
  }
  ~WavFixture() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  WavFixture(const WavFixture&) = delete;
  WavFixture& operator=(const WavFixture&) = delete;

  const std::string& path() const { return path_; }

 private:
  static inline int next_ = 0;
  std::filesystem::path dir_;
  std::string path_;
};

}  // namespace voxtrelle::test
