// SPDX-License-Identifier: GPL-3.0-or-later
// encode_to_wma: the format rule, failures that keep the target, progress and cancellation.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/media_paths.h"
#include "voxtrelle/media/media_reader.h"
#include "voxtrelle/media/tests/media_test_support.h"
#include "voxtrelle/media/wma_profile_builder.h"

namespace voxtrelle {
namespace {

using test::ScratchDir;

TEST(WmaProfileBuilder, ChoosesTheHighestBitRateOfTheExactFormat) {
  WmaProfileBuilder stereo;
  ASSERT_EQ(stereo.build_for({2, 44100, 16}), 1);
  EXPECT_EQ(stereo.bit_rate(), 320000u);
  EXPECT_EQ(stereo.format().channels, 2);
  EXPECT_EQ(stereo.format().sample_rate, 44100u);

  // Mono never takes a stereo format, whatever its bit rate.
  WmaProfileBuilder mono;
  ASSERT_EQ(mono.build_for({1, 44100, 16}), 1);
  EXPECT_EQ(mono.format().channels, 1);
  EXPECT_LT(mono.bit_rate(), 320000u);

  // An 8-bit input may use a 16-bit format.
  WmaProfileBuilder narrow;
  EXPECT_EQ(narrow.build_for({2, 44100, 8}), 1);
  EXPECT_EQ(narrow.bit_rate(), 320000u);
}

TEST(WmaProfileBuilder, HonoursTheCapAndConfiguresOneStreamOnly) {
  WmaProfileBuilder capped;
  ASSERT_EQ(capped.build_for({2, 44100, 16}, 200000), 1);
  EXPECT_EQ(capped.bit_rate(), 192000u);
  EXPECT_EQ(capped.build_for({2, 44100, 16}), 0) << "a second stream";
  EXPECT_EQ(capped.bit_rate(), 192000u);
  EXPECT_EQ(WmaProfileBuilder().bit_rate(), 0u);
  EXPECT_EQ(WmaProfileBuilder().build_for({2, 44100, 16}, 1000), 0);
}

struct Unoffered {
  PcmLayout layout;
  const char* why;
};
class UnofferedInput : public testing::TestWithParam<Unoffered> {};

TEST_P(UnofferedInput, IsRefused) {
  WmaProfileBuilder builder;
  EXPECT_EQ(builder.build_for(GetParam().layout), 0) << GetParam().why;
  EXPECT_EQ(builder.bit_rate(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Formats, UnofferedInput,
                         testing::Values(Unoffered{{2, 96000, 16}, "96 kHz"},
                                         Unoffered{{1, 44000, 16}, "44 kHz"},
                                         Unoffered{{2, 7999, 16}, "below 8 kHz"},
                                         Unoffered{{3, 44100, 16}, "three channels"},
                                         Unoffered{{0, 44100, 16}, "no channels"},
                                         Unoffered{{2, 44100, 24}, "24-bit"},
                                         Unoffered{{2, 0, 16}, "no rate"}));

// The encoded file is an ASF file with one wmav2 stream at the chosen bit rate.
TEST(EncodeToWma, WritesOneWmaStreamAtTheChosenRate) {
  ScratchDir dir;
  test::write_tone_wav(dir.file("in.wav"), 2, 48000, 48000);
  FfmpegMediaCodec codec;
  ASSERT_EQ(codec.encode_to_wma(dir.file("in.wav"), dir.file("out.wma"), nullptr), 1);
  MediaReader reader;
  ASSERT_EQ(reader.open(dir.file("out.wma"), 2, AV_SAMPLE_FMT_S16), 1);
  EXPECT_EQ(reader.channels(), 2);
  EXPECT_EQ(reader.sample_rate(), 48000);
  EXPECT_EQ(test::read_file(dir.file("out.wma")).substr(0, 4), std::string("\x30\x26\xB2\x75"));
  EXPECT_TRUE(dir.ve_files().empty());
}

// A rate the encoder does not offer fails, creates no target and leaves an existing one as it
// was; no temporary file stays behind.
TEST(EncodeToWma, UnofferedRateFailsAndKeepsTheTarget) {
  ScratchDir dir;
  test::write_tone_wav(dir.file("hi.wav"), 2, 96000, 9600);
  FfmpegMediaCodec codec;
  test::RecordingSink sink(100);
  EXPECT_EQ(codec.encode_to_wma(dir.file("hi.wav"), dir.file("new.wma"), &sink), 0);
  EXPECT_EQ(sink.has_failed(), 1);
  EXPECT_FALSE(test::file_exists(dir.file("new.wma")));

  test::write_file(dir.file("old.wma"), "the user's file");
  EXPECT_EQ(codec.encode_to_wma(dir.file("hi.wav"), dir.file("old.wma"), nullptr), 0);
  EXPECT_EQ(test::read_file(dir.file("old.wma")), "the user's file");
  EXPECT_TRUE(dir.ve_files().empty());
}

TEST(EncodeToWma, ReplacesAnExistingTargetOnlyWhenDone) {
  ScratchDir dir;
  test::write_tone_wav(dir.file("in.wav"), 1, 22050, 22050);
  test::write_file(dir.file("out.wma"), "old");
  FfmpegMediaCodec codec;
  ASSERT_EQ(codec.encode_to_wma(dir.file("in.wav"), dir.file("out.wma"), nullptr), 1);
  EXPECT_GT(test::file_size(dir.file("out.wma")), 1000u);
  EXPECT_TRUE(dir.ve_files().empty());
}

// Saving over a file keeps its permissions, and saving through a symbolic link replaces the
// file it points to and leaves the link a link, as a WAV save does.
TEST(EncodeToWma, ReplacingKeepsPermissionsAndLinks) {
  ScratchDir dir;
  test::write_tone_wav(dir.file("in.wav"), 1, 22050, 22050);
  ASSERT_EQ(::mkdir(dir.file("real").c_str(), 0755), 0);
  test::write_file(dir.file("real/out.wma"), "old");
  ASSERT_EQ(::chmod(dir.file("real/out.wma").c_str(), 0604), 0);
  ASSERT_EQ(::symlink(dir.file("real/out.wma").c_str(), dir.file("link.wma").c_str()), 0);
  FfmpegMediaCodec codec;
  ASSERT_EQ(codec.encode_to_wma(dir.file("in.wav"), dir.file("link.wma"), nullptr), 1);

  struct stat st {};
  ASSERT_EQ(::lstat(dir.file("link.wma").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(::stat(dir.file("real/out.wma").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
  EXPECT_GT(test::file_size(dir.file("real/out.wma")), 1000u);
  EXPECT_TRUE(dir.ve_files().empty());
  // The new file grew beside the real file, and nothing of it is left there.
  for (const auto& entry : std::filesystem::directory_iterator(dir.file("real"))) {
    EXPECT_EQ(entry.path().filename(), "out.wma");
  }
}

TEST(EncodeToWma, RefusesBadSourcesAndTargets) {
  ScratchDir dir;
  test::write_tone_wav(dir.file("in.wav"), 2, 44100, 4410);
  FfmpegMediaCodec codec;
  EXPECT_EQ(codec.encode_to_wma(dir.file("in.wav"), "", nullptr), 0);
  EXPECT_EQ(codec.encode_to_wma("", dir.file("a.wma"), nullptr), 0);
  EXPECT_EQ(codec.encode_to_wma(dir.file("absent.wav"), dir.file("b.wma"), nullptr), 0);
  test::write_file(dir.file("in.flac"), test::read_file(dir.file("in.wav")));
  EXPECT_EQ(codec.encode_to_wma(dir.file("in.flac"), dir.file("c.wma"), nullptr), 0);
  EXPECT_EQ(codec.encode_to_wma(dir.file("in.wav"), dir.file("no/such/folder/d.wma"), nullptr), 0);
  test::write_file(dir.file("silence.wav"), test::read_file(dir.file("in.wav")).substr(0, 44));
  EXPECT_EQ(codec.encode_to_wma(dir.file("silence.wav"), dir.file("e.wma"), nullptr), 0);
  for (const char* name : {"a.wma", "b.wma", "c.wma", "e.wma"}) {
    EXPECT_FALSE(test::file_exists(dir.file(name))) << name;
  }
  EXPECT_TRUE(dir.ve_files().empty());
}

// Progress: 30 % once the source is open, then steadily on to the end.
TEST(EncodeToWma, ReportsOpeningThenSteadyProgress) {
  ScratchDir dir;
  test::write_tone_wav(dir.file("in.wav"), 2, 44100, 44100 * 4);
  FfmpegMediaCodec codec;
  test::RecordingSink sink(1000);
  ASSERT_EQ(codec.encode_to_wma(dir.file("in.wav"), dir.file("out.wma"), &sink), 1);
  ASSERT_GE(sink.positions.size(), 5u);
  EXPECT_EQ(sink.positions.front(), 300u);
  EXPECT_EQ(sink.positions.back(), 1000u);
  for (size_t i = 1; i < sink.positions.size(); ++i) {
    EXPECT_GT(sink.positions[i], sink.positions[i - 1]);
  }
}

TEST(DecodeToWav, ReportsOpeningThenSteadyProgress) {
  ScratchDir dir;
  test::write_tone_wav(dir.file("in.wav"), 2, 44100, 44100 * 4);
  FfmpegMediaCodec codec;
  ASSERT_EQ(codec.encode_to_wma(dir.file("in.wav"), dir.file("in.wma"), nullptr), 1);
  test::RecordingSink sink(1000);
  ASSERT_EQ(codec.decode_to_wav(dir.file("in.wma"), dir.file("out.wav"), &sink), 1);
  ASSERT_GE(sink.positions.size(), 5u);
  EXPECT_EQ(sink.positions.front(), 300u);
  EXPECT_EQ(sink.positions.back(), 1000u);
}

struct CancelPoint {
  const char* name;
  uint32_t at;  // position of a 1000 range at which cancel is requested
};

class Cancelled : public testing::TestWithParam<CancelPoint> {};

// Cancelling before the start, right after opening, or halfway fails the conversion, leaves
// no target (an existing one untouched) and no temporary file.
TEST_P(Cancelled, EncodeLeavesNothing) {
  ScratchDir dir;
  test::write_tone_wav(dir.file("in.wav"), 2, 44100, 44100 * 3);
  test::write_file(dir.file("old.wma"), "old");
  FfmpegMediaCodec codec;
  for (const char* target : {"new.wma", "old.wma"}) {
    test::RecordingSink sink(1000, GetParam().at);
    if (GetParam().at == 0) sink.request_cancel();
    EXPECT_EQ(codec.encode_to_wma(dir.file("in.wav"), dir.file(target), &sink), 0);
    EXPECT_EQ(sink.has_failed(), 1);
  }
  EXPECT_FALSE(test::file_exists(dir.file("new.wma")));
  EXPECT_EQ(test::read_file(dir.file("old.wma")), "old");
  EXPECT_TRUE(dir.ve_files().empty());
}

TEST_P(Cancelled, DecodeLeavesNothing) {
  ScratchDir dir;
  test::write_tone_wav(dir.file("in.wav"), 2, 44100, 44100 * 3);
  FfmpegMediaCodec codec;
  ASSERT_EQ(codec.encode_to_wma(dir.file("in.wav"), dir.file("in.wma"), nullptr), 1);
  test::RecordingSink sink(1000, GetParam().at);
  if (GetParam().at == 0) sink.request_cancel();
  EXPECT_EQ(codec.decode_to_wav(dir.file("in.wma"), dir.file("out.wav"), &sink), 0);
  EXPECT_EQ(sink.has_failed(), 1);
  EXPECT_FALSE(test::file_exists(dir.file("out.wav")));
  EXPECT_TRUE(dir.ve_files().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Points, Cancelled,
    testing::Values(CancelPoint{"before_start", 0}, CancelPoint{"after_opening", 300},
                    CancelPoint{"halfway", 650}, CancelPoint{"near_the_end", 950}),
    [](const testing::TestParamInfo<CancelPoint>& info) { return std::string(info.param.name); });

TEST(SourceKind, GoesByTheExtensionInAnyCase) {
  EXPECT_EQ(source_kind("/music/a.wav"), 1);
  EXPECT_EQ(source_kind("/music/b.Pcm"), 1);
  EXPECT_EQ(source_kind("/music/c.wMA"), 2);
  EXPECT_EQ(source_kind("/music/d.mp3"), -1);
  EXPECT_EQ(source_kind("/music/noext"), -1);
  EXPECT_EQ(source_kind("/music/folder.wma/file"), -1);
  EXPECT_EQ(source_kind(""), -1);
}

TEST(SourceKind, UpperCaseNamesConvert) {
  ScratchDir dir;
  test::write_tone_wav(dir.file("IN.WAV"), 1, 16000, 16000);
  FfmpegMediaCodec codec;
  ASSERT_EQ(codec.encode_to_wma(dir.file("IN.WAV"), dir.file("OUT.WMA"), nullptr), 1);
  EXPECT_EQ(codec.decode_to_wav(dir.file("OUT.WMA"), dir.file("BACK.WAV"), nullptr), 1);
}

TEST(MediaSupport, OffersWhatLoadingAndSavingNeed) {
  EXPECT_TRUE(media_support_available());
}

}  // namespace
}  // namespace voxtrelle
