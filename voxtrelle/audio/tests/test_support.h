// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace voxtrelle::testing_support {

// Gives every test its own temporary directory through $TMPDIR, so that leftover "~Ve" files
// can be counted, and removes it afterwards.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Names in the temporary directory that start with "~Ve".
  std::vector<std::string> leftovers() const;
  std::string file(const std::string& name) const { return dir_ + "/" + name; }
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
  std::string saved_tmpdir_;
  bool had_tmpdir_ = false;
};

// Little-endian RIFF pieces for hand-made WAV files.
void put16(std::vector<uint8_t>& out, uint16_t v);
void put32(std::vector<uint8_t>& out, uint32_t v);

// A chunk with its declared size (normally the body's size) and a pad byte after an odd body.
std::vector<uint8_t> chunk(const std::string& id, const std::vector<uint8_t>& body,
                           bool pad = true);
std::vector<uint8_t> chunk_declared(const std::string& id, uint32_t declared,
                                    const std::vector<uint8_t>& body);
// The 16-byte fmt body; block align and average bytes derived unless given.
std::vector<uint8_t> fmt_body(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                              int block_align = -1, int64_t avg = -1);
// "RIFF" size "WAVE" + the chunks.
std::vector<uint8_t> riff(const std::vector<std::vector<uint8_t>>& chunks);
// A plain 16-bit PCM file of the given interleaved samples.
std::vector<uint8_t> pcm16_wav(uint16_t channels, uint32_t rate,
                               const std::vector<int16_t>& samples);

// Stands in for a full disk: while it lives no file may grow past `bytes`, and a write past
// that fails with EFBIG instead of raising SIGXFSZ. Both are restored when it goes.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool active() const { return active_; }

 private:
  struct sigaction previous_ {};
  rlimit saved_{};
  bool active_ = false;
};

void write_file(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> read_file(const std::string& path);
bool exists(const std::string& path);

// Runs work in a child process as user and group 65534 (when started as root, whom file
// permissions do not stop) and returns its result, or -1 when the child could not run it.
int as_nobody(const std::function<int()>& work);

}  // namespace voxtrelle::testing_support
