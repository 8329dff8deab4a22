// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/cut_job.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <ostream>

#include <chrono>
#include <filesystem>
#include <thread>

#include "zentora/core/gst_mp3_player.h"
#include "zentora/core/tests/test_support.h"
#include "zentora/core/text_table.h"

namespace zentora {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct TimeCase {
  int32_t ms;
  const char* text;
};
void PrintTo(const TimeCase& r, std::ostream* os) {
  *os << r.text;
}

class TimeText : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TimeText, MinutesSecondsHundredths) {
  EXPECT_EQ(SplitterTimeText(GetParam().ms), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeText,
                         ::testing::Values(TimeCase{75430, "1.15.43"}, TimeCase{5, "0.0.0"},
                                           TimeCase{3723050, "62.3.5"}, TimeCase{80000, "1.20.0"},
                                           TimeCase{0, "0.0.0"}, TimeCase{59999, "0.59.99"},
                                           TimeCase{60000, "1.0.0"}, TimeCase{109, "0.0.10"}));

TEST(SaveName, Mp3ExtensionRule) {
  EXPECT_EQ(WithMp3Extension("/m/x"), "/m/x.mp3");
  EXPECT_EQ(WithMp3Extension("/m/x.MP3"), "/m/x.MP3");
  EXPECT_EQ(WithMp3Extension("/m/x.Mp3"), "/m/x.Mp3");
  EXPECT_EQ(WithMp3Extension("/m/a.wav"), "/m/a.wav.mp3");
  EXPECT_EQ(WithMp3Extension("/m/mp3"), "/m/mp3.mp3");
}

TEST(SaveName, FolderAndName) {
  EXPECT_EQ(OutputFolder("/music/cuts/a.wav.mp3"), "/music/cuts");
  EXPECT_EQ(OutputName("/music/cuts/a.wav.mp3"), "a.wav");
  EXPECT_EQ(OutputFolder("/x.mp3"), "/");
  EXPECT_EQ(OutputName("/x.mp3"), "x");
  EXPECT_EQ(FileNamePart("/music/my song.mp3"), "my song.mp3");
}

TEST(SplitterArgs, OrderInBothModes) {
  CutRequest r{"/in/song.mp3", "/out dir/cut.mp3", 75430, 80000, true};
  EXPECT_EQ(SplitterArguments("/usr/bin/mp3splt", r, "cut"),
            (std::vector<std::string>{"/usr/bin/mp3splt", "/in/song.mp3", "1.15.43", "1.20.0", "-d",
                                      "/out dir", "-o", "cut", "-f"}));
  r.frameMode = false;
  EXPECT_EQ(SplitterArguments("mp3splt", r, "cut"),
            (std::vector<std::string>{"mp3splt", "/in/song.mp3", "1.15.43", "1.20.0", "-d",
                                      "/out dir", "-o", "cut"}));
  EXPECT_EQ(RepairArguments("/usr/bin/mp3val", "/a b.mp3"),
            (std::vector<std::string>{"/usr/bin/mp3val", "-f", "/a b.mp3"}));
}

TEST(SaveTargetCheck, SelfExistingAndFree) {
  testing::TempDir dir;
  const std::string open = dir.file("Song.mp3");
  testing::WriteFile(open, "x");
  EXPECT_EQ(CheckSaveTarget(open, open), SaveTarget::SelfOverwrite);
  EXPECT_EQ(CheckSaveTarget(dir.file("song.MP3"), open), SaveTarget::SelfOverwrite);
  EXPECT_EQ(CheckSaveTarget(dir.path() + "/./Song.mp3", open), SaveTarget::SelfOverwrite);
  const std::string other = dir.file("other.mp3");
  testing::WriteFile(other, "y");
  ::chmod(other.c_str(), 0444);
  EXPECT_EQ(CheckSaveTarget(other, open), SaveTarget::Exists);
  struct stat st;
  ASSERT_EQ(::stat(other.c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IWUSR) << "a read-only target is made writable";
  EXPECT_EQ(CheckSaveTarget(dir.file("new.mp3"), open), SaveTarget::Free);
}

TEST(SaveTargetCheck, WriteTest) {
  testing::TempDir dir;
  std::string error;
  EXPECT_EQ(WriteTest(dir.file("ok.mp3"), &error), 1);
  EXPECT_FALSE(fs::exists(dir.file("ok.mp3"))) << "the test file is deleted at once";
  testing::WriteFile(dir.file("old.mp3"), "old");
  EXPECT_EQ(WriteTest(dir.file("old.mp3"), &error), 1);
  EXPECT_FALSE(fs::exists(dir.file("old.mp3"))) << "replacing removes the old file first";
  EXPECT_EQ(WriteTest(dir.file("no such folder/x.mp3"), &error), 0);
  EXPECT_EQ(
      error,
      "文件创建失败：\r\nNo such file or directory\r\n\r\n（请检查您是否有目标文件夹的写入权限）");
}

TEST(Tools, ProgramFolderComesBeforePath) {
  testing::TempDir dir;
  EXPECT_EQ(FindTool("mp3splt", dir.path()), "/usr/bin/mp3splt");
  const std::string own = dir.file("mp3splt");
  testing::WriteFile(own, "#!/bin/sh\nexit 0\n");
  ::chmod(own.c_str(), 0755);
  EXPECT_EQ(FindTool("mp3splt", dir.path()), own);
  EXPECT_EQ(FindTool("zentora-no-such-tool", dir.path()), "");
}

// Real cuts: an 8-second CBR tone cut from 2.00 to 5.50 s. The splitter cuts at frame
// boundaries (26 ms at 44.1 kHz), so the length may differ by up to 3 frames (80 ms).
struct CutCase {
  const char* name;
  const char* inputName;
  const char* outputName;
  bool frameMode;
};
void PrintTo(const CutCase& r, std::ostream* os) {
  *os << r.name;
}

class RealCut : public ::testing::TestWithParam<CutCase> {
 protected:
  static void SetUpTestSuite() { testing::UseFakeAudioSink(); }
};

TEST_P(RealCut, WritesTheStretchBetweenAAndB) {
  testing::TempDir dir;
  const CutCase& c = GetParam();
  const std::string input = dir.file(c.inputName);
  ASSERT_TRUE(testing::WriteMp3(input, {.seconds = 8}));
  fs::create_directories(dir.file("输出 folder"));
  const std::string output = WithMp3Extension(dir.file(std::string("输出 folder/") + c.outputName));

  CutJob job;
  job.start({input, output, 2000, 5500, c.frameMode});
  // Polling never blocks; a quick cut may already be done by the first poll.
  const CutJob::State first = job.poll();
  EXPECT_TRUE(first == CutJob::State::Running || first == CutJob::State::Succeeded);
  ASSERT_EQ(job.wait(), CutJob::State::Succeeded);
  EXPECT_EQ(job.resultText(), LoadText(kTextCutDone));
  ASSERT_TRUE(fs::exists(output));
  GstPlayerBackend backend;
  auto player = backend.createPlayer();
  std::string error;
  ASSERT_EQ(player->build(output, 1, &error), 1) << error;
  EXPECT_NEAR(player->durationMs(), 3500, 80);
  EXPECT_EQ(
      std::distance(fs::directory_iterator(dir.file("输出 folder")), fs::directory_iterator()), 1)
      << "nothing but the output is left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Names, RealCut,
    ::testing::Values(CutCase{"FrameMode", "in.mp3", "cut", true},
                      CutCase{"BitRateMode", "in.mp3", "cut.mp3", false},
                      CutCase{"SpacesAndChinese", "我的 歌曲.mp3", "剪切 结果 1", true},
                      CutCase{"Quotes", "it's \"q\".mp3", "say \"hi\" it's", false},
                      CutCase{"PlusAndAt", "a+b@f.mp3", "x+y@f@t.MP3", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FailedCut, SplitterErrorIsReported) {
  testing::TempDir dir;
  const std::string input = dir.file("junk.mp3");
  testing::WriteFile(input, std::string(30000, 'j'));
  CutJob job;
  job.start({input, dir.file("out.mp3"), 1000, 2000, true});
  EXPECT_EQ(job.wait(), CutJob::State::Failed);
  EXPECT_EQ(job.resultText(), CutFailedText());
  EXPECT_FALSE(fs::exists(dir.file("out.mp3")));
}

TEST(FailedCut, ExitZeroWithoutOutputIsAFailure) {
  testing::TempDir dir;
  const std::string tool = dir.file("fake-splitter");
  testing::WriteFile(tool, "#!/bin/sh\nexit 0\n");
  ::chmod(tool.c_str(), 0755);
  CutJob job;
  job.start({dir.file("in.mp3"), dir.file("out.mp3"), 0, 1000, true}, tool);
  EXPECT_EQ(job.wait(), CutJob::State::Failed);
}

TEST(FailedCut, EmptyOutputIsAFailure) {
  testing::TempDir dir;
  const std::string tool = dir.file("fake-splitter");
  // Arguments: input A B -d folder -o name: create an empty name.mp3.
  testing::WriteFile(tool, "#!/bin/sh\n: > \"$5/$7.mp3\"\nexit 0\n");
  ::chmod(tool.c_str(), 0755);
  CutJob job;
  job.start({dir.file("in.mp3"), dir.file("out.mp3"), 0, 1000, false}, tool);
  EXPECT_EQ(job.wait(), CutJob::State::Failed);
  EXPECT_TRUE(fs::exists(dir.file("out.mp3")));
}

TEST(FailedCut, MissingSplitterFailsAtFirstPoll) {
  testing::TempDir dir;
  CutJob job;
  job.start({dir.file("in.mp3"), dir.file("out.mp3"), 0, 1000, true}, dir.file("absent"));
  EXPECT_EQ(job.poll(), CutJob::State::Failed);
}

TEST(CancelCut, AbandonLeavesTheSplitterRunning) {
  testing::TempDir dir;
  const std::string tool = dir.file("slow-splitter");
  testing::WriteFile(tool, "#!/bin/sh\nsleep 0.3\necho data > \"$5/$7.mp3\"\n");
  ::chmod(tool.c_str(), 0755);
  for (const char* name : {"plain.mp3", "a+b.mp3"}) {
    CutJob job;
    job.start({dir.file("in.mp3"), dir.file(name), 0, 1000, true}, tool);
    EXPECT_EQ(job.poll(), CutJob::State::Running);
    job.abandon();
    EXPECT_NE(job.poll(), CutJob::State::Running);
    EXPECT_FALSE(fs::exists(dir.file(name)));
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!fs::exists(dir.file(name)) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(fs::exists(dir.file(name))) << name << ": the abandoned splitter still finishes";
  }
}

// A cut cancelled just before the program ends: no hidden file outlives the program, and the
// output still gets its name once the splitter is done, as it does for a plain name.
TEST(CancelCut, ProgramExitLeavesNoHiddenFile) {
  GTEST_FLAG_SET(death_test_style, "fast");  // the child shares the folder
  testing::TempDir dir;
  const std::string tool = dir.file("slow-splitter");
  testing::WriteFile(tool, "#!/bin/sh\nsleep 0.3\necho data > \"$5/$7.mp3\"\n");
  ::chmod(tool.c_str(), 0755);
  const std::string output = dir.file("a+b.mp3");
  EXPECT_EXIT(
      {
        CutJob job;
        job.start({dir.file("in.mp3"), output, 0, 1000, true}, tool);
        job.abandon();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!fs::exists(output) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(testing::ReadFile(output), "data\n");
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    EXPECT_NE(entry.path().filename().string().rfind(".zentora-cut-", 0), 0u) << entry.path();
  }
}

TEST(ToolProcessTest, PollsUntilExitAndReportsStatus) {
  ToolProcess p;
  ASSERT_EQ(p.start({"/bin/sh", "-c", "sleep 0.2; exit 3"}), 1);
  EXPECT_FALSE(p.finished());
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!p.finished() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_TRUE(p.finished());
  EXPECT_EQ(p.exitStatus(), 3);
  ToolProcess missing;
  EXPECT_EQ(missing.start({"/nonexistent/tool"}), 0);
  EXPECT_TRUE(missing.finished());
  EXPECT_EQ(missing.exitStatus(), -1);
}

}  // namespace
}  // namespace zentora
