// SPDX-License-Identifier: GPL-3.0-or-later
// StreamOutput writes exactly the bytes given, with direct writes (an ordinary disk) and
// without them (a file system in memory, which refuses them).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "voxtrelle/audio/tests/clip_test_support.h"
#include "voxtrelle/cli/stream_output.h"

namespace voxtrelle::cli {
namespace {

class StreamOutputTest : public ::testing::TestWithParam<bool> {
 protected:
  std::string folder() const { return GetParam() ? std::string("/dev/shm") : scratch_.path(); }
  voxtrelle::testing::ScratchDirectory scratch_;
};

TEST_P(StreamOutputTest, WritesEveryByteInOrder) {
  if (GetParam()) {
    ASSERT_TRUE(std::filesystem::is_directory("/dev/shm"));
  }
  const std::string path = folder() + "/vx_stream_output_" + std::to_string(getpid()) + ".bin";
  std::mt19937 random(7);
  // Sizes that straddle the alignment and the buffer: a header, runs, odd tails.
  for (const size_t total : {size_t{0}, size_t{1}, size_t{4095}, size_t{4097}, size_t{3 << 20},
                             size_t{(3 << 20) + 45}}) {
    SCOPED_TRACE(total);
    std::vector<uint8_t> bytes(total);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    {
      StreamOutput output(fd);
      size_t at = 0;
      while (at < total) {
        const size_t piece =
            std::min(total - at, size_t{random() % (StreamOutput::kMaxReserve + 1)});
        if (random() % 2 == 0) {
          ASSERT_TRUE(output.write(bytes.data() + at, piece));
        } else {
          uint8_t* room = output.reserve(piece);
          ASSERT_NE(room, nullptr);
          std::copy_n(bytes.data() + at, piece, room);
          output.commit(piece);
        }
        at += piece;
      }
      ASSERT_TRUE(output.finish());
    }
    ::close(fd);
    EXPECT_EQ(voxtrelle::testing::read_file(path), bytes);
  }
  std::filesystem::remove(path);
}

INSTANTIATE_TEST_SUITE_P(Cli, StreamOutputTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "InMemoryFileSystem" : "Disk";
                         });

}  // namespace
}  // namespace voxtrelle::cli
