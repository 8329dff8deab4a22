// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/playback/wave_player.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/playback/tests/test_support.h"
#include "voxtrelle/playback/wave_out_test.h"

namespace voxtrelle {
namespace {

using testing::PostedCalls;
using testing::SampleAt;
using testing::ScratchFile;
using testing::WriteWav;


class FakeHost : public PlayerHost {
 public:
  int WaveformWidth() override { return width; }
  void RepaintWaveform() override { ++repaints; }
  int ArmTimer(uint32_t interval_ms) override {
    interval = interval_ms;
    armed = true;
    ++arms;
    return 1;
  }
  void KillTimer() override { armed = false; }

  int width = 584;
  int repaints = 0;
  int arms = 0;
  bool armed = false;
  uint32_t interval = 0;
};

class WavePlayerTest : public ::testing::Test {
 protected:
  WavePlayerTest() : device_(posted_.poster()) {
    player_.set_device(&device_);
    player_.set_host(&host_);
    player_.set_clip_source([this]() -> const AudioClip* { return &clip_; });
  }

  void Load(int channels, int32_t frames, uint32_t rate = 44100, int bits = 16) {
    ScratchFile wav(".wav");
    WriteWav(wav.path(), channels, frames, rate, bits);
    ASSERT_EQ(1, clip_.load_wav(wav.path(), nullptr));
    ASSERT_EQ(frames, clip_.frames());
  }
  // Plays until the device is closed again (or nothing more can play).
  void PlayToClose() {
    posted_.RunAll();
    for (int i = 0; i < 1000 && player_.device_open(); ++i) {
      device_.Advance(50000);
      posted_.RunAll();
    }
  }
  void Advance(uint32_t frames) {
    device_.Advance(frames);
    posted_.RunAll();
  }
  // The interleaved values of frames [begin, end).
  std::vector<int16_t> Expected(int channels, int32_t begin, int32_t end) const {
    std::vector<int16_t> values;
    for (int32_t f = begin; f < end; ++f) {
      for (int c = 0; c < channels; ++c) values.push_back(SampleAt(f, c));
    }
    return values;
  }

  PostedCalls posted_;
  WaveOutTest device_;
  FakeHost host_;
  AudioClip clip_;
  WavePlayer player_;
};

TEST_F(WavePlayerTest, WholeClipPlaysEverySampleAndRewindsToStart) {
  Load(2, 200000);  // longer than one buffer of 131072 stereo frames
  ASSERT_EQ(1, player_.Start(-1));
  EXPECT_FALSE(player_.is_open());  // nothing happens before the device reports open
  posted_.RunAll();
  EXPECT_TRUE(player_.is_open());
  EXPECT_TRUE(host_.armed);
  EXPECT_EQ(2u, device_.queued());
  PlayToClose();
  EXPECT_EQ(Expected(2, 0, 200000), device_.played());
  EXPECT_FALSE(player_.device_open());
  EXPECT_FALSE(host_.armed);
  EXPECT_FALSE(player_.timer_active());
  EXPECT_EQ(0, player_.Position());
  EXPECT_EQ(0, player_.queue_position());
}

TEST_F(WavePlayerTest, EightBitClipOpensSixteenBitDeviceAndPlaysScaledSamples) {
  Load(2, 1000, 22050, 8);
  ASSERT_EQ(1, player_.Start(-1));
  PlayToClose();
  EXPECT_EQ(2, device_.format().channels);
  EXPECT_EQ(22050u, device_.format().rate);
  ASSERT_EQ(2000u, device_.played().size());
  // 8-bit value u plays as (u - 128) * 256.
  EXPECT_EQ((129 - 128) * 256, device_.played()[0]);
  EXPECT_EQ((129 + 99 - 128) * 256, device_.played()[2 * 99 + 1]);
}

TEST_F(WavePlayerTest, ClipShorterThanOneBufferQueuesOneBufferAndCloses) {
  Load(1, 3000);
  ASSERT_EQ(1, player_.Start(-1));
  posted_.RunAll();
  EXPECT_EQ(1u, device_.queued());
  Advance(3000);
  EXPECT_FALSE(player_.device_open());
  EXPECT_EQ(Expected(1, 0, 3000), device_.played());
  EXPECT_EQ(0, player_.Position());
}

struct SelectionCase {
  int channels;
  int32_t frames;
  int32_t start;
  int32_t end;
};

void PrintTo(const SelectionCase& c, std::ostream* os) {
  *os << c.channels << "ch_" << c.frames << "_[" << c.start << "," << c.end << ")";
}

class SelectionPlayTest : public WavePlayerTest,
                          public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(SelectionPlayTest, PlaysExactlyTheSelectionAndRestsWhereItStarted) {
  const SelectionCase c = GetParam();
  Load(c.channels, c.frames);
  player_.SetSelectionStart(c.start);
  player_.SetSelectionEnd(c.end);
  ASSERT_EQ(1, player_.Start(-1));
  PlayToClose();
  EXPECT_EQ(Expected(c.channels, c.start, c.end), device_.played());
  const bool ends_at_clip_end = c.end == c.frames;
  EXPECT_EQ(ends_at_clip_end ? 0 : c.start, player_.Position());
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, SelectionPlayTest,
    ::testing::Values(SelectionCase{2, 20000, 1000, 5001},       // inside the first buffer
                      SelectionCase{1, 20000, 17, 19999},        // mono, one frame short of end
                      SelectionCase{2, 300000, 100, 200000},     // cut in the second buffer
                      SelectionCase{1, 600000, 5, 300000},       // mono, cut in the second buffer
                      SelectionCase{2, 300000, 140000, 300000},  // ends at the clip end
                      SelectionCase{2, 262144, 0, 131072}));     // exactly one full buffer

TEST_F(WavePlayerTest, StopBeforeSelectionEndWasQueuedRestsAtZero) {
  Load(2, 400000);
  player_.SetSelectionStart(100);
  player_.SetSelectionEnd(390000);
  ASSERT_EQ(1, player_.Start(-1));
  posted_.RunAll();
  ASSERT_FALSE(player_.range_end_queued());
  Advance(1000);
  EXPECT_EQ(1100, player_.Position());
  player_.Stop();
  posted_.RunAll();
  EXPECT_FALSE(player_.device_open());
  EXPECT_EQ(0, player_.Position());
}

// A save stops playback without moving the cursor: the player rests where it had got to,
// with or without a selection, playing or paused, and plays on from there.
TEST_F(WavePlayerTest, StopKeepingPositionRestsWherePlaybackWas) {
  struct Case {
    int32_t selection_start;
    int32_t selection_end;
    bool paused;
    int32_t stop_rests_at;  // where an ordinary Stop of the next run rests
  };
  for (const Case c :
       {Case{-1, -1, false, 0}, Case{100, 390000, false, 0}, Case{100, 200000, true, 100}}) {
    SCOPED_TRACE(c.selection_start);
    Load(2, 400000);
    player_.SetSelectionStart(c.selection_start);
    player_.SetSelectionEnd(c.selection_end);
    ASSERT_EQ(1, player_.Start(-1));
    posted_.RunAll();
    Advance(1000);
    if (c.paused) player_.Pause();
    const int32_t reached = player_.Position();
    ASSERT_GT(reached, 0);
    player_.StopKeepingPosition();
    posted_.RunAll();
    EXPECT_FALSE(player_.device_open());
    EXPECT_EQ(reached, player_.Position());
    // Play continues from there.
    ASSERT_EQ(1, player_.Start(-1));
    posted_.RunAll();
    EXPECT_EQ(reached, player_.base_position());
    player_.Stop();
    posted_.RunAll();
    // An ordinary Stop still rewinds.
    EXPECT_EQ(c.stop_rests_at, player_.Position());
  }
}

TEST_F(WavePlayerTest, StopAfterSelectionEndWasQueuedRestsAtSelectionStart) {
  Load(2, 400000);
  player_.SetSelectionStart(100);
  player_.SetSelectionEnd(200000);
  ASSERT_EQ(1, player_.Start(-1));
  posted_.RunAll();
  ASSERT_TRUE(player_.range_end_queued());
  Advance(1000);
  player_.Stop();
  posted_.RunAll();
  EXPECT_FALSE(player_.device_open());
  EXPECT_EQ(100, player_.Position());
}

TEST_F(WavePlayerTest, PlayWhilePlayingRestartsWhereTheRunBegan) {
  Load(1, 100000);
  ASSERT_EQ(1, player_.Seek(3000));
  player_.Play();
  posted_.RunAll();
  Advance(1000);
  EXPECT_EQ(4000, player_.Position());
  device_.clear_played();
  player_.Play();
  posted_.RunAll();
  EXPECT_TRUE(player_.is_open());
  EXPECT_EQ(3000, player_.Position());
  Advance(10);
  EXPECT_EQ(Expected(1, 3000, 3010), device_.played());
}

TEST_F(WavePlayerTest, PauseThenSeekStaysPausedAtTheNewPosition) {
  Load(2, 100000);
  player_.Play();
  posted_.RunAll();
  Advance(500);
  player_.Pause();
  EXPECT_TRUE(device_.paused());
  player_.SeekToFraction(0.5);
  posted_.RunAll();
  EXPECT_TRUE(player_.is_open());
  EXPECT_TRUE(player_.is_paused());
  EXPECT_TRUE(device_.paused());
  EXPECT_EQ(50000, player_.Position());
  device_.clear_played();
  EXPECT_EQ(0u, device_.Advance(100));  // paused: nothing plays
  player_.Play();                       // resumes
  EXPECT_FALSE(player_.is_paused());
  Advance(4);
  EXPECT_EQ(Expected(2, 50000, 50004), device_.played());
}

TEST_F(WavePlayerTest, StopWhilePausedClosesTheDevice) {
  Load(1, 50000);
  player_.Play();
  posted_.RunAll();
  player_.Pause();
  player_.Stop();
  posted_.RunAll();
  EXPECT_FALSE(player_.device_open());
  EXPECT_FALSE(player_.is_paused());
}

TEST_F(WavePlayerTest, PlayFromTheEndStartsAtZeroAndOutsideTheSelectionAtItsStart) {
  Load(1, 10000);
  ASSERT_EQ(1, player_.Seek(10000));
  player_.Play();
  posted_.RunAll();
  EXPECT_EQ(0, player_.Position());
  player_.Stop();
  posted_.RunAll();

  player_.SetSelectionStart(2000);
  player_.SetSelectionEnd(3000);
  ASSERT_EQ(1, player_.Seek(5000));
  player_.Play();
  posted_.RunAll();
  EXPECT_EQ(2000, player_.Position());
}

TEST_F(WavePlayerTest, StartBeyondTheEndOrWithoutAClipFailsAndChangesNothing) {
  Load(1, 10000);
  ASSERT_EQ(1, player_.Seek(700));
  EXPECT_EQ(0, player_.Start(10001));
  EXPECT_EQ(700, player_.Position());
  EXPECT_FALSE(player_.device_open());
  clip_.clear();
  EXPECT_EQ(0, player_.Start(0));
  EXPECT_EQ(0, player_.Start(-1));
  EXPECT_EQ(0, device_.open_count());
}

TEST_F(WavePlayerTest, DeviceThatCannotOpenLeavesThePlayerClosed) {
  Load(1, 10000);
  device_.set_open_fails(true);
  player_.Play();
  posted_.RunAll();
  EXPECT_FALSE(player_.device_open());
  EXPECT_FALSE(player_.is_open());
  EXPECT_FALSE(host_.armed);
}

TEST_F(WavePlayerTest, ClearWhileTheDeviceIsStillOpenLeavesAPlayerThatPlaysAgain) {
  Load(1, 50000);
  player_.Play();
  posted_.RunAll();
  Advance(100);
  player_.Stop();  // its notifications are still waiting when the player is cleared
  player_.Clear();
  ASSERT_EQ(1, player_.Seek(700));
  posted_.RunAll();
  EXPECT_FALSE(player_.device_open());
  EXPECT_EQ(700, player_.Position());  // the late close did not rewind
  EXPECT_FALSE(device_.IsOpen());
  device_.clear_played();
  player_.Play();
  posted_.RunAll();
  ASSERT_TRUE(player_.is_open());
  Advance(3);
  EXPECT_EQ(Expected(1, 700, 703), device_.played());
}

TEST_F(WavePlayerTest, NothingToQueueWhenTheDeviceOpensClosesItAgain) {
  Load(1, 50000);
  player_.Play();
  clip_.clear();  // the clip went away before the device reported open
  posted_.RunAll();
  EXPECT_FALSE(player_.device_open());
  EXPECT_FALSE(player_.is_open());
  EXPECT_FALSE(device_.IsOpen());
  EXPECT_FALSE(host_.armed);
}

TEST_F(WavePlayerTest, SelectionSettersClampAndSwap) {
  Load(1, 1000);
  player_.SetSelectionStart(-5);
  EXPECT_EQ(0, player_.selection_start());
  EXPECT_EQ(-1, player_.selection_end());
  EXPECT_FALSE(player_.HasValidSelection());
  player_.SetSelectionEnd(5000);  // clamped to the length
  EXPECT_EQ(1000, player_.selection_end());
  EXPECT_FALSE(player_.HasProperSelection());  // the whole clip
  player_.SetSelectionStart(600);
  EXPECT_TRUE(player_.HasProperSelection());
  player_.SetSelectionEnd(200);  // before the start: the two swap
  EXPECT_EQ(200, player_.selection_start());
  EXPECT_EQ(600, player_.selection_end());
  player_.SetSelectionStart(900);  // after the end: swapped again
  EXPECT_EQ(600, player_.selection_start());
  EXPECT_EQ(900, player_.selection_end());
  player_.SelectAll();
  EXPECT_EQ(0, player_.selection_start());
  EXPECT_EQ(1000, player_.selection_end());
  player_.Deselect();
  EXPECT_EQ(-1, player_.selection_start());
  EXPECT_EQ(-1, player_.selection_end());
}

TEST_F(WavePlayerTest, MillisecondsFollowTheRate) {
  Load(2, 44100, 44100);
  ASSERT_EQ(1, player_.Seek(22050));
  player_.SetSelectionStart(441);
  EXPECT_DOUBLE_EQ(1000.0, player_.LengthMs());
  EXPECT_DOUBLE_EQ(500.0, player_.PositionMs());
  EXPECT_DOUBLE_EQ(10.0, player_.SelectionStartMs());
  EXPECT_DOUBLE_EQ(0.5, player_.PositionFraction());
}

struct TimerCase {
  int32_t frames;
  uint32_t rate;
  int width;
  uint32_t interval;  // expected ms
};

void PrintTo(const TimerCase& c, std::ostream* os) {
  *os << c.frames << "frames_" << c.rate << "Hz_" << c.width << "px";
}

class CursorTimerTest : public WavePlayerTest, public ::testing::WithParamInterface<TimerCase> {};

TEST_P(CursorTimerTest, IntervalIsOnePixelOfTravelButNoFasterThan50Ms) {
  const TimerCase c = GetParam();
  Load(1, c.frames, c.rate);
  host_.width = c.width;
  player_.StartCursorTimer();
  EXPECT_EQ(c.interval, host_.interval);
}

INSTANTIATE_TEST_SUITE_P(Widths, CursorTimerTest,
                         ::testing::Values(TimerCase{44100, 44100, 584, 50},       // 1 s
                                           TimerCase{2646000, 44100, 584, 102},    // 60 s
                                           TimerCase{2646000, 44100, 1168, 51},    // wider
                                           TimerCase{1200000, 8000, 100, 1500}));  // slow rate

TEST_F(WavePlayerTest, ResizeWhilePlayingRearmsTheTimerButZeroWidthLeavesIt) {
  Load(1, 2646000);
  player_.Play();
  posted_.RunAll();
  EXPECT_EQ(102u, host_.interval);
  host_.width = 1168;
  player_.OnHostResized();
  EXPECT_EQ(51u, host_.interval);
  host_.width = 0;
  const int arms = host_.arms;
  player_.OnHostResized();
  EXPECT_EQ(arms, host_.arms);
  EXPECT_EQ(51u, host_.interval);
}

TEST_F(WavePlayerTest, TimerTickRepaintsOnlyWhilePlaying) {
  Load(1, 100000);
  player_.Play();
  posted_.RunAll();
  const int before = host_.repaints;
  player_.OnTimer();
  EXPECT_EQ(before + 1, host_.repaints);
  player_.Pause();
  player_.OnTimer();
  EXPECT_EQ(before + 1, host_.repaints);
}

}  // namespace
}  // namespace voxtrelle
