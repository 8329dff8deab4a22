// SPDX-License-Identifier: GPL-3.0-or-later
// voxtrelle-cli's streamed WAV -> WAV jobs run as a program: an OUTPUT that is the INPUT, and
// a write that fails part-way.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "voxtrelle/audio/tests/clip_test_support.h"
#include "voxtrelle/audio/tests/test_support.h"
#include "voxtrelle/cli/tests/cli_process.h"

namespace voxtrelle::cli {
namespace {

using voxtrelle::testing::pcm16_bytes;
using voxtrelle::testing::read_file;
using voxtrelle::testing::wav_bytes;
using voxtrelle::testing::write_file;

// Noise-like stereo at 44.1 kHz, two pages and a bit long.
std::vector<uint8_t> noise_wav(int32_t frames) {
  std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
  uint32_t state = 99;
  for (int16_t& s : samples) {
    state = state * 1664525u + 1013904223u;
    s = static_cast<int16_t>(static_cast<int32_t>(state >> 16) / 3);
  }
  return wav_bytes(2, 44100, 16, pcm16_bytes(samples));
}

class CliStream : public ::testing::Test {
 protected:
  int run(const std::vector<std::string>& args, std::string* err = nullptr) {
    testing::CliProcess process(args, scratch_.path() + "/tmp", scratch_.file("run"));
    EXPECT_TRUE(process.started());
    const int status = process.wait();
    if (err != nullptr) *err = process.err();
    std::filesystem::remove(scratch_.file("run.out"));
    std::filesystem::remove(scratch_.file("run.err"));
    return status;
  }
  std::string file(const std::string& name) const { return scratch_.file(name); }

  voxtrelle::testing::ScratchDirectory scratch_;
};

// How OUTPUT names the INPUT.
enum class Spelling { kSamePath, kOtherPath, kLink };

class CliStreamInPlace : public CliStream, public ::testing::WithParamInterface<Spelling> {};

// Maximize reads the input twice, the second time while the new file is being written: the
// input must still be whole then, and the result must be what a separate output gets.
TEST_P(CliStreamInPlace, ReplacesTheInputOnlyWhenDone) {
  const std::vector<std::string> chain = {"delete-selected", "1000", "300000", "maximize",
                                          "fade-in"};
  std::filesystem::create_directory(file("dir"));
  write_file(file("dir/in.wav"), noise_wav(600000));
  std::vector<std::string> args = {"edit", file("dir/in.wav"), file("elsewhere.wav")};
  args.insert(args.end(), chain.begin(), chain.end());
  ASSERT_EQ(run(args), 0);
  const std::vector<uint8_t> expected = read_file(file("elsewhere.wav"));

  std::string output = file("dir/in.wav");
  if (GetParam() == Spelling::kOtherPath) output = file("dir/../dir/./in.wav");
  if (GetParam() == Spelling::kLink) {
    std::filesystem::create_symlink(file("dir/in.wav"), file("link.wav"));
    output = file("link.wav");
  }
  args[2] = output;
  std::string err;
  ASSERT_EQ(run(args, &err), 0) << err;
  EXPECT_EQ(read_file(file("dir/in.wav")), expected);
  if (GetParam() == Spelling::kLink) {
    EXPECT_TRUE(std::filesystem::is_symlink(file("link.wav")));
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file("dir")),
                          std::filesystem::directory_iterator{}),
            1);
  EXPECT_EQ(scratch_.temp_files(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cli, CliStreamInPlace,
                         ::testing::Values(Spelling::kSamePath, Spelling::kOtherPath,
                                           Spelling::kLink),
                         [](const ::testing::TestParamInfo<Spelling>& info) {
                           switch (info.param) {
                             case Spelling::kSamePath:
                               return "SamePath";
                             case Spelling::kOtherPath:
                               return "OtherPath";
                             case Spelling::kLink:
                               return "Link";
                           }
                           return "";
                         });

// A file-size limit stands in for a full disk: the write fails part-way, the old output stays
// and the half-written file is gone.
TEST_F(CliStream, FailedWriteKeepsTheOldOutput) {
  write_file(file("in.wav"), noise_wav(600000));
  std::filesystem::create_directory(file("out"));
  write_file(file("out/out.wav"), {'o', 'l', 'd'});
  std::string err;
  int status = 0;
  {
    const testing_support::FileSizeLimit limit(1 << 20);
    ASSERT_TRUE(limit.active());
    status = run({"edit", file("in.wav"), file("out/out.wav"), "fade-out"}, &err);
  }
  EXPECT_EQ(status, 1);
  EXPECT_EQ(err.rfind("voxtrelle-cli: cannot save \"" + file("out/out.wav") + "\": ", 0), 0u)
      << err;
  EXPECT_EQ(read_file(file("out/out.wav")), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file("out")),
                          std::filesystem::directory_iterator{}),
            1);
  EXPECT_EQ(scratch_.temp_files(), 0u);
}

}  // namespace
}  // namespace voxtrelle::cli
