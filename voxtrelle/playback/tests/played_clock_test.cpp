// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/playback/played_clock.h"

#include <gtest/gtest.h>

namespace voxtrelle {
namespace {

constexpr int64_t kMs = 1'000'000;
// 8 kHz mono 16-bit: 16 bytes a millisecond; the device holds one 100 ms chunk (1600 bytes).
constexpr uint64_t kByteRate = 16'000;
constexpr int64_t kHold = 100 * kMs;
constexpr uint32_t kChunk = 1600;

struct Reading {
  const char* what;
  int64_t at_ms;
  uint64_t played;  // bytes
};

class PlayedClockTest : public testing::TestWithParam<Reading> {};

// Chunks taken at 0, 100 and 200 ms, the last one only half samples (the queue ran dry).
PlayedClock SteadyRun() {
  PlayedClock clock;
  clock.Start(kHold, kByteRate);
  clock.OnChunk(0, kChunk, kChunk);
  clock.OnChunk(100 * kMs, kChunk, kChunk);
  clock.OnChunk(200 * kMs, kChunk / 2, kChunk);
  return clock;
}

TEST_P(PlayedClockTest, CountsOnlyWhatHasSounded) {
  const Reading& r = GetParam();
  const PlayedClock clock = SteadyRun();
  EXPECT_EQ(clock.Handed(), 2u * kChunk + kChunk / 2);
  EXPECT_EQ(clock.Played(r.at_ms * kMs), r.played) << r.what;
}

INSTANTIATE_TEST_SUITE_P(
    Readings, PlayedClockTest,
    testing::Values(Reading{"the first chunk is still held", 50, 0},
                    Reading{"the first chunk starts", 100, 0},
                    Reading{"a quarter into the first chunk", 125, 400},
                    Reading{"the second chunk starts", 200, kChunk},
                    Reading{"half into the second chunk", 250, kChunk + kChunk / 2},
                    Reading{"the samples of the third chunk have sounded", 350, 2 * kChunk + 800},
                    Reading{"its padding adds nothing", 390, 2 * kChunk + 800},
                    Reading{"long after the end", 600'000, 2 * kChunk + 800}));

TEST(PlayedClock, ChunksTakenInABurstSoundOneAfterTheOther) {
  PlayedClock clock;
  clock.Start(kHold, kByteRate);
  // The device fills two chunks at once when it starts.
  clock.OnChunk(0, kChunk, kChunk);
  clock.OnChunk(1 * kMs, kChunk, kChunk);
  EXPECT_EQ(clock.Played(150 * kMs), 800u);           // the first is half played
  EXPECT_EQ(clock.Played(250 * kMs), kChunk + 800u);  // the second follows it, not at 101 ms
  EXPECT_EQ(clock.Played(400 * kMs), 2u * kChunk);
}

TEST(PlayedClock, ResetStartsTheCountAgainAfterTheHold) {
  PlayedClock clock = SteadyRun();
  clock.Reset();
  EXPECT_EQ(clock.Played(250 * kMs), 0u);
  EXPECT_EQ(clock.Handed(), 0u);
  clock.OnChunk(1000 * kMs, kChunk, kChunk);
  EXPECT_EQ(clock.Played(1050 * kMs), 0u);
  EXPECT_EQ(clock.Played(1150 * kMs), 800u);
}

TEST(PlayedClock, AfterAPauseTheNextChunkWaitsOnlyForTheHold) {
  PlayedClock clock;
  clock.Start(kHold, kByteRate);
  clock.OnChunk(0, kChunk, kChunk);
  // Paused for ten seconds: no chunk is taken meanwhile, and the held one plays out.
  EXPECT_EQ(clock.Played(5000 * kMs), kChunk);
  clock.OnChunk(10'000 * kMs, kChunk, kChunk);
  EXPECT_EQ(clock.Played(10'050 * kMs), kChunk);
  EXPECT_EQ(clock.Played(10'150 * kMs), kChunk + 800u);
}

}  // namespace
}  // namespace voxtrelle
