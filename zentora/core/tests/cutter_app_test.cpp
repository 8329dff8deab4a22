// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/cutter_app.h"

#include <gtest/gtest.h>

#include <ostream>

#include "zentora/core/commands.h"
#include "zentora/core/tests/fakes.h"
#include "zentora/core/text_table.h"

namespace zentora {
namespace {

using testing::FakeBackend;
using testing::FakeTimer;
using testing::FakeView;

class CutterAppTest : public ::testing::Test {
 protected:
  FakeBackend backend;
  FakeView view;
  FakeTimer timer;
  CutterApp app{backend, view, timer};
  testing::FakePlayerState& s = backend.state;

  void openPlaying() { ASSERT_EQ(app.open("/music/song one.mp3"), 1); }
  // Puts A and B at the given positions through the A-B key.
  void setPoints(int32_t a, int32_t b) {
    s.position = a;
    app.abKey();
    s.position = b;
    app.abKey();
  }
};

TEST_F(CutterAppTest, OpenStartsPlaybackFromTheStart) {
  s.position = 1234;
  openPlaying();
  EXPECT_TRUE(app.loaded());
  EXPECT_EQ(app.playState(), PlayState::Playing);
  EXPECT_TRUE(s.running);
  EXPECT_EQ(s.position, 0);
  EXPECT_TRUE(timer.running);
  EXPECT_EQ(timer.interval, 25);
  EXPECT_EQ(view.status[0], LoadText(kTextPlaying));
  EXPECT_EQ(view.status[2], "/music/song one.mp3");
  EXPECT_EQ(view.title, std::string("song one - ") + LoadText(kTextCaption));
  ASSERT_FALSE(s.volumes.empty());
  EXPECT_EQ(s.volumes.front(), -500);
  EXPECT_EQ(app.toolbarStrip(), 140);
  EXPECT_EQ(s.buildVariants, (std::vector<int>{1}));
}

TEST_F(CutterAppTest, OpenWhileMutedAppliesSilence) {
  app.settings().mute = 1;
  openPlaying();
  ASSERT_FALSE(s.volumes.empty());
  EXPECT_EQ(s.volumes.front(), -10000);
}

TEST_F(CutterAppTest, OpenWithoutRendererOpensNothing) {
  backend.rendererPresent = false;
  EXPECT_EQ(app.open("/music/a.mp3"), 0);
  EXPECT_FALSE(app.loaded());
  EXPECT_EQ(s.builds, 0);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0], "no renderer");
}

TEST_F(CutterAppTest, SecondVariantIsTriedBeforeRepair) {
  s.buildFailures = 1;
  openPlaying();
  EXPECT_EQ(s.buildVariants, (std::vector<int>{1, 2}));
  EXPECT_TRUE(view.repairs.empty());
}

TEST_F(CutterAppTest, BothVariantsFailingRepairsAndRetries) {
  s.buildFailures = 2;
  openPlaying();
  EXPECT_EQ(s.buildVariants, (std::vector<int>{1, 2, 1}));
  EXPECT_EQ(view.repairs, (std::vector<std::string>{"/music/song one.mp3"}));
  EXPECT_TRUE(view.errors.empty());
}

TEST_F(CutterAppTest, FailureAfterRepairShowsLoadFailedAndLeavesNothingLoaded) {
  openPlaying();
  s.position = 5000;
  app.abKey();
  s.buildFailures = 4;
  EXPECT_EQ(app.open("/music/broken.mp3"), 0);
  EXPECT_EQ(s.buildVariants, (std::vector<int>{1, 1, 2, 1, 2}));
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0], "载入失败：\r\nvariant 2 failed");
  EXPECT_FALSE(app.loaded());
  EXPECT_EQ(app.pointA(), -1);
  EXPECT_EQ(view.status[0], LoadText(kTextNotLoaded));
  EXPECT_EQ(view.status[2], "");
  EXPECT_EQ(view.title, LoadText(kTextCaption));
  EXPECT_FALSE(timer.running);
}

TEST_F(CutterAppTest, OpeningAnotherFileClearsThePoints) {
  openPlaying();
  setPoints(1000, 3000);
  openPlaying();
  EXPECT_EQ(app.pointA(), -1);
  EXPECT_EQ(app.pointB(), -1);
  EXPECT_EQ(app.playState(), PlayState::Playing);
}

TEST_F(CutterAppTest, PlayPauseCycles) {
  openPlaying();
  app.command(kCmdPlayPause);
  EXPECT_EQ(app.playState(), PlayState::Paused);
  EXPECT_FALSE(timer.running);
  EXPECT_FALSE(s.running);
  EXPECT_EQ(view.status[0], LoadText(kTextPaused));
  s.position = 7000;
  app.command(kCmdPlayPause);
  EXPECT_EQ(app.playState(), PlayState::Playing);
  EXPECT_EQ(s.position, 7000) << "resuming from pause keeps the position";
  EXPECT_TRUE(timer.running);
}

TEST_F(CutterAppTest, RunFailureShowsPlayFailedAndKeepsState) {
  openPlaying();
  app.playPause();
  s.failRun = true;
  app.playPause();
  EXPECT_EQ(app.playState(), PlayState::Paused);
  EXPECT_FALSE(timer.running);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0], "播放失败：\r\ndevice busy");
}

TEST_F(CutterAppTest, NothingHappensWithoutAFile) {
  for (int id : {kCmdPlayPause, kCmdStop, kCmdJumpForward, kCmdJumpBack, kCmdHome, kCmdEnd,
                 kCmdABKey, kCmdCut, kCmdAPlus, kCmdAMinus, kCmdBPlus, kCmdBMinus}) {
    EXPECT_TRUE(app.command(id));
  }
  EXPECT_FALSE(app.loaded());
  EXPECT_TRUE(view.errors.empty());
  EXPECT_TRUE(view.cuts.empty());
  EXPECT_FALSE(app.command(kCmdAbout));
}

TEST_F(CutterAppTest, StopClearsPointsAndDisablesCut) {
  openPlaying();
  setPoints(1000, 3000);
  s.position = 2000;
  app.command(kCmdStop);
  EXPECT_EQ(app.playState(), PlayState::Stopped);
  EXPECT_EQ(app.pointA(), -1);
  EXPECT_EQ(app.pointB(), -1);
  EXPECT_EQ(s.position, 0);
  EXPECT_FALSE(timer.running);
  EXPECT_EQ(view.status[0], LoadText(kTextStopped));
  EXPECT_FALSE(OperationMenuItem(kCmdCut, app.snapshot()).enabled);
  app.cutRequest();
  EXPECT_TRUE(view.cuts.empty());
}

TEST_F(CutterAppTest, UpWhileStoppedDoesNothing) {
  openPlaying();
  app.stop();
  s.position = 0;
  app.abKey();
  EXPECT_EQ(app.pointA(), -1);
}

TEST_F(CutterAppTest, UpThreeTimesSetsAThenBThenClears) {
  openPlaying();
  s.position = 1500;
  app.abKey();
  EXPECT_EQ(app.pointA(), 1500);
  EXPECT_EQ(app.pointB(), -1);
  EXPECT_EQ(app.toolbarStrip(), 141);
  s.position = 4200;
  app.abKey();
  EXPECT_EQ(app.pointA(), 1500);
  EXPECT_EQ(app.pointB(), 4200);
  EXPECT_EQ(app.toolbarStrip(), 139);
  app.abKey();
  EXPECT_EQ(app.pointA(), -1);
  EXPECT_EQ(app.pointB(), -1);
  EXPECT_EQ(app.toolbarStrip(), 140);
}

TEST_F(CutterAppTest, BEarlierThanASwaps) {
  openPlaying();
  setPoints(9000, 2000);
  EXPECT_EQ(app.pointA(), 2000);
  EXPECT_EQ(app.pointB(), 9000);
}

TEST_F(CutterAppTest, PointsWorkWhilePaused) {
  openPlaying();
  app.playPause();
  setPoints(100, 200);
  EXPECT_EQ(app.pointB(), 200);
  EXPECT_EQ(app.toolbarStrip(), 145);
}

struct RepeatCase {
  int32_t position;
  bool seeksToA;
};
void PrintTo(const RepeatCase& r, std::ostream* os) {
  *os << r.position;
}

class RepeatTick : public CutterAppTest, public ::testing::WithParamInterface<RepeatCase> {};

TEST_P(RepeatTick, SeeksToAOutsideOrAtTheEdges) {
  openPlaying();
  setPoints(10000, 20000);
  s.position = GetParam().position;
  s.seeks.clear();
  app.onTick();
  if (GetParam().seeksToA) {
    EXPECT_EQ(s.seeks, (std::vector<int32_t>{10000}));
    EXPECT_EQ(s.position, 10000);
  } else {
    EXPECT_TRUE(s.seeks.empty());
  }
  EXPECT_EQ(app.playState(), PlayState::Playing);
}

INSTANTIATE_TEST_SUITE_P(Edges, RepeatTick,
                         ::testing::Values(RepeatCase{10000, true}, RepeatCase{20000, true},
                                           RepeatCase{10001, false}, RepeatCase{19999, false},
                                           RepeatCase{0, true}, RepeatCase{25000, true},
                                           RepeatCase{60000, true}));

// A device with latency reports A (or a little before) for a while after the seek back:
// the pass has begun and is not turned again; once past A the edges count again.
TEST_F(CutterAppTest, RepeatSeeksOncePerPassWhileTheDeviceCatchesUp) {
  openPlaying();
  setPoints(10000, 20000);
  s.position = 20010;
  s.seeks.clear();
  app.onTick();
  ASSERT_EQ(s.seeks, (std::vector<int32_t>{10000}));
  for (int32_t reported : {10000, 9900, 10000}) {
    s.position = reported;
    app.onTick();
  }
  EXPECT_EQ(s.seeks.size(), 1u);
  s.position = 10040;
  app.onTick();
  s.position = 10000;  // back at A after moving on: outside the stretch again
  app.onTick();
  EXPECT_EQ(s.seeks.size(), 2u);
}

// A jump by the user is judged afresh even while the device still catches up.
TEST_F(CutterAppTest, UserSeekToAWhileCatchingUpIsPulledBack) {
  openPlaying();
  setPoints(10000, 20000);
  s.position = 20000;
  app.onTick();
  app.seekHome();
  s.seeks.clear();
  app.onTick();
  EXPECT_EQ(s.seeks, (std::vector<int32_t>{10000}));
}

// The end of the stream inside a repeat ends the pass, even before the position reaches B.
TEST_F(CutterAppTest, EndOfStreamInsideTheRepeatGoesBackToA) {
  openPlaying();
  setPoints(50000, 60000);
  s.duration = 58000;  // the decoded stream ends before the stated length
  s.position = 58000;
  s.seeks.clear();
  app.onTick();
  EXPECT_EQ(s.seeks, (std::vector<int32_t>{50000}));
  EXPECT_EQ(app.playState(), PlayState::Playing);
  EXPECT_EQ(app.pointB(), 60000);
}

TEST_F(CutterAppTest, TickDoesNothingWhilePaused) {
  openPlaying();
  setPoints(10000, 20000);
  app.playPause();
  s.position = 30000;
  s.seeks.clear();
  app.onTick();
  EXPECT_TRUE(s.seeks.empty());
}

TEST_F(CutterAppTest, OnlyARunsToTheEndAndStopsClearingA) {
  openPlaying();
  s.position = 5000;
  app.abKey();
  s.position = 59999;
  app.onTick();
  EXPECT_EQ(app.playState(), PlayState::Playing);
  EXPECT_EQ(app.pointA(), 5000);
  s.position = 60000;
  app.onTick();
  EXPECT_EQ(app.playState(), PlayState::Stopped);
  EXPECT_EQ(app.pointA(), -1);
  EXPECT_EQ(view.dragEnds, 1);
  EXPECT_EQ(s.position, 0);
  EXPECT_FALSE(timer.running);
}

TEST_F(CutterAppTest, JumpsAndHomeEndClamp) {
  openPlaying();
  app.settings().jumpSeconds = 5;
  s.position = 2000;
  app.jumpBack();
  EXPECT_EQ(s.position, 0);
  s.position = 57000;
  app.jumpForward();
  EXPECT_EQ(s.position, 60000);
  app.seekHome();
  EXPECT_EQ(s.position, 0);
  app.command(kCmdEnd);
  EXPECT_EQ(s.position, 60000);
  s.position = 10000;
  app.command(kCmdJumpForward);
  EXPECT_EQ(s.position, 15000);
}

TEST_F(CutterAppTest, JumpsDoNothingWhenStopped) {
  openPlaying();
  app.stop();
  s.seeks.clear();
  app.jumpForward();
  app.seekEnd();
  EXPECT_TRUE(s.seeks.empty());
}

struct FineTuneCase {
  const char* name;
  int32_t a, b;  // -1 = not set
  int command;
  int32_t wantA, wantB;
};
void PrintTo(const FineTuneCase& r, std::ostream* os) {
  *os << r.name;
}

class FineTune : public CutterAppTest, public ::testing::WithParamInterface<FineTuneCase> {};

TEST_P(FineTune, StaysInBounds) {
  const FineTuneCase& c = GetParam();
  openPlaying();
  app.settings().fineTuneMs = 300;
  if (c.a >= 0) {
    s.position = c.a;
    app.abKey();
  }
  if (c.b >= 0) {
    s.position = c.b;
    app.abKey();
  }
  app.command(c.command);
  EXPECT_EQ(app.pointA(), c.wantA);
  EXPECT_EQ(app.pointB(), c.wantB);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, FineTune,
    ::testing::Values(FineTuneCase{"aMinusMoves", 1000, -1, kCmdAMinus, 700, -1},
                      FineTuneCase{"aMinusStopsAtZero", 200, -1, kCmdAMinus, 0, -1},
                      FineTuneCase{"aPlusMoves", 1000, 5000, kCmdAPlus, 1300, 5000},
                      FineTuneCase{"aPlusStopsAtB", 4900, 5000, kCmdAPlus, 5000, 5000},
                      FineTuneCase{"aPlusStopsAtDuration", 59900, -1, kCmdAPlus, 60000, -1},
                      FineTuneCase{"bMinusStopsAtA", 1000, 1100, kCmdBMinus, 1000, 1000},
                      FineTuneCase{"bMinusMoves", 1000, 5000, kCmdBMinus, 1000, 4700},
                      FineTuneCase{"bPlusStopsAtDuration", 1000, 59800, kCmdBPlus, 1000, 60000},
                      FineTuneCase{"bPlusMoves", 1000, 5000, kCmdBPlus, 1000, 5300},
                      FineTuneCase{"aWithoutPoint", -1, -1, kCmdAPlus, -1, -1},
                      FineTuneCase{"bWithoutPoint", 1000, -1, kCmdBPlus, 1000, -1},
                      FineTuneCase{"bMinusWithoutPoint", 1000, -1, kCmdBMinus, 1000, -1}),
    [](const auto& info) { return std::string(info.param.name); });

struct CutCase {
  int32_t gap;
  bool accepted;
};
void PrintTo(const CutCase& r, std::ostream* os) {
  *os << r.gap;
}

class CutGap : public CutterAppTest, public ::testing::WithParamInterface<CutCase> {};

TEST_P(CutGap, NeedsTwoHundredMilliseconds) {
  openPlaying();
  setPoints(30000, 30000 + GetParam().gap);
  app.command(kCmdCut);
  EXPECT_EQ(app.playState(), PlayState::Paused) << "a cut request pauses playback first";
  if (GetParam().accepted) {
    ASSERT_EQ(view.cuts.size(), 1u);
    EXPECT_EQ(view.cuts[0].path, "/music/song one.mp3");
    EXPECT_EQ(view.cuts[0].a, 30000);
    EXPECT_EQ(view.cuts[0].b, 30000 + GetParam().gap);
    EXPECT_TRUE(view.errors.empty());
  } else {
    EXPECT_TRUE(view.cuts.empty());
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_EQ(view.errors[0], "ab点间隔不能小于200毫秒");
  }
}

INSTANTIATE_TEST_SUITE_P(Gaps, CutGap,
                         ::testing::Values(CutCase{199, false}, CutCase{200, true},
                                           CutCase{0, false}, CutCase{5000, true}));

TEST_F(CutterAppTest, CutWhilePausedStaysPaused) {
  openPlaying();
  setPoints(1000, 5000);
  app.playPause();
  app.cutRequest();
  EXPECT_EQ(app.playState(), PlayState::Paused);
  EXPECT_EQ(view.cuts.size(), 1u);
}

TEST_F(CutterAppTest, GraphErrorWhilePlayingStopsAndReports) {
  openPlaying();
  setPoints(1000, 5000);
  ASSERT_TRUE(static_cast<bool>(s.callback));
  s.callback("decoder broke");
  ASSERT_EQ(view.postedErrors.size(), 1u);
  app.onGraphEvent(view.postedErrors[0].first, view.postedErrors[0].second);
  EXPECT_EQ(app.playState(), PlayState::Stopped);
  EXPECT_EQ(app.pointA(), -1);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0], "播放异常：\r\ndecoder broke");
}

TEST_F(CutterAppTest, StaleOrPausedGraphErrorsAreIgnored) {
  openPlaying();
  s.callback("old");
  const auto stale = view.postedErrors.at(0);
  openPlaying();  // a new player
  app.onGraphEvent(stale.first, stale.second);
  EXPECT_EQ(app.playState(), PlayState::Playing);
  s.callback("new");
  app.playPause();
  app.onGraphEvent(view.postedErrors.at(1).first, "new");
  EXPECT_EQ(app.playState(), PlayState::Paused);
  EXPECT_TRUE(view.errors.empty());
}

TEST_F(CutterAppTest, CloseReturnsToNothingLoaded) {
  openPlaying();
  app.close();
  EXPECT_FALSE(app.loaded());
  EXPECT_EQ(view.status[0], LoadText(kTextNotLoaded));
  EXPECT_EQ(view.title, LoadText(kTextCaption));
  EXPECT_EQ(app.toolbarStrip(), 143);
  EXPECT_EQ(app.currentPath(), "");
}

TEST_F(CutterAppTest, VolumeSliderAndMute) {
  openPlaying();
  s.volumes.clear();
  app.onVolumeSlider(50);
  EXPECT_EQ(app.settings().volume, -1505);
  EXPECT_EQ(s.volumes, (std::vector<int32_t>{-1505}));
  app.setMute(true);
  app.onVolumeSlider(100);
  EXPECT_EQ(app.settings().volume, 0);
  EXPECT_EQ(s.volumes, (std::vector<int32_t>{-1505, -10000})) << "muted: slider not applied";
  app.setMute(false);
  EXPECT_EQ(s.volumes.back(), 0);
}

}  // namespace
}  // namespace zentora
