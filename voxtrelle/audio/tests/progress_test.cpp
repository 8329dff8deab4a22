// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/progress.h"

#include <gtest/gtest.h>

namespace voxtrelle {
namespace {

struct PercentCase {
  float percent;
  uint32_t total;
  uint32_t expected;
};

class SetPercent : public ::testing::TestWithParam<PercentCase> {};

TEST_P(SetPercent, ClampsAndTruncates) {
  ProgressSink sink(GetParam().total);
  sink.set_percent(GetParam().percent);
  EXPECT_EQ(sink.position(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Progress, SetPercent,
                         ::testing::Values(PercentCase{150.0f, 400, 400},
                                           PercentCase{-5.0f, 400, 0}, PercentCase{50.0f, 401, 200},
                                           PercentCase{33.3f, 1000, 333},
                                           PercentCase{100.0f, 0, 0}));

TEST(Progress, AdvanceClampsToRange) {
  ProgressSink sink(10);
  sink.advance(25);
  EXPECT_EQ(sink.position(), 10u);
  sink.advance(-40);
  EXPECT_EQ(sink.position(), 0u);
  sink.set_total(0);
  EXPECT_EQ(sink.percent(), 0u);
}

TEST(Progress, SetTotalLowersPositionAndNotifies) {
  struct Counting : ProgressSink {
    using ProgressSink::ProgressSink;
    int changes = 0;
    void position_changed() override { ++changes; }
  } sink(100);
  sink.set_position(80);
  sink.set_total(50);
  EXPECT_EQ(sink.position(), 50u);
  EXPECT_EQ(sink.changes, 2);
  EXPECT_EQ(sink.percent(), 100u);
}

TEST(ProgressSlice, MovesParentOverItsShare) {
  ProgressSink root(1000);
  root.set_position(100);
  ProgressSlice slice(root, 300, 7);
  EXPECT_EQ(slice.base(), 100u);
  slice.set_position(3);  // 300 * 3 / 7 = 128
  EXPECT_EQ(root.position(), 228u);
  slice.complete();
  EXPECT_EQ(root.position(), 400u);
}

TEST(ProgressSlice, ShareLimitedToWhatParentHasLeft) {
  ProgressSink root(100);
  root.complete();
  ProgressSlice late(root, 50);
  EXPECT_EQ(late.share(), 0u);
  EXPECT_EQ(late.total(), 0u);
  late.complete();
  EXPECT_EQ(root.position(), 100u);

  ProgressSink half(100);
  half.set_position(70);
  ProgressSlice slice(half, 50);
  EXPECT_EQ(slice.share(), 30u);
  slice.set_percent(50.0f);
  EXPECT_EQ(half.position(), 85u);
}

TEST(ProgressSlice, CancelAndFailureReachParentAndSiblings) {
  struct Hooked : ProgressSink {
    using ProgressSink::ProgressSink;
    int cancels = 0, fails = 0;
    void on_cancel() override { ++cancels; }
    void on_fail() override { ++fails; }
  } root(100);
  ProgressSlice first(root, 50);
  ProgressSlice second(root, 50);
  ProgressSlice nested(first, 10);
  nested.request_cancel();
  nested.request_cancel();
  EXPECT_TRUE(root.is_cancel_requested());
  EXPECT_TRUE(first.is_cancel_requested());
  EXPECT_TRUE(second.is_cancel_requested());
  EXPECT_EQ(root.cancels, 1);

  EXPECT_FALSE(second.has_failed());
  second.set_failed();
  EXPECT_TRUE(root.has_failed());
  EXPECT_TRUE(nested.has_failed());
  EXPECT_EQ(root.fails, 1);
}

// Whether the loops pause for the desktop is the root sink's decision, however deep the slice.
TEST(ProgressSlice, PauseChoiceComesFromTheRoot) {
  struct BatchSink : ProgressSink {
    bool yields_cpu() const override { return false; }
  };
  BatchSink batch;
  ProgressSlice outer(batch, 50);
  ProgressSlice inner(outer, 10);
  EXPECT_FALSE(inner.yields_cpu());
  ProgressSink desktop(100);
  ProgressSlice slice(desktop, 50);
  EXPECT_TRUE(slice.yields_cpu());
}

}  // namespace
}  // namespace voxtrelle
