// SPDX-License-Identifier: GPL-3.0-or-later
// PCM <-> float rounding, waveform peaks and playback frames.
#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/sample_store.h"
#include "voxtrelle/audio/tests/test_support.h"

namespace voxtrelle {
namespace {

using testing_support::TempDirTest;

struct Pcm16Case {
  int16_t in;
  int16_t back;  // after a read and a write
};
class Pcm16RoundTrip : public ::testing::TestWithParam<Pcm16Case> {};

// Positive values survive; negative ones come back one step nearer zero.
TEST_P(Pcm16RoundTrip, TruncatesTowardZero) {
  EXPECT_EQ(float_to_pcm16(pcm16_to_float(GetParam().in)), GetParam().back);
}
INSTANTIATE_TEST_SUITE_P(Conversion, Pcm16RoundTrip,
                         ::testing::Values(Pcm16Case{32767, 32767}, Pcm16Case{0, 0},
                                           Pcm16Case{1, 1}, Pcm16Case{-1, 0}, Pcm16Case{-100, -99},
                                           Pcm16Case{-32768, -32767}, Pcm16Case{12345, 12345}));

TEST(Conversion, Pcm16ScaleAndClamp) {
  EXPECT_EQ(pcm16_to_float(-32768), -1.0f);
  EXPECT_FLOAT_EQ(pcm16_to_float(32767), 0.999969482f);
  EXPECT_EQ(float_to_pcm16(1.0f), 32767);
  EXPECT_EQ(float_to_pcm16(-1.0f), -32767);
  EXPECT_EQ(float_to_pcm16(3.0f), 32767);
  EXPECT_EQ(float_to_pcm16(-3.0f), -32768);
  EXPECT_EQ(float_to_pcm16(-100.3f / 32768.0f), -99);
  EXPECT_EQ(float_to_pcm16(100.6f / 32768.0f), 101);
}

TEST(Conversion, Pcm8IsExactForEveryValue) {
  for (int u = 0; u <= 255; ++u) {
    EXPECT_EQ(float_to_pcm8(pcm8_to_float(static_cast<uint8_t>(u))), u) << u;
  }
  EXPECT_EQ(pcm8_to_float(0), -1.0f);
  EXPECT_EQ(pcm8_to_float(255), 0.9921875f);
  EXPECT_EQ(float_to_pcm8(1.0f), 255);
  EXPECT_EQ(float_to_pcm8(-2.0f), 0);
  EXPECT_EQ(float_to_pcm8(0.0f), 128);
}

void fill(SampleStore& store, int c, const std::vector<float>& values) {
  ChannelBuffer& channel = store.channel(c);
  for (int32_t p = 0; p < channel.pages(); ++p) {
    float* page = channel.page(p);
    ASSERT_NE(page, nullptr);
    for (int32_t k = 0; k < channel.samples_in_page(p); ++k) {
      page[k] = values[size_t{static_cast<uint32_t>(p)} * kPageSamples + k];
    }
  }
}

// Values at the edges of the rounding rule, then random ones a little past full scale.
std::vector<float> awkward_values(size_t n, unsigned seed) {
  const float inf = std::numeric_limits<float>::infinity();
  std::vector<float> v = {std::nanf(""),
                          inf,
                          -inf,
                          1.0f,
                          -1.0f,
                          3.0f,
                          -3.0f,
                          0.0f,
                          -0.0f,
                          1e30f,
                          -1e30f,
                          1e-40f,
                          -1e-40f,
                          -100.3f / 32768,
                          100.6f / 32768,
                          std::nextafter(0.5f, 0.0f) / 32768,
                          std::nextafter(1.0f, 2.0f),
                          std::nextafter(-1.0f, -2.0f)};
  for (int k = -40; k <= 40; ++k) {
    const float half = (static_cast<float>(k) + 0.5f) / 32768;
    v.push_back(half);
    v.push_back(std::nextafter(half, 1.0f));
    v.push_back(std::nextafter(half, -1.0f));
    v.push_back((static_cast<float>(k) + 0.5f) / 128 - 1.0f);  // 8-bit half steps
  }
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> level(-1.2f, 1.2f);
  while (v.size() < n) v.push_back(level(random));
  v.resize(n);
  return v;
}

class BulkConversion : public TempDirTest,
                       public ::testing::WithParamInterface<std::tuple<uint16_t, uint16_t>> {};

// A save converts whole runs at once, as vector code on whatever processor runs it; every sample
// must still come out exactly as the one-sample conversion gives it.
TEST_P(BulkConversion, SaveMatchesTheSampleRule) {
  const auto [channels, bits] = GetParam();
  const size_t frames = kRunSamples + 38;  // past a run; even, so no pad byte
  const size_t bytes_per_sample = bits / 8;
  testing_support::write_file(
      file("in.wav"),
      testing_support::riff(
          {testing_support::chunk("fmt ", testing_support::fmt_body(1, channels, 8000, bits)),
           testing_support::chunk("data",
                                  std::vector<uint8_t>(frames * channels * bytes_per_sample))}));
  AudioClip clip;
  ASSERT_EQ(clip.load_wav(file("in.wav"), nullptr), 1);
  std::vector<std::vector<float>> values;
  for (uint16_t c = 0; c < channels; ++c) {
    values.push_back(awkward_values(frames, 7u + c));
    if (c == 1) std::rotate(values[1].begin(), values[1].begin() + 5, values[1].end());
    fill(clip.store(), c, values[c]);
  }
  ASSERT_EQ(clip.save_wav(file("out.wav"), nullptr), 1);
  const std::vector<uint8_t> out = testing_support::read_file(file("out.wav"));
  ASSERT_EQ(out.size(), 44 + frames * channels * bytes_per_sample);
  for (size_t f = 0; f < frames; ++f) {
    for (uint16_t c = 0; c < channels; ++c) {
      const size_t at = 44 + (f * channels + c) * bytes_per_sample;
      const float value = values[c][f];
      if (bits == 8) {
        ASSERT_EQ(out[at], float_to_pcm8(value)) << "frame " << f << " value " << value;
      } else {
        const auto sample = static_cast<int16_t>(out[at] | out[at + 1] << 8);
        ASSERT_EQ(sample, float_to_pcm16(value)) << "frame " << f << " value " << value;
      }
    }
  }
}
INSTANTIATE_TEST_SUITE_P(Conversion, BulkConversion,
                         ::testing::Combine(::testing::Values(uint16_t{1}, uint16_t{2}),
                                            ::testing::Values(uint16_t{8}, uint16_t{16})));

using Peaks = TempDirTest;

// frames 10, columns 3: columns open at samples 0, 4 and 7, which are left out.
TEST_F(Peaks, SampleOpeningAColumnIsSkipped) {
  SampleStore store;
  ASSERT_EQ(store.create(2, 10, 8000), 1);
  fill(store, 0, {0.9f, 0.2f, -0.3f, 0.1f, -0.95f, 0.5f, -0.4f, 0.8f, -0.6f, 0.3f});
  fill(store, 1, {-0.9f, 0.1f, 0.1f, 0.1f, 0.7f, 0.1f, 0.2f, 0.3f, 0.4f, -0.2f});
  PeakLists lists;
  ASSERT_EQ(store.peaks(lists, 3), 1);
  ASSERT_EQ(lists.first.size(), 3u);
  ASSERT_EQ(lists.second.size(), 3u);
  const float first[3][2] = {{0.2f, -0.3f}, {0.5f, -0.4f}, {0.3f, -0.6f}};
  const float second[3][2] = {{0.1f, 0.0f}, {0.2f, 0.0f}, {0.4f, -0.2f}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(lists.first[i].max, first[i][0]) << i;
    EXPECT_EQ(lists.first[i].min, first[i][1]) << i;
    EXPECT_EQ(lists.second[i].max, second[i][0]) << i;
    EXPECT_EQ(lists.second[i].min, second[i][1]) << i;
  }
}

TEST_F(Peaks, OneColumnPerFrameGivesSilence) {
  SampleStore store;
  ASSERT_EQ(store.create(1, 6, 8000), 1);
  fill(store, 0, {0.5f, -0.5f, 1.0f, -1.0f, 0.3f, 0.3f});
  PeakLists lists;
  ASSERT_EQ(store.peaks(lists, 6), 1);
  ASSERT_EQ(lists.first.size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(lists.first[i].max, 0.0f);
    EXPECT_EQ(lists.first[i].min, 0.0f);
  }
  EXPECT_EQ(lists.second.size(), 0u);
}

TEST_F(Peaks, MoreColumnsThanFramesFails) {
  SampleStore store;
  ASSERT_EQ(store.create(1, 6, 8000), 1);
  PeakLists lists;
  lists.second.append(0.5f, -0.5f);
  EXPECT_EQ(store.peaks(lists, 7), 0);
  EXPECT_LT(lists.first.size(), 7u);
  EXPECT_EQ(lists.second.size(), 0u);  // cleared
  EXPECT_EQ(store.peaks(lists, 0), 0);
  SampleStore empty;
  EXPECT_EQ(empty.peaks(lists, 3), 0);
}

TEST_F(Peaks, ColumnSpanningAPageBoundary) {
  const int32_t frames = static_cast<int32_t>(kPageSamples) + 1000;
  SampleStore store;
  ASSERT_EQ(store.create(1, frames, 44100), 1);
  std::vector<float> values(static_cast<size_t>(frames), 0.0f);
  values[100] = 0.3f;
  values[kPageSamples - 10] = -0.5f;  // the second of two columns runs across the page end
  values[kPageSamples + 10] = 0.75f;
  fill(store, 0, values);
  PeakLists lists;
  ASSERT_EQ(store.peaks(lists, 1), 1);
  EXPECT_EQ(lists.first[0].max, 0.75f);
  EXPECT_EQ(lists.first[0].min, -0.5f);
  ASSERT_EQ(store.peaks(lists, 2), 1);
  EXPECT_EQ(lists.first[0].max, 0.3f);
  EXPECT_EQ(lists.first[0].min, 0.0f);
  EXPECT_EQ(lists.first[1].max, 0.75f);
  EXPECT_EQ(lists.first[1].min, -0.5f);
}

using Playback = TempDirTest;

TEST_F(Playback, InterleavesAndStopsAtTheEnd) {
  SampleStore store;
  ASSERT_EQ(store.create(2, 5, 8000), 1);
  fill(store, 0, {0.0f, 0.5f, -0.5f, 1.0f, -1.0f});
  fill(store, 1, {0.25f, 0.0f, 0.0f, 0.0f, 0.125f});
  std::vector<int16_t> buffer(8, 111);
  EXPECT_EQ(store.fill_playback(buffer, 2), 6);
  const std::vector<int16_t> expected{-16383, 0, 32767, 0, -32767, 4096, 111, 111};
  EXPECT_EQ(buffer, expected);
  EXPECT_EQ(store.fill_playback(buffer, 5), 0);
  EXPECT_EQ(store.fill_playback(buffer, -1), 0);
  std::vector<int16_t> odd(3);
  EXPECT_EQ(store.fill_playback(odd, 0), 0);  // not a whole number of frames
}

TEST_F(Playback, CrossesPages) {
  const int32_t frames = static_cast<int32_t>(kPageSamples) + 3;
  SampleStore store;
  ASSERT_EQ(store.create(1, frames, 8000), 1);
  store.channel(0).page(0)[kPageSamples - 1] = 0.5f;
  store.channel(0).page(1)[0] = -0.5f;
  std::vector<int16_t> buffer(10);
  EXPECT_EQ(store.fill_playback(buffer, frames - 4), 4);
  EXPECT_EQ(buffer[0], 16384);
  EXPECT_EQ(buffer[1], -16383);
}

}  // namespace
}  // namespace voxtrelle
