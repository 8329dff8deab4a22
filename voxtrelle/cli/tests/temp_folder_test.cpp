// SPDX-License-Identifier: GPL-3.0-or-later
// voxtrelle-cli and the temporary folder: a missing folder or too little space is named as the
// cause, nothing is created or reserved on the way.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "voxtrelle/audio/audio_document.h"
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

// A temporary folder the user may not write in is named as the cause. Run as an ordinary user:
// root writes anywhere.
TEST_F(CliTempFolder, UnwritableFolderIsNamed) {
  const std::string input = file("in.wav");
  write_file(input, wav_bytes(1, 8000, 16, pcm16_bytes(std::vector<int16_t>(2000, 1000))));
  const std::string locked = file("locked");
  std::filesystem::create_directory(locked);
  ::chmod(locked.c_str(), 0555);
  ::chmod(scratch_.path().c_str(), 0755);
  ::chmod(input.c_str(), 0644);
  const std::string command = "setpriv --reuid=65534 --regid=65534 --clear-groups env TMPDIR='" +
                              locked + "' '" + VOXTRELLE_CLI_PATH + "' info '" + input + "' 2> '" +
                              file("err") + "'";
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 1);
  EXPECT_EQ(slurp(file("err")), "voxtrelle-cli: cannot open \"" + input +
                                    "\": cannot write in the temporary folder \"" + locked +
                                    "\"\n");
}

#ifdef VOXTRELLE_CLI_HAS_MEDIA
INSTANTIATE_TEST_SUITE_P(Cli, CliMissingTempFolder, ::testing::Values("wav", "wma"));
#else
INSTANTIATE_TEST_SUITE_P(Cli, CliMissingTempFolder, ::testing::Values("wav"));
#endif

// Names in the temporary folder, sorted.
std::vector<std::string> temp_names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Loads input (and fades it in when `edit`) in a process that then dies by SIGKILL.
void die_with_document(const std::string& input, bool edit) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    AudioDocument document;
    document.keep_recovery_record();
    if (!document.load(input, nullptr) || (edit && !document.fade_in(-1, -1))) _exit(3);
    kill(getpid(), SIGKILL);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
}

// A run deletes what dead runs left behind, but keeps a dead editor's unsaved edits for the
// editor to offer, and the files of a live document.
TEST_F(CliTempFolder, RunCleansUpOnlyWhatNobodyNeeds) {
  const std::string tmp = scratch_.path() + "/tmp";
  write_file(file("in.wav"), wav_bytes(1, 8000, 16, pcm16_bytes(std::vector<int16_t>(100, 7))));
  die_with_document(file("in.wav"), true);
  const std::vector<std::string> unsaved = temp_names(tmp);
  ASSERT_EQ(unsaved.size(), 2u);  // a record and a sample file
  die_with_document(file("in.wav"), false);
  AudioDocument live;
  live.keep_recovery_record();
  ASSERT_TRUE(live.load(file("in.wav"), nullptr));
  const size_t before = temp_names(tmp).size();
  ASSERT_EQ(before, 6u);

  testing::CliProcess process({"--help"}, tmp, file("run"));
  ASSERT_EQ(process.wait(), 0);
  std::vector<std::string> expected = unsaved;
  expected.push_back(std::filesystem::path(live.current_clip().store().channel(0).file()->path())
                         .filename()
                         .string());
  std::vector<std::string> names = temp_names(tmp);
  EXPECT_EQ(names.size(), 4u);
  for (const std::string& name : expected) {
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
  }
}

}  // namespace
}  // namespace voxtrelle::cli
