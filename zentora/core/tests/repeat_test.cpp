// SPDX-License-Identifier: GPL-3.0-or-later
// The A-B repeat against the real GStreamer player, with sinks that have latency as a sound
// device has, ticking every 25 ms as the window's timer does.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <thread>
#include <vector>

#include "zentora/core/cutter_app.h"
#include "zentora/core/gst_mp3_player.h"
#include "zentora/core/tests/fakes.h"
#include "zentora/core/tests/test_support.h"

namespace zentora {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Passes every call to the real player and notes the position at each seek.
class SeekRecorder : public Mp3Player {
 public:
  SeekRecorder(std::unique_ptr<Mp3Player> inner, std::vector<std::pair<int32_t, int32_t>>& seeks)
      : inner_(std::move(inner)), seeks_(seeks) {}
  int build(const std::string& p, int v, std::string* e) override { return inner_->build(p, v, e); }
  void tearDown() override { inner_->tearDown(); }
  bool isBuilt() const override { return inner_->isBuilt(); }
  int run(std::string* e) override { return inner_->run(e); }
  void pause() override { inner_->pause(); }
  void stop() override { inner_->stop(); }
  int32_t currentMs() override { return inner_->currentMs(); }
  int32_t durationMs() override { return inner_->durationMs(); }
  bool atEnd() override { return inner_->atEnd(); }
  void seekMs(int32_t ms) override {
    seeks_.emplace_back(inner_->currentMs(), ms);
    inner_->seekMs(ms);
  }
  void setVolume(int32_t v) override { inner_->setVolume(v); }
  void setErrorCallback(ErrorCallback cb) override { inner_->setErrorCallback(std::move(cb)); }

 private:
  std::unique_ptr<Mp3Player> inner_;
  std::vector<std::pair<int32_t, int32_t>>& seeks_;
};

class RecordingBackend : public GstPlayerBackend {
 public:
  std::vector<std::pair<int32_t, int32_t>> seeks;  // (position before, target)
  std::unique_ptr<Mp3Player> createPlayer() override {
    return std::make_unique<SeekRecorder>(GstPlayerBackend::createPlayer(), seeks);
  }
};

struct Sink {
  const char* name;
  const char* description;
};
void PrintTo(const Sink& s, std::ostream* os) {
  *os << s.name;
}

class RepeatTest : public ::testing::TestWithParam<Sink> {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<testing::TempDir>();
    ASSERT_TRUE(testing::WriteMp3(dir_->file("tone.mp3"), {.seconds = 6}));
  }
  static void TearDownTestSuite() { dir_.reset(); }
  void SetUp() override { ::setenv("ZENTORA_AUDIO_SINK", GetParam().description, 1); }
  void TearDown() override {
    app.close();
    testing::UseFakeAudioSink();
  }

  // Opens the tone, sets A and B while paused, plays on.
  void openWithPoints(int32_t a, int32_t b) {
    ASSERT_EQ(app.open(dir_->file("tone.mp3")), 1) << (view.errors.empty() ? "" : view.errors[0]);
    app.playPause();
    app.seekTo(a);
    app.abKey();
    app.seekTo(b);
    app.abKey();
    ASSERT_NEAR(app.pointA(), a, 30);
    ASSERT_NEAR(app.pointB(), b, 30);
    app.seekTo(app.pointA() + 50);
    app.playPause();
    ASSERT_EQ(app.playState(), PlayState::Playing);
    backend.seeks.clear();
  }

  // Ticks every 25 ms for `span`, noting the highest position seen.
  int32_t tickFor(Clock::duration span) {
    int32_t highest = 0;
    auto next = Clock::now();
    const auto end = next + span;
    while (next < end) {
      next += 25ms;
      std::this_thread::sleep_until(next);
      app.onTick();
      highest = std::max(highest, app.currentMs());
    }
    return highest;
  }

  static std::unique_ptr<testing::TempDir> dir_;
  RecordingBackend backend;
  testing::FakeView view;
  testing::FakeTimer timer;
  CutterApp app{backend, view, timer};
};
std::unique_ptr<testing::TempDir> RepeatTest::dir_;

// Each pass plays from A to B and seeks back once, at or past B. Playback held at A by
// repeated seeks would show up as seeks made before B and as a position that never nears B.
TEST_P(RepeatTest, EachPassPlaysToBAndSeeksOnce) {
  openWithPoints(1000, 1600);
  const int32_t a = app.pointA();
  const int32_t b = app.pointB();
  const int32_t highest = tickFor(3200ms);
  EXPECT_GE(highest, b - 60) << "playback reaches B";
  // 3.2 s of passes that last 0.6 s plus the latency after each seek.
  EXPECT_GE(backend.seeks.size(), 2u);
  EXPECT_LE(backend.seeks.size(), 6u);
  for (const auto& [before, target] : backend.seeks) {
    EXPECT_EQ(target, a);
    EXPECT_GE(before, b) << "a seek back to A is made only once B is reached";
    EXPECT_LE(before, b + 100) << "the repeat turns soon after B";
  }
}

// B at the end of a file whose stream ends before its stated length (trailing bytes that
// are no audio): the end of the stream comes before the position reaches B and ends the pass
// just as B would.
TEST_P(RepeatTest, EndOfStreamBeforeBEndsThePass) {
  const std::string path = dir_->file("padded.mp3");
  testing::WriteFile(path,
                     testing::ReadFile(dir_->file("tone.mp3")) + std::string(48 * 1024, '\0'));
  ASSERT_EQ(app.open(path), 1);
  ASSERT_GT(app.durationMs(), 8000) << "the stated length counts the trailing bytes";
  app.playPause();
  app.seekTo(5300);
  app.abKey();
  app.seekEnd();
  app.abKey();
  ASSERT_EQ(app.pointB(), app.durationMs());
  app.seekTo(app.pointA() + 50);
  app.playPause();
  backend.seeks.clear();
  const int32_t highest = tickFor(2500ms);
  EXPECT_EQ(app.playState(), PlayState::Playing);
  EXPECT_LT(highest, 6300) << "the audio ends near 6 s";
  EXPECT_GE(backend.seeks.size(), 2u) << "the repeat went back to A after each end of stream";
  EXPECT_LE(backend.seeks.size(), 5u);
  for (const auto& [before, target] : backend.seeks) {
    EXPECT_EQ(target, app.pointA());
    EXPECT_GT(before, 5800) << "each pass played to the end of the audio";
  }
}

// A seek by the user outside A..B while a seek back is still settling is pulled back too.
TEST_P(RepeatTest, SeekOutsideTheStretchIsPulledBack) {
  openWithPoints(1000, 1600);
  tickFor(200ms);
  app.seekTo(4000);
  backend.seeks.clear();
  tickFor(100ms);
  ASSERT_FALSE(backend.seeks.empty());
  EXPECT_EQ(backend.seeks.front().second, app.pointA());
}

INSTANTIATE_TEST_SUITE_P(
    Sinks, RepeatTest,
    ::testing::Values(
        Sink{"noLatency", "fakesink sync=true"},
        Sink{"renderDelay", "fakesink sync=true render-delay=150000000"},
        Sink{"queueAndDelay",
             "queue max-size-time=300000000 ! fakesink sync=true render-delay=100000000"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zentora
