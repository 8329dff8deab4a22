// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <numeric>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/tests/clip_test_support.h"

namespace voxtrelle {
namespace {

using testing::make_clip;
using testing::samples_of;

// Frame i of the test clips holds i / 64 on the left and -i / 64 on the right.
std::vector<float> frames_of(const std::vector<int>& indices, float sign = 1.0f) {
  std::vector<float> values;
  for (int i : indices) values.push_back(sign * static_cast<float>(i) / 64.0f);
  return values;
}

std::vector<int> iota(int n) {
  std::vector<int> v(n);
  std::iota(v.begin(), v.end(), 0);
  return v;
}

struct DeleteCase {
  int32_t begin;
  int32_t end;
  int keep_outside;
  std::vector<int> kept;
};

class DeleteRange : public ::testing::TestWithParam<std::tuple<DeleteCase, bool>> {};

TEST_P(DeleteRange, KeepsTheRightFramesInBothChannels) {
  const auto& [c, stereo] = GetParam();
  AudioClip clip;
  make_clip(clip, frames_of(iota(10)), stereo ? frames_of(iota(10), -1.0f) : std::vector<float>{},
            32000);
  ASSERT_EQ(clip.delete_range(c.begin, c.end, c.keep_outside), 1);
  EXPECT_EQ(clip.frames(), static_cast<int32_t>(c.kept.size()));
  EXPECT_EQ(clip.store().frames(), static_cast<int32_t>(c.kept.size()));
  EXPECT_EQ(clip.format().nSamplesPerSec, 32000u);
  EXPECT_EQ(clip.is_stereo(), stereo ? 1 : 0);
  EXPECT_EQ(samples_of(clip, 0), frames_of(c.kept));
  if (stereo) {
    EXPECT_EQ(samples_of(clip, 1), frames_of(c.kept, -1.0f));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Edits, DeleteRange,
    ::testing::Combine(::testing::Values(DeleteCase{2, 5, 1, {0, 1, 5, 6, 7, 8, 9}},
                                         DeleteCase{2, 9, 1, {0, 1, 9}},
                                         DeleteCase{9, 10, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
                                         DeleteCase{0, 1, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                                         DeleteCase{0, 9, 1, {9}}, DeleteCase{2, 5, 0, {2, 3, 4}},
                                         DeleteCase{0, 3, 0, {0, 1, 2}},
                                         DeleteCase{7, 10, 0, {7, 8, 9}},
                                         DeleteCase{8, 40, 1, {0, 1, 2, 3, 4, 5, 6, 7}},
                                         DeleteCase{-5, 2, 0, {0, 1}}),
                       ::testing::Bool()));

class RefusedDelete : public ::testing::TestWithParam<std::tuple<int32_t, int32_t, int>> {};

// Deleting everything or nothing fails and leaves the clip exactly as it was.
TEST_P(RefusedDelete, LeavesTheClipAlone) {
  const auto [begin, end, keep_outside] = GetParam();
  AudioClip clip;
  make_clip(clip, frames_of(iota(10)), frames_of(iota(10), -1.0f));
  const std::string left_file = clip.store().channel(0).file()->path();
  EXPECT_EQ(clip.delete_range(begin, end, keep_outside), 0);
  EXPECT_EQ(clip.frames(), 10);
  EXPECT_EQ(clip.store().channel(0).file()->path(), left_file);
  EXPECT_EQ(samples_of(clip, 0), frames_of(iota(10)));
  EXPECT_EQ(samples_of(clip, 1), frames_of(iota(10), -1.0f));
}

INSTANTIATE_TEST_SUITE_P(Edits, RefusedDelete,
                         ::testing::Values(std::tuple{0, 10, 1}, std::tuple{-3, 40, 1},
                                           std::tuple{4, 4, 1}, std::tuple{6, 2, 0},
                                           std::tuple{10, 12, 0}, std::tuple{-1, -1, 1}));

TEST(Edits, DeleteAcrossThePageBoundaryJoinsTheSides) {
  const int32_t page = static_cast<int32_t>(SampleFile::page_size());
  const std::vector<float> values = testing::ramp(page + 300);
  AudioClip clip;
  make_clip(clip, values, values);
  ASSERT_EQ(clip.delete_range(page - 100, page + 100, 1), 1);
  const std::vector<float> left = samples_of(clip, 0);
  ASSERT_EQ(static_cast<int32_t>(left.size()), page + 100);
  for (int32_t i = 0; i < page - 100; i += 1013) ASSERT_EQ(left[i], values[i]) << i;
  for (int32_t i = page - 100; i < page + 100; ++i) ASSERT_EQ(left[i], values[i + 200]) << i;
  EXPECT_EQ(samples_of(clip, 1), left);
}

TEST(Edits, DeletionMakesAnEightBitClipSixteenBit) {
  testing::ScratchDirectory scratch;
  const std::string path = scratch.file("eight.wav");
  testing::write_file(path, testing::wav_bytes(1, 11025, 8, {0, 64, 128, 192, 255, 128}));
  AudioClip clip;
  ASSERT_EQ(clip.load_wav(path, nullptr), 1);
  ASSERT_EQ(clip.format().wBitsPerSample, 8);
  ASSERT_EQ(clip.delete_range(1, 2, 1), 1);
  EXPECT_EQ(clip.format().wBitsPerSample, 16);
  EXPECT_EQ(clip.format().nBlockAlign, 2);
  EXPECT_EQ(clip.format().nAvgBytesPerSec, 22050u);
  EXPECT_EQ(clip.format().nSamplesPerSec, 11025u);
  EXPECT_EQ(clip.frames(), 5);
  EXPECT_EQ(clip.bytes(), 10);
  EXPECT_EQ(samples_of(clip, 0), (std::vector<float>{-1.0f, 0.0f, 0.5f, 127.0f / 128.0f, 0.0f}));
}

TEST(Edits, DeleteOfAnEmptyClipFails) {
  AudioClip clip;
  EXPECT_EQ(clip.delete_range(0, 1, 1), 0);
  EXPECT_EQ(clip.is_empty(), 1);
}

}  // namespace
}  // namespace voxtrelle
