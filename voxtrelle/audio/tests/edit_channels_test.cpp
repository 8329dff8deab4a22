// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/tests/clip_test_support.h"

namespace voxtrelle {
namespace {

using testing::make_clip;
using testing::samples_of;

struct MonoCase {
  std::vector<float> left;
  std::vector<float> right;
  std::vector<float> expected;
};

class ToMono : public ::testing::TestWithParam<MonoCase> {};

TEST_P(ToMono, SumsAndRescalesOnlyPastFullScale) {
  AudioClip clip;
  make_clip(clip, GetParam().left, GetParam().right, 22050);
  ASSERT_EQ(clip.to_mono(), 1);
  EXPECT_EQ(clip.is_mono(), 1);
  EXPECT_EQ(clip.format().nChannels, 1);
  EXPECT_EQ(clip.format().nBlockAlign, 2);
  EXPECT_EQ(clip.format().nAvgBytesPerSec, 44100u);
  EXPECT_EQ(clip.has_audio(), 1);
  const std::vector<float> got = samples_of(clip, 0);
  ASSERT_EQ(got.size(), GetParam().expected.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], GetParam().expected[i], 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ToMono,
    ::testing::Values(MonoCase{{0.6f, 0.6f}, {0.6f, 0.6f}, {1.0f, 1.0f}},
                      MonoCase{{0.3f, -0.3f}, {0.2f, -0.2f}, {0.5f, -0.5f}},
                      MonoCase{{1.0f, -1.0f, 0.5f}, {1.0f, -1.0f, 0.0f}, {1.0f, -1.0f, 0.25f}},
                      MonoCase{{0.7f, 0.2f}, {-0.7f, -0.2f}, {0.0f, 0.0f}},
                      MonoCase{{-0.9f, 0.1f}, {-0.6f, 0.2f}, {-1.0f, 0.3f / 1.5f}}));

TEST(Edits, ToMonoOfAMonoClipChangesNothing) {
  AudioClip clip;
  make_clip(clip, {0.25f, -0.5f});
  ASSERT_EQ(clip.to_mono(), 1);
  EXPECT_EQ(samples_of(clip, 0), (std::vector<float>{0.25f, -0.5f}));
  EXPECT_EQ(clip.format().nChannels, 1);
}

TEST(Edits, ToStereoDuplicatesTheChannel) {
  AudioClip clip;
  make_clip(clip, {0.25f, -0.5f, 0.125f}, {}, 8000);
  ASSERT_EQ(clip.to_stereo(), 1);
  EXPECT_EQ(clip.is_stereo(), 1);
  EXPECT_EQ(clip.format().nChannels, 2);
  EXPECT_EQ(clip.format().nBlockAlign, 4);
  EXPECT_EQ(clip.format().nAvgBytesPerSec, 32000u);
  EXPECT_EQ(clip.has_audio(), 1);
  EXPECT_EQ(samples_of(clip, 0), (std::vector<float>{0.25f, -0.5f, 0.125f}));
  EXPECT_EQ(samples_of(clip, 1), samples_of(clip, 0));
  // The two channels are separate files: changing one leaves the other.
  clip.store().channel(1).page(0)[0] = 0.0f;
  EXPECT_EQ(samples_of(clip, 0)[0], 0.25f);
}

TEST(Edits, ToStereoOfAStereoClipChangesNothing) {
  AudioClip clip;
  make_clip(clip, {0.1f}, {0.2f});
  ASSERT_EQ(clip.to_stereo(), 1);
  EXPECT_EQ(samples_of(clip, 1), (std::vector<float>{0.2f}));
  EXPECT_EQ(clip.format().nBlockAlign, 4);
}

TEST(Edits, ChannelConversionsOfAnEmptyClipFail) {
  AudioClip clip;
  EXPECT_EQ(clip.to_mono(), 0);
  EXPECT_EQ(clip.to_stereo(), 0);
  EXPECT_EQ(clip.is_empty(), 1);
}

TEST(Edits, MonoStereoRoundTripKeepsTheSamples) {
  // Below half scale, so that the sums need no rescaling.
  const std::vector<float> left = testing::ramp(SampleFile::page_size() + 77, 1.0f / 131072.0f);
  AudioClip clip;
  make_clip(clip, left);
  ASSERT_EQ(clip.to_stereo(), 1);
  ASSERT_EQ(clip.to_mono(), 1);
  const std::vector<float> got = samples_of(clip, 0);
  ASSERT_EQ(got.size(), left.size());
  for (size_t i = 0; i < got.size(); i += 997) EXPECT_FLOAT_EQ(got[i], 2.0f * left[i]) << i;
}

}  // namespace
}  // namespace voxtrelle
