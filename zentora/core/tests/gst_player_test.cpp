// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/gst_mp3_player.h"

#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "zentora/core/tests/test_support.h"
#include "zentora/core/text_table.h"

namespace zentora {
namespace {

using namespace std::chrono_literals;

// One 8-second file shared by the tests of this suite.
class GstPlayerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testing::UseFakeAudioSink();
    dir_ = new testing::TempDir();
    ASSERT_TRUE(testing::WriteMp3(dir_->file("tone.mp3"), {.seconds = 8}));
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::string tone() { return dir_->file("tone.mp3"); }

  GstPlayerBackend backend;
  static testing::TempDir* dir_;
};
testing::TempDir* GstPlayerTest::dir_ = nullptr;

class GstPlayerVariant : public GstPlayerTest, public ::testing::WithParamInterface<int> {};

TEST_P(GstPlayerVariant, BuildsAndReportsTheDuration) {
  auto player = backend.createPlayer();
  std::string error;
  ASSERT_EQ(player->build(tone(), GetParam(), &error), 1) << error;
  EXPECT_TRUE(player->isBuilt());
  // The encoder pads with up to one frame (26 ms) at each end.
  EXPECT_NEAR(player->durationMs(), 8000, 60);
  EXPECT_EQ(player->currentMs(), 0);
  EXPECT_FALSE(player->atEnd());
}

INSTANTIATE_TEST_SUITE_P(Variants, GstPlayerVariant, ::testing::Values(1, 2));

TEST_F(GstPlayerTest, PlayingAdvancesThePosition) {
  auto player = backend.createPlayer();
  ASSERT_EQ(player->build(tone(), 1, nullptr), 1);
  std::string error;
  ASSERT_EQ(player->run(&error), 1) << error;
  std::this_thread::sleep_for(400ms);
  const int32_t p = player->currentMs();
  EXPECT_GE(p, 200);
  EXPECT_LE(p, 1500);
  player->pause();
  const int32_t paused = player->currentMs();
  std::this_thread::sleep_for(200ms);
  EXPECT_NEAR(player->currentMs(), paused, 30) << "a paused player does not move";
}

TEST_F(GstPlayerTest, SeekClampsToTheFile) {
  auto player = backend.createPlayer();
  ASSERT_EQ(player->build(tone(), 1, nullptr), 1);
  player->seekMs(3000);
  EXPECT_NEAR(player->currentMs(), 3000, 30);
  player->seekMs(-500);
  EXPECT_EQ(player->currentMs(), 0);
  player->seekMs(player->durationMs() + 10000);
  EXPECT_NEAR(player->currentMs(), player->durationMs(), 30);
}

TEST_F(GstPlayerTest, ReachesTheEnd) {
  auto player = backend.createPlayer();
  ASSERT_EQ(player->build(tone(), 1, nullptr), 1);
  player->seekMs(player->durationMs() - 300);
  ASSERT_EQ(player->run(nullptr), 1);
  const auto deadline = std::chrono::steady_clock::now() + 3s;
  while (!player->atEnd() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(25ms);
  }
  EXPECT_TRUE(player->atEnd());
  // Playing again from the start after the end.
  player->stop();
  player->seekMs(0);
  EXPECT_FALSE(player->atEnd());
  ASSERT_EQ(player->run(nullptr), 1);
  std::this_thread::sleep_for(200ms);
  EXPECT_GT(player->currentMs(), 50);
}

TEST_F(GstPlayerTest, SeekWhilePlayingLandsAtTheTarget) {
  auto player = backend.createPlayer();
  ASSERT_EQ(player->build(tone(), 2, nullptr), 1);
  ASSERT_EQ(player->run(nullptr), 1);
  std::this_thread::sleep_for(100ms);
  player->seekMs(5000);
  EXPECT_NEAR(player->currentMs(), 5000, 60);
  player->setVolume(-10000);
  player->setVolume(-511);
  std::this_thread::sleep_for(100ms);
  EXPECT_GT(player->currentMs(), 5000);
}

struct BadInput {
  const char* name;
  std::string bytes;
};
void PrintTo(const BadInput& r, std::ostream* os) {
  *os << r.name;
}

class GstPlayerRejects : public GstPlayerTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(GstPlayerRejects, NonMp3InBothVariants) {
  const std::string path = dir_->file(std::string(GetParam().name) + ".mp3");
  testing::WriteFile(path, GetParam().bytes);
  auto player = backend.createPlayer();
  for (int variant : {1, 2}) {
    std::string error;
    EXPECT_EQ(player->build(path, variant, &error), 0) << variant;
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(player->isBuilt());
  }
}

INSTANTIATE_TEST_SUITE_P(Files, GstPlayerRejects,
                         ::testing::Values(BadInput{"empty", ""},
                                           BadInput{"text", std::string(20000, 'x')},
                                           BadInput{"wavHeader", "RIFF\x24\x00\x00\x00WAVEfmt " +
                                                                     std::string(4000, '\0')}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GstPlayerTest, MissingFileIsRejected) {
  auto player = backend.createPlayer();
  std::string error;
  EXPECT_EQ(player->build(dir_->file("absent.mp3"), 1, &error), 0);
  EXPECT_FALSE(error.empty());
}

TEST_F(GstPlayerTest, RendererCheck) {
  std::string error;
  EXPECT_EQ(backend.checkRenderer(&error), 1) << error;
  ::setenv("ZENTORA_AUDIO_SINK", "nosuchsinkelement", 1);
  EXPECT_EQ(backend.checkRenderer(&error), 0);
  EXPECT_EQ(error, NoAudioDeviceText());
  auto player = backend.createPlayer();
  EXPECT_EQ(player->build(tone(), 1, &error), 0);
  EXPECT_EQ(error, NoAudioDeviceText());
  testing::UseFakeAudioSink();
}

TEST(GstElements, BothVariantsAreInstalled) {
  EXPECT_EQ(CheckPlayerElements(), 0);
}

}  // namespace
}  // namespace zentora
