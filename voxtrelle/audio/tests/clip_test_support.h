// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "voxtrelle/audio/audio_clip.h"

namespace voxtrelle::testing {

// Fills a 16-bit silent clip with the given samples (right empty: mono).
inline void make_clip(AudioClip& clip, const std::vector<float>& left,
                      const std::vector<float>& right = {}, int32_t rate = 44100) {
  const bool stereo = !right.empty();
  ASSERT_EQ(clip.create_silent(stereo, static_cast<int32_t>(left.size()), rate), 1);
  const auto fill = [&clip](int channel, const std::vector<float>& samples) {
    const auto page = static_cast<int32_t>(SampleFile::page_size());
    for (int32_t at = 0; at < static_cast<int32_t>(samples.size()); at += page) {
      const int32_t n = std::min<int32_t>(page, static_cast<int32_t>(samples.size()) - at);
      ASSERT_EQ(clip.store().channel(channel).write_run(at, samples.data() + at, n), 1);
    }
  };
  fill(0, left);
  if (stereo) fill(1, right);
}

// The samples of one channel, read page by page.
inline std::vector<float> samples_of(const AudioClip& clip, int channel) {
  std::vector<float> samples;
  const ChannelBuffer& buffer = clip.store().channel(channel);
  for (int32_t page = 0; page < buffer.pages(); ++page) {
    const float* data = buffer.page(page);
    if (data == nullptr) return {};
    samples.insert(samples.end(), data, data + buffer.samples_in_page(page));
  }
  return samples;
}

// A ramp of distinct values, so that moved or lost frames show.
inline std::vector<float> ramp(size_t n, float scale = 1.0f / 65536.0f) {
  std::vector<float> values(n);
  for (size_t i = 0; i < n; ++i) values[i] = static_cast<float>(i % 60000) * scale;
  return values;
}

// Little-endian PCM WAV bytes with the 44-byte header.
inline std::vector<uint8_t> wav_bytes(uint16_t channels, uint32_t rate, uint16_t bits,
                                      const std::vector<uint8_t>& data) {
  const size_t pad = data.size() % 2;
  std::vector<uint8_t> out(44 + data.size() + pad, 0);
  size_t at = 0;
  const auto put = [&out, &at](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at++] = static_cast<uint8_t>(v >> (8 * i));
  };
  const auto tag = [&out, &at](const char* text) {
    for (int i = 0; i < 4; ++i) out[at++] = static_cast<uint8_t>(text[i]);
  };
  const uint32_t block = channels * bits / 8u;
  tag("RIFF");
  put(static_cast<uint32_t>(36 + data.size() + pad), 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);
  put(channels, 2);
  put(rate, 4);
  put(rate * block, 4);
  put(block, 2);
  put(bits, 2);
  tag("data");
  put(static_cast<uint32_t>(data.size()), 4);
  std::copy(data.begin(), data.end(), out.begin() + 44);
  return out;
}

inline std::vector<uint8_t> pcm16_bytes(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> data;
  for (int16_t s : samples) {
    data.push_back(static_cast<uint8_t>(s));
    data.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) >> 8));
  }
  return data;
}

inline void write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
  std::fclose(file);
}

inline std::vector<uint8_t> read_file(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  uint8_t buffer[65536];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  std::fclose(file);
  return bytes;
}

// A fresh directory under the build's temporary area, removed with everything in it; also
// made the process's $TMPDIR while it lives so that stray "~Ve" files are seen.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("vx_") + info->test_suite_name() + "_" + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    path_ = (std::filesystem::temp_directory_path() / name).string();
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_ + "/tmp");
    old_tmpdir_ = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", (path_ + "/tmp").c_str(), 1);
  }
  ~ScratchDirectory() {
    if (old_tmpdir_.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", old_tmpdir_.c_str(), 1);
    }
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // Files in the scratch folder other than those listed.
  std::vector<std::string> leftovers(const std::vector<std::string>& expected = {}) const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      const std::string name = entry.path().filename().string();
      if (entry.is_directory()) continue;
      if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
        found.push_back(name);
      }
    }
    return found;
  }
  // Files in the temporary directory (sample files of live clips, or forgotten temporaries).
  size_t temp_files() const {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(path_ + "/tmp")) {
      count += entry.is_regular_file() ? 1 : 0;
    }
    return count;
  }

 private:
  std::string path_;
  std::string old_tmpdir_;
};

}  // namespace voxtrelle::testing
