// SPDX-License-Identifier: GPL-3.0-or-later
// voxtrelle-cli and the temporary folder: a missing folder or too little space is named as the
// cause, nothing is created or reserved on the way.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "voxtrelle/audio/tests/clip_test_support.h"
#include "voxtrelle/cli/tests/cli_process.h"

namespace voxtrelle::cli {
namespace {

using voxtrelle::testing::pcm16_bytes;
using voxtrelle::testing::wav_bytes;
using voxtrelle::testing::write_file;

std::string slurp(const std::string& path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// 54 bytes: a stereo 16-bit header whose data chunk claims 4 GiB, followed by 10 bytes.
std::vector<uint8_t> huge_claim_wav() {
  std::vector<uint8_t> bytes = wav_bytes(2, 44100, 16, std::vector<uint8_t>(10, 0));
  bytes.resize(40);
  put32(bytes, 0xFFFFFFFFu);
  bytes.resize(54, 0);
  return bytes;
}

class CliTempFolder : public ::testing::Test {
 protected:
  std::string file(const std::string& name) const { return scratch_.file(name); }
  voxtrelle::testing::ScratchDirectory scratch_;
};

// A 16 MiB tmpfs as $TMPDIR, in a mount namespace of its own: the load is refused before any
// block is reserved, with the folder, the space needed and the space free in the message.
TEST_F(CliTempFolder, HugeDeclaredLengthIsRefusedBeforeReserving) {
  write_file(file("huge.wav"), huge_claim_wav());
  ASSERT_EQ(std::filesystem::file_size(file("huge.wav")), 54u);
  const std::string mnt = file("mnt");
  std::filesystem::create_directory(mnt);
  std::ofstream(file("run.sh")) << "mount -t tmpfs -o size=16m tmpfs '" << mnt << "' || exit 77\n"
                                << "TMPDIR='" << mnt << "' '" << VOXTRELLE_CLI_PATH << "' info '"
                                << file("huge.wav") << "' > '" << file("out") << "' 2> '"
                                << file("err") << "'\n"
                                << "echo $? > '" << file("status") << "'\n"
                                << "ls -A '" << mnt << "' > '" << file("left") << "'\n"
                                << "df --output=used -B1 '" << mnt << "' | tail -1 | tr -d ' ' > '"
                                << file("used") << "'\n";
  const std::string sh = "sh '" + file("run.sh") + "'";
  int raw = std::system(("unshare -m " + sh + " 2>/dev/null").c_str());
  if (!WIFEXITED(raw) || WEXITSTATUS(raw) != 0) {
    raw = std::system(("unshare -rm " + sh + " 2>/dev/null").c_str());
  }
  if (!WIFEXITED(raw) || WEXITSTATUS(raw) != 0) GTEST_SKIP() << "no small tmpfs can be mounted";
  EXPECT_EQ(slurp(file("status")), "1\n");
  EXPECT_EQ(slurp(file("err")), "voxtrelle-cli: cannot open \"" + file("huge.wav") +
                                    "\": not enough space in the temporary folder \"" + mnt +
                                    "\": 8.0 GiB needed, 16.0 MiB free\n");
  EXPECT_EQ(slurp(file("out")), "");
  EXPECT_EQ(slurp(file("left")), "");
  EXPECT_EQ(slurp(file("used")), "0\n");
}

class CliMissingTempFolder : public CliTempFolder,
                             public ::testing::WithParamInterface<const char*> {};

// A $TMPDIR that names no folder is reported as such and is not created.
TEST_P(CliMissingTempFolder, IsNamedAndNotCreated) {
  const std::string input = file(std::string("in.") + GetParam());
  std::vector<int16_t> samples(2000, 1000);
  write_file(file("in.wav"), wav_bytes(1, 8000, 16, pcm16_bytes(samples)));
  if (std::string(GetParam()) == "wma") {
    testing::CliProcess encode({"edit", file("in.wav"), input}, scratch_.path() + "/tmp",
                               file("encode"));
    ASSERT_EQ(encode.wait(), 0) << encode.err();
  }
  const std::string missing = file("no/such/tmp");
  testing::CliProcess process({"info", input}, missing, file("run"));
  EXPECT_EQ(process.wait(), 1);
  EXPECT_EQ(process.err(), "voxtrelle-cli: cannot open \"" + input + "\": the temporary folder \"" +
                               missing + "\" does not exist\n");
  EXPECT_FALSE(std::filesystem::exists(file("no")));
}

#ifdef VOXTRELLE_CLI_HAS_MEDIA
INSTANTIATE_TEST_SUITE_P(Cli, CliMissingTempFolder, ::testing::Values("wav", "wma"));
#else
INSTANTIATE_TEST_SUITE_P(Cli, CliMissingTempFolder, ::testing::Values("wav"));
#endif

}  // namespace
}  // namespace voxtrelle::cli
