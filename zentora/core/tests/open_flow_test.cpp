// SPDX-License-Identifier: GPL-3.0-or-later
// The open flow against the real GStreamer player and the real repair tool.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <thread>
#include <vector>

#include "zentora/core/cutter_app.h"
#include "zentora/core/gst_mp3_player.h"
#include "zentora/core/tests/fakes.h"
#include "zentora/core/tests/test_support.h"
#include "zentora/core/text_table.h"
#include "zentora/core/tool_process.h"

namespace zentora {
namespace {

class OpenFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::UseFakeAudioSink();
    view.repairAction = [](const std::string& path) { RunRepairBlocking(path); };
  }
  void TearDown() override { app.close(); }

  testing::TempDir dir;
  GstPlayerBackend backend;
  testing::FakeView view;
  testing::FakeTimer timer;
  CutterApp app{backend, view, timer};
};

// A VBR file whose Xing header claims a single frame: the player refuses the impossible
// length, the repair tool rewrites the header, the second attempt opens it.
TEST_F(OpenFlowTest, DamagedHeaderIsRepairedAndOpens) {
  const std::string path = dir.file("damaged vbr.mp3");
  ASSERT_TRUE(testing::WriteMp3(path, {.seconds = 6, .cbr = false}));
  std::string bytes = testing::ReadFile(path);
  const size_t xing = bytes.find("Xing");
  ASSERT_NE(xing, std::string::npos);
  bytes.replace(xing + 8, 4, std::string("\0\0\0\1", 4));  // frame count = 1
  testing::WriteFile(path, bytes);
  // A read-only file and a read-only old backup must not stop the repair.
  testing::WriteFile(path + ".bak", "old backup");
  ::chmod((path + ".bak").c_str(), 0444);
  ::chmod(path.c_str(), 0444);

  ASSERT_EQ(app.open(path), 1) << (view.errors.empty() ? "" : view.errors[0]);
  EXPECT_EQ(view.repairs, (std::vector<std::string>{path}));
  EXPECT_NEAR(app.durationMs(), 6000, 100);
  EXPECT_EQ(app.playState(), PlayState::Playing);
  EXPECT_EQ(view.title, std::string("damaged vbr - ") + LoadText(kTextCaption));
}

TEST_F(OpenFlowTest, NonMp3FailsWithLoadFailedAfterOneRepair) {
  const std::string path = dir.file("notes.mp3");
  testing::WriteFile(path, std::string(50000, 'n'));
  EXPECT_EQ(app.open(path), 0);
  EXPECT_EQ(view.repairs.size(), 1u);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0].rfind("载入失败：\r\n", 0), 0u) << view.errors[0];
  EXPECT_GT(view.errors[0].size(), std::string("载入失败：\r\n").size()) << "with a reason";
  EXPECT_FALSE(app.loaded());
}

TEST_F(OpenFlowTest, GoodFileOpensWithoutRepairAndLoops) {
  const std::string path = dir.file("歌曲 one.mp3");
  ASSERT_TRUE(testing::WriteMp3(path, {.seconds = 4}));
  ASSERT_EQ(app.open(path), 1);
  EXPECT_TRUE(view.repairs.empty());
  app.playPause();  // paused, so the points land where the seeks went
  app.seekTo(1000);
  app.abKey();
  app.seekTo(1300);
  app.abKey();
  EXPECT_NEAR(app.pointA(), 1000, 30);
  EXPECT_NEAR(app.pointB(), 1300, 30);
  app.playPause();
  app.seekTo(3000);
  app.onTick();
  EXPECT_NEAR(app.currentMs(), app.pointA(), 30) << "pulled back to A";
}

// The renderer fails while playing: the error arrives on a streaming thread through the
// callback, and once posted back it stops playback with text 141.
TEST_F(OpenFlowTest, ErrorWhilePlayingStopsWithPlaybackError) {
  ::setenv("ZENTORA_AUDIO_SINK", "identity error-after=10 ! fakesink sync=true", 1);
  const std::string path = dir.file("tone.mp3");
  ASSERT_TRUE(testing::WriteMp3(path, {.seconds = 4}));
  std::mutex mutex;
  std::condition_variable posted;
  std::vector<std::pair<uint64_t, std::string>> events;
  std::thread::id callbackThread;
  view.onPostedError = [&](uint64_t serial, const std::string& text) {
    std::lock_guard lock(mutex);
    events.emplace_back(serial, text);
    callbackThread = std::this_thread::get_id();
    posted.notify_all();
  };
  ASSERT_EQ(app.open(path), 1);
  std::unique_lock lock(mutex);
  ASSERT_TRUE(posted.wait_for(lock, std::chrono::seconds(5), [&] { return !events.empty(); }));
  EXPECT_NE(callbackThread, std::this_thread::get_id());
  const auto event = events.front();
  lock.unlock();
  app.onGraphEvent(event.first, event.second);
  EXPECT_EQ(app.playState(), PlayState::Stopped);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0], std::string("播放异常：\r\n") + event.second);
  testing::UseFakeAudioSink();
}

// A file that plays although the repair tool would rebuild it: one frame header in the middle
// is overwritten, so the tool reports a stream error while the decoder resynchronises.
std::string WriteFileWithDamagedFrame(const std::string& path) {
  if (!testing::WriteMp3(path, {.seconds = 4})) return std::string();
  std::string bytes = testing::ReadFile(path);
  const size_t frame = bytes.find("\xff\xfb", bytes.size() / 2);
  if (frame == std::string::npos) return std::string();
  bytes.replace(frame, 4, std::string("\x00\x11\x22\x33", 4));
  testing::WriteFile(path, bytes);
  return bytes;
}

TEST_F(OpenFlowTest, FileWithADamagedFrameThatPlaysIsNotRepaired) {
  const std::string path = dir.file("damaged frame.mp3");
  const std::string bytes = WriteFileWithDamagedFrame(path);
  ASSERT_FALSE(bytes.empty());
  ASSERT_EQ(app.open(path), 1) << (view.errors.empty() ? "" : view.errors[0]);
  EXPECT_TRUE(view.repairs.empty());
  EXPECT_EQ(testing::ReadFile(path), bytes);
}

struct BrokenDevice {
  const char* name;
  const char* sink;
};
void PrintTo(const BrokenDevice& d, std::ostream* os) {
  *os << d.name;
}

class OpenFlowBrokenDevice : public OpenFlowTest,
                             public ::testing::WithParamInterface<BrokenDevice> {
 protected:
  void TearDown() override {
    OpenFlowTest::TearDown();
    testing::UseFakeAudioSink();
  }
};

// A device that fails to start or never takes audio is a device failure: the file stays as
// it is, no backup appears, and playing reports the device.
TEST_P(OpenFlowBrokenDevice, NeverRepairsThePlayableFile) {
  const std::string path = dir.file("song.mp3");
  const std::string bytes = WriteFileWithDamagedFrame(path);
  ASSERT_FALSE(bytes.empty());
  ::setenv("ZENTORA_AUDIO_SINK", GetParam().sink, 1);
  app.open(path);
  EXPECT_TRUE(view.repairs.empty());
  EXPECT_EQ(testing::ReadFile(path), bytes) << "the file is unchanged";
  EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
  EXPECT_EQ(view.errors,
            (std::vector<std::string>{FormatText(kTextPlayFailed, {NoAudioDeviceText()})}));
  EXPECT_TRUE(app.loaded()) << "the file is open; playing can be tried again";
  EXPECT_EQ(app.playState(), PlayState::Stopped);
  EXPECT_NEAR(app.durationMs(), 4000, 100);
}

INSTANTIATE_TEST_SUITE_P(
    Sinks, OpenFlowBrokenDevice,
    ::testing::Values(BrokenDevice{"failsToStart", "fakesink state-error=ready-to-paused"},
                      BrokenDevice{"neverPrerolls", "valve drop=true ! fakesink"}),
    [](const auto& info) { return std::string(info.param.name); });

// Opening only plays: a file the user made read-only, and its old backup, stay read-only.
TEST_F(OpenFlowTest, OpeningKeepsAReadOnlyFileReadOnly) {
  const std::string path = dir.file("kept.mp3");
  ASSERT_TRUE(testing::WriteMp3(path, {.seconds = 2}));
  testing::WriteFile(path + ".bak", "old backup");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  ASSERT_EQ(::chmod((path + ".bak").c_str(), 0440), 0);
  ASSERT_EQ(app.open(path), 1);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  ASSERT_EQ(::stat((path + ".bak").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0440u);
}

}  // namespace
}  // namespace zentora
