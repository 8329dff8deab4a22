// SPDX-License-Identifier: GPL-3.0-or-later
// WAV -> WMA -> WAV through the real encoder and decoder, for every offered format.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/tests/media_test_support.h"
#include "voxtrelle/media/wma_encoder.h"
#include "voxtrelle/media/wma_profile_builder.h"

namespace voxtrelle {
namespace {

using test::PcmWav;
using test::ScratchDir;

std::string format_name(const testing::TestParamInfo<WmaFormat>& info) {
  const WmaFormat& f = info.param;
  return std::to_string(f.channels) + "ch_" + std::to_string(f.sample_rate) + "Hz_" +
         std::to_string(f.bit_rate / 1000) + "k";
}

class EveryOfferedFormat : public testing::TestWithParam<WmaFormat> {};

// Each table entry is one the encoder really produces: one second encodes, decodes with the
// same channels and rate, and the file's data grows at the nominal bit rate (the difference
// between a 1 s and a 5 s file leaves the fixed header out) within 10 %.
TEST_P(EveryOfferedFormat, EncodesAtItsBitRate) {
  const WmaFormat f = GetParam();
  ScratchDir dir;
  FfmpegMediaCodec codec;
  uint64_t sizes[2] = {};
  const uint32_t seconds[2] = {1, 5};
  for (int i = 0; i < 2; ++i) {
    const std::string wav = dir.file("in" + std::to_string(i) + ".wav");
    const std::string wma = dir.file("out" + std::to_string(i) + ".wma");
    test::write_tone_wav(wav, f.channels, f.sample_rate, f.sample_rate * seconds[i]);
    ASSERT_EQ(encode_wav_to_wma(wav, wma, nullptr, f.bit_rate), 1);
    sizes[i] = test::file_size(wma);

    const std::string back = dir.file("back" + std::to_string(i) + ".wav");
    ASSERT_EQ(codec.decode_to_wav(wma, back, nullptr), 1);
    PcmWav decoded;
    ASSERT_TRUE(test::read_wav(back, decoded));
    EXPECT_EQ(decoded.channels, f.channels);
    EXPECT_EQ(decoded.sample_rate, f.sample_rate);
  }
  const double real = double(sizes[1] - sizes[0]) * 8.0 / 4.0;
  EXPECT_NEAR(real / f.bit_rate, 1.0, 0.10) << "real bit rate " << real;
}

INSTANTIATE_TEST_SUITE_P(Table, EveryOfferedFormat, testing::ValuesIn(offered_wma_formats()),
                         format_name);

struct RoundTripCase {
  uint16_t channels;
  uint32_t rate;
};

class RoundTrip : public testing::TestWithParam<RoundTripCase> {};

// Nothing of the audio is lost: the decoded file holds every encoded frame plus less than one
// codec frame (2048 frames at 32 kHz and above, 512 at 16 kHz and below) of trailing silence.
// The level of a steady tone stays within 1 dB.
TEST_P(RoundTrip, KeepsFormatLengthAndLevel) {
  const auto [channels, rate] = GetParam();
  ScratchDir dir;
  FfmpegMediaCodec codec;
  const uint32_t frames = rate * 2;
  test::write_tone_wav(dir.file("in.wav"), channels, rate, frames, 0.5);
  ASSERT_EQ(codec.encode_to_wma(dir.file("in.wav"), dir.file("mid.wma"), nullptr), 1);
  ASSERT_EQ(codec.decode_to_wav(dir.file("mid.wma"), dir.file("out.wav"), nullptr), 1);

  PcmWav in, out;
  ASSERT_TRUE(test::read_wav(dir.file("in.wav"), in));
  ASSERT_TRUE(test::read_wav(dir.file("out.wav"), out));
  EXPECT_EQ(out.format_tag, 1);
  EXPECT_EQ(out.bits, 16);
  EXPECT_EQ(out.channels, channels);
  EXPECT_EQ(out.sample_rate, rate);
  EXPECT_GE(out.frames(), in.frames());
  EXPECT_LT(out.frames(), in.frames() + 2048);
  for (int c = 0; c < channels; ++c) {
    const double want = test::rms(in, c, rate / 4, rate * 3 / 2);
    const double got = test::rms(out, c, rate / 4, rate * 3 / 2);
    EXPECT_NEAR(20.0 * std::log10(got / want), 0.0, 1.0) << "channel " << c;
  }
}

// A click keeps its place in time, and the very first sample survives.
TEST_P(RoundTrip, KeepsEverySampleInPlace) {
  const auto [channels, rate] = GetParam();
  ScratchDir dir;
  FfmpegMediaCodec codec;
  const uint32_t frames = rate;
  const size_t click = rate / 4 + 17;
  std::vector<int16_t> samples(size_t(frames) * channels, 0);
  for (int c = 0; c < channels; ++c) {
    samples[c] = 16000;
    samples[click * channels + c] = 20000;
  }
  test::write_pcm_wav(dir.file("in.wav"), channels, rate, samples);
  ASSERT_EQ(codec.encode_to_wma(dir.file("in.wav"), dir.file("mid.wma"), nullptr), 1);
  ASSERT_EQ(codec.decode_to_wav(dir.file("mid.wma"), dir.file("out.wav"), nullptr), 1);
  PcmWav out;
  ASSERT_TRUE(test::read_wav(dir.file("out.wav"), out));
  ASSERT_GT(out.frames(), click + 100);
  size_t loudest = 0;
  for (size_t i = 100; i < out.frames(); ++i) {
    if (std::abs(out.samples[i * channels]) > std::abs(out.samples[loudest * channels])) {
      loudest = i;
    }
  }
  EXPECT_NEAR(double(loudest), double(click), 2.0);
  EXPECT_GT(out.samples[0], 4000) << "the first sample was lost";
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip,
                         testing::Values(RoundTripCase{2, 44100}, RoundTripCase{1, 44100},
                                         RoundTripCase{2, 48000}, RoundTripCase{1, 22050},
                                         RoundTripCase{2, 8000}));

}  // namespace
}  // namespace voxtrelle
