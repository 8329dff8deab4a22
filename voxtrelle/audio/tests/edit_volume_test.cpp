// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/tests/clip_test_support.h"

namespace voxtrelle {
namespace {

using testing::make_clip;
using testing::samples_of;

struct VolumeCase {
  int percent;
  float sample;
  float expected;
};

class ChangeVolume : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(ChangeVolume, ScalesAndClampsEverySample) {
  const VolumeCase& c = GetParam();
  AudioClip clip;
  make_clip(clip, {c.sample, -c.sample, c.sample}, {c.sample, c.sample, -c.sample});
  ASSERT_EQ(clip.change_volume(-1, -1, c.percent), 1);
  for (int channel = 0; channel < 2; ++channel) {
    const std::vector<float> got = samples_of(clip, channel);
    ASSERT_EQ(got.size(), 3u);
    const float sign1 = channel == 0 ? -1.0f : 1.0f;
    EXPECT_NEAR(got[0], c.expected, 1e-6f);
    EXPECT_NEAR(got[1], sign1 * c.expected, 1e-6f);
    EXPECT_NEAR(got[2], -sign1 * c.expected, 1e-6f);
  }
}

INSTANTIATE_TEST_SUITE_P(Edits, ChangeVolume,
                         ::testing::Values(VolumeCase{50, 0.8f, 0.4f}, VolumeCase{300, 0.5f, 1.0f},
                                           VolumeCase{-100, 0.25f, -0.25f},
                                           VolumeCase{0, 0.7f, 0.0f}, VolumeCase{200, 0.25f, 0.5f},
                                           VolumeCase{-400, 0.5f, -1.0f}));

TEST(Edits, VolumeHundredLeavesSamplesUntouched) {
  AudioClip clip;
  const std::vector<float> before = {0.123456f, -0.987654f, 0.5f};
  make_clip(clip, before);
  EXPECT_EQ(clip.change_volume(-1, -1, 100), 1);
  EXPECT_EQ(samples_of(clip, 0), before);
}

TEST(Edits, VolumeOnAnEmptyClipFails) {
  AudioClip clip;
  EXPECT_EQ(clip.change_volume(-1, -1, 50), 0);
  EXPECT_EQ(clip.maximize(-1, -1), 0);
}

struct RangeCase {
  int32_t begin;
  int32_t end;
  int32_t first_changed;  // -1: the call fails
  int32_t last_changed;   // exclusive
};

class VolumeRange : public ::testing::TestWithParam<RangeCase> {};

// The range rule: clamped into the clip, begin = end means all, end < begin fails.
TEST_P(VolumeRange, ChangesExactlyTheRange) {
  const RangeCase& c = GetParam();
  const int32_t n = static_cast<int32_t>(SampleFile::page_size()) + 20;
  AudioClip clip;
  make_clip(clip, std::vector<float>(n, 0.5f));
  const int result = clip.change_volume(c.begin, c.end, 0);
  if (c.first_changed < 0) {
    EXPECT_EQ(result, 0);
    const std::vector<float> got = samples_of(clip, 0);
    EXPECT_EQ(std::count(got.begin(), got.end(), 0.5f), n);
    return;
  }
  ASSERT_EQ(result, 1);
  const std::vector<float> got = samples_of(clip, 0);
  ASSERT_EQ(static_cast<int32_t>(got.size()), n);
  for (int32_t i = 0; i < n; ++i) {
    const bool inside = i >= c.first_changed && i < c.last_changed;
    ASSERT_EQ(got[i], inside ? 0.0f : 0.5f) << "sample " << i;
  }
}

constexpr int32_t kPage = 262144;
INSTANTIATE_TEST_SUITE_P(
    Edits, VolumeRange,
    ::testing::Values(RangeCase{kPage - 3, kPage + 2, kPage - 3, kPage + 2},  // across pages
                      RangeCase{kPage, kPage + 1, kPage, kPage + 1},          // first of page 2
                      RangeCase{kPage - 1, kPage, kPage - 1, kPage},          // last of page 1
                      RangeCase{-1, -1, 0, kPage + 20},                       // whole clip
                      RangeCase{7, 7, 0, kPage + 20},                         // empty = whole
                      RangeCase{-50, 4, 0, 4},                                // clamped begin
                      RangeCase{kPage + 10, kPage + 999, kPage + 10, kPage + 20},
                      RangeCase{9, 3, -1, -1}));  // reversed fails

struct MaximizeCase {
  float left_peak;
  float right_peak;
  float left_gain;  // expected factor, 1 = unchanged
  float right_gain;
};

class Maximize : public ::testing::TestWithParam<MaximizeCase> {};

TEST_P(Maximize, RaisesEachChannelOnItsOwn) {
  const MaximizeCase& c = GetParam();
  AudioClip clip;
  make_clip(clip, {c.left_peak * 0.5f, -c.left_peak, 0.0f}, {c.right_peak, 0.0f, c.right_peak / 4});
  ASSERT_EQ(clip.maximize(-1, -1), 1);
  const std::vector<float> left = samples_of(clip, 0);
  const std::vector<float> right = samples_of(clip, 1);
  EXPECT_NEAR(left[1], -c.left_peak * c.left_gain, 1e-6);
  EXPECT_NEAR(left[0], c.left_peak * 0.5f * c.left_gain, 1e-6);
  EXPECT_NEAR(right[0], c.right_peak * c.right_gain, 1e-6);
  EXPECT_NEAR(right[2], c.right_peak / 4 * c.right_gain, 1e-6);
  EXPECT_LE(std::fabs(left[1]), 1.0f);
  EXPECT_LE(std::fabs(right[0]), 1.0f);
}

INSTANTIATE_TEST_SUITE_P(Edits, Maximize,
                         ::testing::Values(MaximizeCase{0.25f, 0.5f, 4.0f, 2.0f},
                                           MaximizeCase{1.0f, 0.0f, 1.0f, 1.0f},
                                           MaximizeCase{0.3f, 0.995f, 3.33f, 1.0f},
                                           MaximizeCase{0.0f, 0.0f, 1.0f, 1.0f}));

TEST(Edits, MaximizeOfARangeUsesTheRangesPeak) {
  AudioClip clip;
  make_clip(clip, {0.9f, 0.1f, -0.2f, 0.05f, 0.9f});
  ASSERT_EQ(clip.maximize(1, 4), 1);
  const std::vector<float> got = samples_of(clip, 0);
  EXPECT_EQ(got[0], 0.9f);
  EXPECT_NEAR(got[2], -1.0f, 1e-6);  // 500 %
  EXPECT_NEAR(got[1], 0.5f, 1e-6);
  EXPECT_EQ(got[4], 0.9f);
}

}  // namespace
}  // namespace voxtrelle
