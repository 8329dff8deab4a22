// SPDX-License-Identifier: GPL-3.0-or-later
// The waveform's peaks come from the block summary: after a load and after every kind of edit
// they must equal the peaks of the samples themselves, for any number of columns.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/tests/clip_test_support.h"
#include "voxtrelle/audio/tests/test_support.h"

namespace voxtrelle {
namespace {

using testing::make_clip;
using testing::samples_of;
using testing_support::TempDirTest;

// The column rule on plain samples: sample g is in column g * columns / frames; the sample that
// opens a column stays out of its extremes; a column is appended when the next one opens.
std::vector<PeakPair> model_peaks(const std::vector<float>& s, int64_t columns) {
  std::vector<PeakPair> pairs;
  const auto frames = static_cast<int64_t>(s.size());
  int64_t column = -1;
  float high = 0.0f;
  float low = 0.0f;
  for (int64_t g = 0; g < frames; ++g) {
    const int64_t c = g * columns / frames;
    if (c != column) {
      if (column >= 0)
        pairs.push_back({std::clamp(high, 0.0f, 1.0f), std::clamp(low, -1.0f, 0.0f)});
      column = c;
      high = 0.0f;
      low = 0.0f;
      continue;
    }
    const float v = s[static_cast<size_t>(g)];
    high = v > high ? v : high;
    low = v < low ? v : low;
  }
  if (column >= 0) pairs.push_back({std::clamp(high, 0.0f, 1.0f), std::clamp(low, -1.0f, 0.0f)});
  return pairs;
}

void expect_peaks_of_samples(const AudioClip& clip) {
  const auto frames = static_cast<int64_t>(clip.frames());
  for (const int64_t columns : {int64_t{1}, int64_t{2}, int64_t{7}, int64_t{50}, int64_t{584},
                                int64_t{1920}, frames / 5000, frames / 3000, frames / 1024,
                                frames / 1023, frames / 2 + 1, frames - 1, frames, frames + 1}) {
    if (columns <= 0) continue;
    SCOPED_TRACE("columns " + std::to_string(columns));
    PeakLists lists;
    const int ok = clip.peaks(lists, static_cast<int32_t>(columns));
    for (int c = 0; c < clip.store().channels(); ++c) {
      const std::vector<PeakPair> expected = model_peaks(samples_of(clip, c), columns);
      EXPECT_EQ(ok, static_cast<int64_t>(expected.size()) == columns);
      if (!ok) continue;
      const PeakList& list = c == 0 ? lists.first : lists.second;
      ASSERT_EQ(list.size(), expected.size());
      for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(list[i].max, expected[i].max) << "channel " << c << " column " << i;
        ASSERT_EQ(list[i].min, expected[i].min) << "channel " << c << " column " << i;
      }
    }
  }
}

// Quiet random values with the odd ones in: NaN, signed zeros, rare loud spikes (some past
// full scale), so that every block has extremes of its own.
std::vector<float> awkward_samples(size_t n, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> level(-0.3f, 0.3f);
  std::vector<float> s(n);
  for (float& v : s) {
    const uint32_t r = random() % 65536;
    if (r == 0) {
      v = std::numeric_limits<float>::quiet_NaN();
    } else if (r == 1) {
      v = -0.0f;
    } else if (r < 4) {
      v = level(random) * 3.0f;
    } else if (r < 6) {
      v = level(random) * 6.0f;
    } else {
      v = level(random) * static_cast<float>(1 + random() % 4) / 4.0f;
    }
  }
  return s;
}

struct EditCase {
  const char* name;
  std::function<int(AudioClip&)> edit;
};

class SummaryAfterEdit : public TempDirTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(SummaryAfterEdit, PeaksEqualThoseOfTheSamples) {
  constexpr int32_t kPage = kPageSamples;
  const size_t frames = 2 * kPage + 12345;
  AudioClip clip;
  make_clip(clip, awkward_samples(frames, 1), awkward_samples(frames, 2));
  ASSERT_EQ(GetParam().edit(clip), 1);
  expect_peaks_of_samples(clip);
}

constexpr int32_t kPage = kPageSamples;

INSTANTIATE_TEST_SUITE_P(
    Summary, SummaryAfterEdit,
    ::testing::Values(
        EditCase{"Nothing", [](AudioClip&) { return 1; }},
        EditCase{"VolumeOverOddRange",
                 [](AudioClip& c) { return c.change_volume(5 * 1024 + 24, kPage + 1000, 40); }},
        EditCase{"FadeInAcrossAPage",
                 [](AudioClip& c) { return c.fade_in(kPage - 5000 + 24, kPage + 3 * 1024 - 24); }},
        EditCase{"FadeOutWhole", [](AudioClip& c) { return c.fade_out(-1, -1); }},
        EditCase{"Maximize", [](AudioClip& c) { return c.maximize(17, 2 * kPage); }},
        EditCase{"DeleteOddStretch",
                 [](AudioClip& c) { return c.delete_range(777, kPage + 1, 1); }},
        EditCase{"KeepOddStretch",
                 [](AudioClip& c) { return c.delete_range(1500, kPage + 99, 0); }},
        EditCase{"ToMono", [](AudioClip& c) { return c.to_mono(); }},
        EditCase{"ToMonoThenStereo", [](AudioClip& c) { return c.to_mono() && c.to_stereo(); }},
        EditCase{"WrittenThroughTheMapping",
                 [](AudioClip& c) {
                   float* page = c.store().channel(1).page(1);
                   if (page == nullptr) return 0;
                   page[4321] = 0.99f;
                   page[4322] = -0.98f;
                   return 1;
                 }},
        EditCase{"WriteRun",
                 [](AudioClip& c) {
                   const std::vector<float> loud(3000, -0.75f);
                   return c.store().channel(0).write_run(kPage - 1000, loud.data(), 3000);
                 }}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

using SummaryOnLoad = TempDirTest;

// A load measures every block while it converts: nothing is left to read again, and peaks of
// short clips (fewer samples than columns, a partial last block) follow the samples too.
TEST_F(SummaryOnLoad, LoadLeavesNoStaleBlock) {
  for (const int32_t frames : {1, 3, 1023, 1025, kPage + 1}) {
    SCOPED_TRACE(frames);
    std::vector<int16_t> pcm(static_cast<size_t>(frames) * 2);
    std::mt19937 random(static_cast<uint32_t>(frames));
    for (int16_t& s : pcm) s = static_cast<int16_t>(random());
    const std::string path = file("in.wav");
    testing::write_file(path, testing::wav_bytes(2, 8000, 16, testing::pcm16_bytes(pcm)));
    AudioClip clip;
    ASSERT_EQ(clip.load_wav(path, nullptr), 1);
    for (int c = 0; c < 2; ++c) {
      EXPECT_EQ(clip.store().channel(c).file()->stale_summary_blocks(), 0);
      EXPECT_LE(clip.store().channel(c).file()->summary_bytes(),
                (static_cast<size_t>(frames) / 1024 + 1) * 9);
    }
    expect_peaks_of_samples(clip);
  }
}

}  // namespace
}  // namespace voxtrelle
