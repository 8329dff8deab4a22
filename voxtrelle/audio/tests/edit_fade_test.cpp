// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/tests/clip_test_support.h"

namespace voxtrelle {
namespace {

using testing::make_clip;
using testing::samples_of;

TEST(Edits, FadeInRampsFromSilenceToFullLevel) {
  AudioClip clip;
  make_clip(clip, std::vector<float>(5, 1.0f), std::vector<float>(5, -0.5f));
  ASSERT_EQ(clip.fade_in(-1, -1), 1);
  EXPECT_EQ(samples_of(clip, 0), (std::vector<float>{0.0f, 0.25f, 0.5f, 0.75f, 1.0f}));
  EXPECT_EQ(samples_of(clip, 1), (std::vector<float>{0.0f, -0.125f, -0.25f, -0.375f, -0.5f}));
}

TEST(Edits, FadeOutRampsFromFullLevelToSilence) {
  AudioClip clip;
  make_clip(clip, std::vector<float>(5, 1.0f));
  ASSERT_EQ(clip.fade_out(-1, -1), 1);
  EXPECT_EQ(samples_of(clip, 0), (std::vector<float>{1.0f, 0.75f, 0.5f, 0.25f, 0.0f}));
}

TEST(Edits, FadeOfARangeLeavesTheRestAlone) {
  AudioClip clip;
  make_clip(clip, std::vector<float>(8, 0.8f));
  ASSERT_EQ(clip.fade_out(2, 5), 1);
  EXPECT_EQ(samples_of(clip, 0),
            (std::vector<float>{0.8f, 0.8f, 0.8f, 0.4f, 0.0f, 0.8f, 0.8f, 0.8f}));
}

class SingleSampleFade : public ::testing::TestWithParam<bool> {};

// A range of one sample has no ramp; a one-frame clip is unchanged too.
TEST_P(SingleSampleFade, IsLeftUnchanged) {
  AudioClip clip;
  make_clip(clip, {0.6f, 0.7f, 0.8f});
  const bool fade_in = GetParam();
  ASSERT_EQ(fade_in ? clip.fade_in(1, 2) : clip.fade_out(1, 2), 1);
  EXPECT_EQ(samples_of(clip, 0), (std::vector<float>{0.6f, 0.7f, 0.8f}));

  AudioClip one;
  make_clip(one, {0.6f});
  ASSERT_EQ(fade_in ? one.fade_in(-1, -1) : one.fade_out(-1, -1), 1);
  EXPECT_EQ(samples_of(one, 0), (std::vector<float>{0.6f}));
}

INSTANTIATE_TEST_SUITE_P(Edits, SingleSampleFade, ::testing::Bool());

TEST(Edits, FadeIsContinuousAcrossThePageBoundary) {
  const int32_t page = static_cast<int32_t>(SampleFile::page_size());
  AudioClip clip;
  make_clip(clip, std::vector<float>(page + 8, 1.0f));
  ASSERT_EQ(clip.fade_in(page - 2, page + 3), 1);
  const std::vector<float> got = samples_of(clip, 0);
  EXPECT_EQ(got[page - 3], 1.0f);
  EXPECT_EQ(got[page - 2], 0.0f);
  EXPECT_EQ(got[page - 1], 0.25f);
  EXPECT_EQ(got[page], 0.5f);
  EXPECT_EQ(got[page + 1], 0.75f);
  EXPECT_EQ(got[page + 2], 1.0f);
  EXPECT_EQ(got[page + 3], 1.0f);
}

TEST(Edits, LongFadeInRisesSteadily) {
  // Two full pages and a bit: the ramp's position must carry over from page to page.
  const int32_t n = 2 * static_cast<int32_t>(SampleFile::page_size()) + 1001;
  AudioClip clip;
  make_clip(clip, std::vector<float>(n, 1.0f));
  ASSERT_EQ(clip.fade_in(-1, -1), 1);
  const std::vector<float> got = samples_of(clip, 0);
  for (int32_t k = 0; k < n; k += 4099) {
    ASSERT_NEAR(got[k], static_cast<double>(k) / (n - 1), 1e-6) << k;
  }
  EXPECT_EQ(got[n - 1], 1.0f);
}

TEST(Edits, ReversedFadeRangeFails) {
  AudioClip clip;
  make_clip(clip, {0.5f, 0.5f, 0.5f});
  EXPECT_EQ(clip.fade_in(2, 1), 0);
  EXPECT_EQ(samples_of(clip, 0), (std::vector<float>{0.5f, 0.5f, 0.5f}));
}

}  // namespace
}  // namespace voxtrelle
