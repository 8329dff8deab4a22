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

// Legitimate files whose size does not fit their length the way a plain MP3's does.
struct OddFile {
  const char* name;
  testing::Mp3Format format;
  std::string (*shape)(std::string mp3);  // the encoder's output -> the file's bytes
  int32_t lengthMs;                       // 0: the length is not checked
};
void PrintTo(const OddFile& f, std::ostream* os) {
  *os << f.name;
}

// An ID3v2.3 tag of `bytes` bytes holding one picture frame of pseudo-random data.
std::string Id3Tag(size_t bytes) {
  const size_t body = bytes - 10;
  std::string tag = "ID3\x03\x00\x00";
  for (int shift : {21, 14, 7, 0}) tag += static_cast<char>((body >> shift) & 0x7f);
  const size_t frame = body - 10;
  tag += "APIC";
  for (int shift : {24, 16, 8, 0}) tag += static_cast<char>((frame >> shift) & 0xff);
  tag += std::string("\x00\x00\x00image/jpeg\x00\x03\x00", 16);
  uint32_t seed = 12345;
  while (tag.size() < bytes) {
    seed = seed * 1103515245u + 12345u;
    tag += static_cast<char>((seed >> 16) & 0x7f);  // no frame sync inside the picture
  }
  return tag;
}

std::string WithLargeTag(std::string mp3) {
  return Id3Tag(400 * 1024) + mp3;
}
std::string WithTrailingJunk(std::string mp3) {
  return mp3 + std::string(300 * 1024, '\0') + std::string(100 * 1024, 'j');
}
std::string AsItIs(std::string mp3) {
  return mp3;
}
// Every frame header's bit-rate index set to 0 ("free"): the decoder finds the frame length
// from the distance between headers.
std::string AsFreeFormat(std::string mp3) {
  static constexpr int kKbps[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  for (size_t i = 0; i + 4 < mp3.size();) {
    const auto b2 = static_cast<unsigned char>(mp3[i + 2]);
    const int index = b2 >> 4;
    if (static_cast<unsigned char>(mp3[i]) != 0xff ||
        static_cast<unsigned char>(mp3[i + 1]) != 0xfb || index == 0 || index == 15) {
      ++i;
      continue;
    }
    const size_t length = 144 * kKbps[index] * 1000 / 44100 + ((b2 >> 1) & 1);
    mp3[i + 2] = static_cast<char>(b2 & 0x0f);
    i += length;
  }
  return mp3;
}

class OpenFlowOddFile : public OpenFlowTest, public ::testing::WithParamInterface<OddFile> {};

TEST_P(OpenFlowOddFile, PlaysUnchanged) {
  const std::string path = dir.file("odd.mp3");
  const std::string encoded = path + ".encoded";
  ASSERT_TRUE(testing::WriteMp3(encoded, GetParam().format));
  const std::string bytes = GetParam().shape(testing::ReadFile(encoded));
  std::filesystem::remove(encoded);
  testing::WriteFile(path, bytes);
  ASSERT_EQ(app.open(path), 1) << (view.errors.empty() ? "" : view.errors[0]);
  EXPECT_TRUE(view.repairs.empty());
  EXPECT_EQ(testing::ReadFile(path), bytes);
  EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
  // The encoder pads up to two frames; at 8 kHz a frame lasts 72 ms.
  if (GetParam().lengthMs > 0) {
    EXPECT_NEAR(app.durationMs(), GetParam().lengthMs, 200);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenFlowOddFile,
    ::testing::Values(
        OddFile{"shortWithLargeTag", {.seconds = 1, .cbr = false}, WithLargeTag, 1000},
        OddFile{"trailingJunk", {.seconds = 3, .cbr = false}, WithTrailingJunk, 3000},
        OddFile{
            "lowBitRate", {.seconds = 3, .rate = 8000, .channels = 1, .bitrate = 8}, AsItIs, 3000},
        OddFile{"freeFormat", {.seconds = 3}, AsFreeFormat, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zentora
