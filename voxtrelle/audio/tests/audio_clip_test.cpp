// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/audio_clip.h"

#include "voxtrelle/audio/tests/test_support.h"

namespace voxtrelle {
namespace {

using testing_support::TempDirTest;

struct FormatCase {
  PcmHeader header;
  bool valid;
};
class FormatValidity : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatValidity, FollowsTheDerivedFields) {
  AudioClip clip;
  clip.set_format(GetParam().header);
  EXPECT_EQ(clip.is_format_valid(), GetParam().valid ? 1 : 0);
  EXPECT_EQ(clip.format().cbSize, 0);
}
INSTANTIATE_TEST_SUITE_P(
    Clip, FormatValidity,
    ::testing::Values(FormatCase{{1, 2, 44100, 176400, 4, 16}, true},
                      FormatCase{{1, 1, 8000, 8000, 1, 8}, true},
                      FormatCase{{1, 2, 44100, 176400, 2, 16}, false},  // align != ch * bits / 8
                      FormatCase{{1, 2, 44100, 88200, 4, 16}, false},   // avg != rate * align
                      FormatCase{{1, 1, 8000, 8000, 0, 8}, false},
                      FormatCase{{3, 1, 8000, 8000, 0, 32}, false},   // no block align
                      FormatCase{{2, 1, 8000, 4000, 256, 1}, false},  // 1 bit is never valid
                      FormatCase{{2, 1, 8000, 4000, 256, 4}, true},   // not PCM: loose
                      FormatCase{{0, 1, 8000, 8000, 1, 8}, false},
                      FormatCase{{1, 0, 8000, 0, 0, 8}, false},
                      FormatCase{{1, 1, 0, 0, 1, 8}, false}));

using Clip = TempDirTest;

TEST_F(Clip, CreateSilentBuilds16BitPcm) {
  AudioClip clip;
  EXPECT_TRUE(clip.is_empty());
  ASSERT_EQ(clip.create_silent(true, 1000, 22050), 1);
  EXPECT_TRUE(clip.has_audio());
  EXPECT_TRUE(clip.is_editable());
  EXPECT_TRUE(clip.is_stereo());
  const WaveFormat expected{1, 2, 22050, 88200, 4, 16, 0};
  EXPECT_EQ(clip.format(), expected);
  EXPECT_EQ(clip.frames(), 1000);
  EXPECT_EQ(clip.bytes(), 4000);
  EXPECT_DOUBLE_EQ(clip.duration(), 1000.0 / 22050.0);

  EXPECT_EQ(clip.create_silent(false, 5, 8000), 0);  // already has audio
  EXPECT_EQ(clip.frames(), 1000);
  EXPECT_TRUE(clip.is_stereo());

  AudioClip mono;
  ASSERT_EQ(mono.create_silent(false, 10, 8000), 1);
  EXPECT_EQ(mono.format().nBlockAlign, 2);
  EXPECT_EQ(mono.format().nAvgBytesPerSec, 16000u);
  AudioClip bad;
  EXPECT_EQ(bad.create_silent(false, 0, 8000), 0);
  EXPECT_EQ(bad.create_silent(false, 10, 0), 0);
  EXPECT_TRUE(bad.is_empty());
}

TEST_F(Clip, CopyFromIsIndependent) {
  AudioClip source;
  ASSERT_EQ(source.create_silent(false, 100, 8000), 1);
  source.store().channel(0).page(0)[5] = 0.5f;
  AudioClip copy;
  ASSERT_EQ(copy.create_silent(true, 3, 8000), 1);
  ASSERT_EQ(copy.copy_from(source), 1);
  EXPECT_EQ(copy.format(), source.format());
  EXPECT_EQ(copy.frames(), 100);
  EXPECT_EQ(copy.store().channel(0).page(0)[5], 0.5f);
  EXPECT_NE(copy.store().channel(0).file()->path(), source.store().channel(0).file()->path());
  EXPECT_EQ(leftovers().size(), 2u);

  AudioClip empty;
  EXPECT_EQ(copy.copy_from(empty), 1);
  EXPECT_TRUE(copy.is_empty());

  AudioClip no_audio;
  no_audio.set_format({1, 1, 8000, 16000, 2, 16});
  EXPECT_EQ(copy.copy_from(no_audio), 0);
  EXPECT_TRUE(copy.is_empty());
}

TEST_F(Clip, MoveFromTakesEverythingWithoutCopying) {
  AudioClip a, b;
  ASSERT_EQ(a.create_silent(true, 10, 8000), 1);
  ASSERT_EQ(b.create_silent(false, 20, 11025), 1);
  const std::string path = b.store().channel(0).file()->path();
  const WaveFormat format = b.format();
  ASSERT_EQ(a.move_from(b), 1);
  EXPECT_TRUE(b.is_empty());
  EXPECT_EQ(a.format(), format);
  EXPECT_EQ(a.frames(), 20);
  EXPECT_EQ(a.bytes(), 40);
  EXPECT_EQ(a.store().channel(0).file()->path(), path);
  EXPECT_EQ(leftovers().size(), 1u);  // a's old files are gone
}

TEST_F(Clip, CopyToReportsProgress) {
  AudioClip source, target;
  ASSERT_EQ(source.create_silent(true, 10, 8000), 1);
  ProgressSink cancelled(10);
  cancelled.request_cancel();
  EXPECT_EQ(source.copy_to(target, &cancelled), 0);
  EXPECT_TRUE(cancelled.has_failed());
  EXPECT_TRUE(target.is_empty());
  ProgressSink progress(10);
  EXPECT_EQ(source.copy_to(target, &progress), 1);
  EXPECT_EQ(progress.position(), 10u);
  EXPECT_TRUE(target.has_audio());
}

TEST_F(Clip, ClearDeletesTheFiles) {
  {
    AudioClip clip;
    ASSERT_EQ(clip.create_silent(true, 10, 8000), 1);
    EXPECT_EQ(leftovers().size(), 2u);
    clip.clear();
    EXPECT_TRUE(clip.is_empty());
    EXPECT_TRUE(leftovers().empty());
    ASSERT_EQ(clip.create_silent(true, 10, 8000), 1);
  }
  EXPECT_TRUE(leftovers().empty());  // destruction too
}

TEST_F(Clip, PeaksNeedAudioAndColumns) {
  AudioClip clip;
  PeakLists lists;
  EXPECT_EQ(clip.peaks(lists, 10), 0);
  ASSERT_EQ(clip.create_silent(false, 100, 8000), 1);
  EXPECT_EQ(clip.peaks(lists, 0), 0);
  EXPECT_EQ(clip.peaks(lists, 10), 1);
  EXPECT_EQ(lists.first.size(), 10u);
}

}  // namespace
}  // namespace voxtrelle
