// SPDX-License-Identifier: GPL-3.0-or-later
// decode_to_wav: non-PCM WAV variants, progress and cancellation, and input it must refuse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/tests/media_test_support.h"

namespace voxtrelle {
namespace {

using test::PcmWav;
using test::ScratchDir;

struct Variant {
  const char* name;
  std::vector<std::string> ffmpeg_args;  // output options that make the variant
  uint16_t channels_in;
  uint32_t rate;
  uint16_t channels_out;
  uint32_t frame_slack;  // ADPCM codes whole blocks
};

class NonPcmWav : public testing::TestWithParam<Variant> {};

// WAV files whose data is not 16-bit PCM come out as 16-bit PCM with the same rate, the same
// channel count up to two (more are mixed down to stereo) and the same length and level.
TEST_P(NonPcmWav, DecodesToSixteenBitPcm) {
  const Variant& v = GetParam();
  ScratchDir dir;
  const std::string source = dir.file("tone.wav");
  const std::string variant = dir.file("variant.wav");
  test::write_tone_wav(source, v.channels_in, v.rate, v.rate, 0.5);
  std::vector<std::string> args = {"-i", source};
  args.insert(args.end(), v.ffmpeg_args.begin(), v.ffmpeg_args.end());
  args.push_back(variant);
  ASSERT_TRUE(test::run_ffmpeg(args)) << "ffmpeg could not make the " << v.name << " file";
  PcmWav made;
  ASSERT_TRUE(test::read_wav(variant, made));
  ASSERT_FALSE(made.format_tag == 1 && made.bits == 16) << "the variant is plain PCM";

  FfmpegMediaCodec codec;
  const std::string out = dir.file("out.wav");
  test::RecordingSink sink(1000);
  ASSERT_EQ(codec.decode_to_wav(variant, out, &sink), 1);
  EXPECT_EQ(sink.position(), 1000u);
  EXPECT_EQ(sink.has_failed(), 0);

  PcmWav decoded;
  ASSERT_TRUE(test::read_wav(out, decoded));
  EXPECT_EQ(decoded.format_tag, 1);
  EXPECT_EQ(decoded.bits, 16);
  EXPECT_EQ(decoded.channels, v.channels_out);
  EXPECT_EQ(decoded.sample_rate, v.rate);
  EXPECT_GE(decoded.frames(), v.rate - v.frame_slack);
  EXPECT_LE(decoded.frames(), v.rate + v.frame_slack);
  if (v.channels_in == v.channels_out) {
    // Each channel keeps its own tone at its level (RMS of a 0.5 sine).
    for (int c = 0; c < decoded.channels; ++c) {
      EXPECT_NEAR(test::rms(decoded, c, v.rate / 4, v.rate * 3 / 4), 0.3536, 0.02) << c;
    }
    return;
  }
  // A mix-down: each channel at the level the ffmpeg command line mixes the same file to.
  const std::string reference = dir.file("reference.wav");
  ASSERT_TRUE(test::run_ffmpeg(
      {"-i", variant, "-ac", std::to_string(v.channels_out), "-c:a", "pcm_s16le", reference}));
  PcmWav expected;
  ASSERT_TRUE(test::read_wav(reference, expected));
  for (int c = 0; c < decoded.channels; ++c) {
    const double want = test::rms(expected, c, v.rate / 4, v.rate * 3 / 4);
    const double got = test::rms(decoded, c, v.rate / 4, v.rate * 3 / 4);
    EXPECT_GT(got, 0.05) << "channel " << c;
    EXPECT_NEAR(got, want, want * 0.06 + 0.001) << "channel " << c;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Variants, NonPcmWav,
    testing::Values(Variant{"float", {"-c:a", "pcm_f32le"}, 1, 44100, 1, 0},
                    Variant{"double", {"-c:a", "pcm_f64le"}, 2, 22050, 2, 0},
                    Variant{"adpcm_ms", {"-c:a", "adpcm_ms"}, 2, 44100, 2, 2048},
                    Variant{"adpcm_ima", {"-c:a", "adpcm_ima_wav"}, 1, 22050, 1, 2048},
                    Variant{"mulaw", {"-c:a", "pcm_mulaw"}, 1, 8000, 1, 0},
                    Variant{"alaw", {"-c:a", "pcm_alaw"}, 2, 8000, 2, 0},
                    Variant{"extensible_24bit", {"-c:a", "pcm_s24le"}, 2, 48000, 2, 0},
                    Variant{"extensible_6ch", {"-c:a", "pcm_s16le"}, 6, 48000, 2, 0},
                    Variant{"float_96k_extensible", {"-c:a", "pcm_f32le"}, 2, 96000, 2, 0},
                    Variant{"pcm_8bit", {"-c:a", "pcm_u8"}, 1, 11025, 1, 0}),
    [](const testing::TestParamInfo<Variant>& info) { return std::string(info.param.name); });

// WMA files from another writer (FFmpeg's own command line, both WMA versions, its default
// packet size) load as well, with their tags.
TEST(ForeignWma, DecodesBothWmaVersions) {
  ScratchDir dir;
  test::write_tone_wav(dir.file("tone.wav"), 2, 32000, 32000, 0.5);
  FfmpegMediaCodec codec;
  for (const char* version : {"wmav1", "wmav2"}) {
    const std::string wma = dir.file(std::string(version) + ".wma");
    ASSERT_TRUE(test::run_ffmpeg({"-i", dir.file("tone.wav"), "-c:a", version, "-b:a", "128k",
                                  "-metadata", "title=Foreign", wma}));
    MediaTags tags;
    EXPECT_EQ(codec.read_tags(wma, tags), 1);
    EXPECT_EQ(tags.title, "Foreign");
    const std::string out = dir.file(std::string(version) + ".wav");
    ASSERT_EQ(codec.decode_to_wav(wma, out, nullptr), 1) << version;
    PcmWav decoded;
    ASSERT_TRUE(test::read_wav(out, decoded));
    EXPECT_EQ(decoded.channels, 2);
    EXPECT_EQ(decoded.sample_rate, 32000u);
    EXPECT_NEAR(double(decoded.frames()), 32000.0, 4096.0);
    EXPECT_NEAR(test::rms(decoded, 0, 8000, 24000), 0.3536, 0.03);
  }
}

}  // namespace
}  // namespace voxtrelle
