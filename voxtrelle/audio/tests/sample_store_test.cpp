// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/sample_store.h"

#include <sys/stat.h>

#include <string>
#include <tuple>
#include <vector>

#include "voxtrelle/audio/tests/test_support.h"
#include "voxtrelle/audio/throttle.h"

namespace voxtrelle {
namespace {

using testing_support::TempDirTest;

constexpr int32_t P = 262144;

// Writes values into channel c of store, page by page.
void fill(SampleStore& store, int c, const std::vector<float>& values) {
  ChannelBuffer& channel = store.channel(c);
  ASSERT_EQ(static_cast<size_t>(channel.length()), values.size());
  for (int32_t p = 0; p < channel.pages(); ++p) {
    float* page = channel.page(p);
    ASSERT_NE(page, nullptr);
    for (int32_t k = 0; k < channel.samples_in_page(p); ++k)
      page[k] = values[static_cast<size_t>(p) * P + k];
  }
}

std::vector<float> samples(const SampleStore& store, int c) {
  const ChannelBuffer& channel = store.channel(c);
  std::vector<float> out;
  for (int32_t p = 0; p < channel.pages(); ++p) {
    const float* page = channel.page(p);
    EXPECT_NE(page, nullptr);
    if (page == nullptr) return out;
    out.insert(out.end(), page, page + channel.samples_in_page(p));
  }
  return out;
}

using Store = TempDirTest;

TEST_F(Store, NewChannelIsSilenceInItsOwnFile) {
  SampleStore store;
  ASSERT_EQ(store.create(2, 1000, 44100), 1);
  EXPECT_TRUE(store.is_stereo() && store.is_flat() && store.is_valid());
  EXPECT_EQ(samples(store, 0), std::vector<float>(1000, 0.0f));
  EXPECT_EQ(samples(store, 1), std::vector<float>(1000, 0.0f));
  EXPECT_EQ(leftovers().size(), 2u);
  EXPECT_NE(store.channel(0).file()->path(), store.channel(1).file()->path());
  EXPECT_DOUBLE_EQ(store.duration(), 1000.0 / 44100.0);
  store.clear();
  EXPECT_TRUE(store.is_empty());
  EXPECT_TRUE(leftovers().empty());
}

struct CreateCase {
  uint16_t channels;
  int32_t frames;
  int32_t rate;
};
class StoreCreateRejects : public TempDirTest, public ::testing::WithParamInterface<CreateCase> {};

TEST_P(StoreCreateRejects, BadArguments) {
  SampleStore store;
  EXPECT_EQ(store.create(GetParam().channels, GetParam().frames, GetParam().rate), 0);
  EXPECT_TRUE(store.is_empty());
  EXPECT_TRUE(leftovers().empty());
}
INSTANTIATE_TEST_SUITE_P(Store, StoreCreateRejects,
                         ::testing::Values(CreateCase{0, 10, 8000}, CreateCase{3, 10, 8000},
                                           CreateCase{1, 0, 8000}, CreateCase{1, -5, 8000},
                                           CreateCase{2, 10, 0}));

TEST_F(Store, CreateOnlyOnAnEmptyStore) {
  SampleStore store;
  ASSERT_EQ(store.create(1, 10, 8000), 1);
  EXPECT_EQ(store.create(1, 20, 8000), 0);
  EXPECT_EQ(store.frames(), 10);
}

TEST_F(Store, PagesSplitAt262144Samples) {
  ChannelBuffer channel;
  ASSERT_EQ(channel.create(P + 1), 1);
  EXPECT_EQ(channel.pages(), 2);
  EXPECT_EQ(channel.samples_in_page(0), P);
  EXPECT_EQ(channel.samples_in_page(1), 1);
  EXPECT_EQ(channel.samples_in_page(2), 0);
  EXPECT_EQ(channel.page(2), nullptr);
  EXPECT_EQ(channel.page(-1), nullptr);
  channel.page(0)[P - 1] = 0.25f;
  channel.page(1)[0] = -0.5f;
  EXPECT_EQ(channel.page(0)[P - 1], 0.25f);
  EXPECT_EQ(channel.page(1)[0], -0.5f);

  ChannelBuffer exact;
  ASSERT_EQ(exact.create(P), 1);
  EXPECT_EQ(exact.pages(), 1);
  EXPECT_EQ(exact.samples_in_page(0), P);
}

TEST_F(Store, WriteRunCrossesOnePageBoundary) {
  ChannelBuffer channel;
  ASSERT_EQ(channel.create(2 * P + 3), 1);
  std::vector<float> run(P);
  for (int32_t k = 0; k < P; ++k) run[k] = static_cast<float>(k % 1000) / 1000.0f;
  ASSERT_EQ(channel.write_run(P + 3, run.data(), P), 1);
  EXPECT_EQ(channel.page(1)[3], 0.0f);
  EXPECT_EQ(channel.page(1)[4], run[1]);
  EXPECT_EQ(channel.page(2)[2], run[P - 1]);
  EXPECT_EQ(channel.write_run(P + 4, run.data(), P), 0);  // would pass the end
}

struct RangeCase {
  int32_t dest_pos, begin, end;
  bool ok;
  std::vector<float> expected;  // destination afterwards
};
class CopyRange : public TempDirTest, public ::testing::WithParamInterface<RangeCase> {};

// Source frames hold 1 .. 10, the destination is 10 silent frames.
TEST_P(CopyRange, ClampsAndShortens) {
  SampleStore source, dest;
  ASSERT_EQ(source.create(2, 10, 8000), 1);
  ASSERT_EQ(dest.create(2, 10, 8000), 1);
  std::vector<float> values;
  for (int i = 1; i <= 10; ++i) values.push_back(static_cast<float>(i) / 10.0f);
  fill(source, 0, values);
  fill(source, 1, values);
  const RangeCase& c = GetParam();
  EXPECT_EQ(dest.copy_range(c.dest_pos, source, c.begin, c.end), c.ok ? 1 : 0);
  std::vector<float> expected = c.expected;
  for (float& v : expected) v /= 10.0f;
  if (!c.ok) expected.assign(10, 0.0f);
  EXPECT_EQ(samples(dest, 0), expected);
  EXPECT_EQ(samples(dest, 1), expected);
}
INSTANTIATE_TEST_SUITE_P(
    Store, CopyRange,
    ::testing::Values(RangeCase{0, 2, 5, true, {3, 4, 5, 0, 0, 0, 0, 0, 0, 0}},
                      RangeCase{0, 7, 100, true, {8, 9, 10, 0, 0, 0, 0, 0, 0, 0}},
                      RangeCase{1, -5, 2, true, {0, 1, 2, 0, 0, 0, 0, 0, 0, 0}},
                      RangeCase{8, 0, 10, true, {0, 0, 0, 0, 0, 0, 0, 0, 1, 2}},
                      RangeCase{0, 5, 5, false, {}}, RangeCase{0, 6, 5, false, {}},
                      RangeCase{10, 0, 5, false, {}}, RangeCase{-1, 0, 5, false, {}},
                      RangeCase{0, 20, 30, false, {}}));

TEST_F(Store, CopyRangeAcrossPages) {
  SampleStore source, dest;
  ASSERT_EQ(source.create(1, P + 100, 8000), 1);
  ASSERT_EQ(dest.create(1, P + 100, 8000), 1);
  std::vector<float> values(P + 100);
  for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<float>(i % 997) / 997.0f;
  fill(source, 0, values);
  ASSERT_EQ(dest.copy_range(P - 2, source, P - 5, P + 5), 1);
  const std::vector<float> out = samples(dest, 0);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(out[P - 2 + i], values[P - 5 + i]) << i;
  EXPECT_EQ(out[P - 3], 0.0f);
  EXPECT_EQ(out[P + 8], 0.0f);
}

TEST_F(Store, CopyRangeNeedsMatchingChannels) {
  SampleStore mono, stereo;
  ASSERT_EQ(mono.create(1, 10, 8000), 1);
  ASSERT_EQ(stereo.create(2, 10, 8000), 1);
  EXPECT_EQ(mono.copy_range(0, stereo, 0, 5), 0);
  SampleStore empty;
  EXPECT_EQ(mono.copy_range(0, empty, 0, 5), 0);
}

struct MixCase {
  std::vector<float> left, right, expected;
};
class MixToMono : public TempDirTest, public ::testing::WithParamInterface<MixCase> {};

TEST_P(MixToMono, SumsAndRescalesOnlyWhenOverFullScale) {
  const MixCase& c = GetParam();
  SampleStore store;
  ASSERT_EQ(store.create(2, static_cast<int32_t>(c.left.size()), 8000), 1);
  fill(store, 0, c.left);
  fill(store, 1, c.right);
  ASSERT_EQ(store.mix_to_mono(), 1);
  EXPECT_TRUE(store.is_mono());
  EXPECT_TRUE(store.channel(1).is_empty());
  const std::vector<float> out = samples(store, 0);
  ASSERT_EQ(out.size(), c.expected.size());
  for (size_t i = 0; i < out.size(); ++i) EXPECT_NEAR(out[i], c.expected[i], 1e-6f) << i;
  EXPECT_EQ(leftovers().size(), 1u);  // channel 1's file is gone
}
INSTANTIATE_TEST_SUITE_P(
    Store, MixToMono,
    ::testing::Values(MixCase{{0.3f, -0.1f}, {0.2f, -0.2f}, {0.5f, -0.3f}},  // no halving
                      MixCase{{1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, -1.0f}},  // 2.0 -> 1.0
                      MixCase{{0.6f, 0.6f}, {0.6f, 0.6f}, {1.0f, 1.0f}},
                      MixCase{{0.5f, -0.7f}, {-0.5f, 0.7f}, {0.0f, 0.0f}},
                      MixCase{{1.0f, 0.2f}, {0.5f, 0.1f}, {1.0f, 0.2f}},      // peak 1.5
                      MixCase{{-1.0f, -0.2f}, {-1.0f, 0.0f}, {-1.0f, -0.1f}}  // peak |-2|
                      ));

// Long channels go through the vector path of the mix; the loudest sum, wherever it sits (any
// of the eight lanes, a run boundary, the tail), sets the rescale of every sample.
class MixPeakPlace : public TempDirTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(MixPeakPlace, LoudestSumRescalesEverySample) {
  constexpr int32_t n = 2 * static_cast<int32_t>(kRunSamples) + 13;
  const int32_t place = GetParam() < 0 ? n + GetParam() : GetParam();
  std::vector<float> left(n, 0.25f);
  std::vector<float> right(n, 0.25f);
  left[place] = -0.75f;
  right[place] = -0.75f;  // sum -1.5: every sum is divided by 1.5
  SampleStore store;
  ASSERT_EQ(store.create(2, n, 8000), 1);
  fill(store, 0, left);
  fill(store, 1, right);
  ASSERT_EQ(store.mix_to_mono(), 1);
  const std::vector<float> out = samples(store, 0);
  ASSERT_EQ(out.size(), static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    ASSERT_FLOAT_EQ(out[i], i == place ? -1.0f : 0.5f / 1.5f) << i;
  }
}
INSTANTIATE_TEST_SUITE_P(Store, MixPeakPlace,
                         ::testing::Values(0, 5, 7, 8, 1000, static_cast<int32_t>(kRunSamples) - 1,
                                           static_cast<int32_t>(kRunSamples), -13, -1));

struct CutCase {
  int32_t begin, end;
  bool keep_outside;
};
class CutFrames : public TempDirTest, public ::testing::WithParamInterface<CutCase> {};

// The cut happens inside the channel files, which shrink to the frames kept.
TEST_P(CutFrames, KeepsTheRightFramesAndShrinksTheFiles) {
  const CutCase& c = GetParam();
  const int32_t n = 2 * P + 500;
  std::vector<float> left(n);
  for (int32_t i = 0; i < n; ++i) left[i] = static_cast<float>(i) / 16777216.0f;  // all distinct
  std::vector<float> right(left.rbegin(), left.rend());
  SampleStore store;
  ASSERT_EQ(store.create(2, n, 8000), 1);
  fill(store, 0, left);
  fill(store, 1, right);
  const std::string left_path = store.channel(0).file()->path();
  ASSERT_EQ(store.cut_frames(c.begin, c.end, c.keep_outside), 1);
  for (std::vector<float>* values : {&left, &right}) {
    if (c.keep_outside) {
      values->erase(values->begin() + c.begin, values->begin() + c.end);
    } else {
      *values = std::vector<float>(values->begin() + c.begin, values->begin() + c.end);
    }
  }
  EXPECT_EQ(store.frames(), static_cast<int32_t>(left.size()));
  EXPECT_EQ(samples(store, 0), left);
  EXPECT_EQ(samples(store, 1), right);
  EXPECT_EQ(store.channel(0).file()->path(), left_path);  // no second store was built
  for (int ch = 0; ch < 2; ++ch) {
    struct stat st {};
    ASSERT_EQ(stat(store.channel(ch).file()->path().c_str(), &st), 0);
    EXPECT_EQ(st.st_size, static_cast<off_t>(left.size() * sizeof(float)));
  }
  EXPECT_EQ(leftovers().size(), 2u);
}
INSTANTIATE_TEST_SUITE_P(
    Store, CutFrames,
    ::testing::Values(CutCase{5, 105, true},  // a long move by less than one run
                      CutCase{1, P + 7, true}, CutCase{P - 3, 2 * P + 11, true},
                      CutCase{0, 2 * P + 499, true},  // one frame left
                      CutCase{2 * P, 2 * P + 500, true}, CutCase{100, 2 * P + 50, false},
                      CutCase{P + 1, 2 * P + 500, false}, CutCase{0, 3, false}));

class RefusedCut : public TempDirTest,
                   public ::testing::WithParamInterface<std::tuple<int32_t, int32_t, bool>> {};

// Anything but a proper range inside the store fails before a sample moves.
TEST_P(RefusedCut, LeavesTheStoreAlone) {
  const auto [begin, end, keep_outside] = GetParam();
  const std::vector<float> values = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
  SampleStore store;
  ASSERT_EQ(store.create(1, 6, 8000), 1);
  fill(store, 0, values);
  EXPECT_EQ(store.cut_frames(begin, end, keep_outside), 0);
  EXPECT_EQ(store.frames(), 6);
  EXPECT_EQ(samples(store, 0), values);
}
INSTANTIATE_TEST_SUITE_P(Store, RefusedCut,
                         ::testing::Values(std::tuple{0, 6, true}, std::tuple{-1, 3, true},
                                           std::tuple{2, 7, false}, std::tuple{3, 3, false},
                                           std::tuple{4, 2, true}));

TEST_F(Store, LayoutChangesLeaveTheTargetLayoutAlone) {
  SampleStore store;
  ASSERT_EQ(store.create(1, 5, 8000), 1);
  fill(store, 0, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f});
  EXPECT_EQ(store.mix_to_mono(), 1);
  EXPECT_TRUE(store.is_mono());
  ASSERT_EQ(store.duplicate_to_stereo(), 1);
  EXPECT_TRUE(store.is_stereo());
  EXPECT_EQ(samples(store, 1), samples(store, 0));
  EXPECT_NE(store.channel(0).file()->path(), store.channel(1).file()->path());
  EXPECT_EQ(store.duplicate_to_stereo(), 1);
  SampleStore empty;
  EXPECT_EQ(empty.mix_to_mono(), 0);
  EXPECT_EQ(empty.duplicate_to_stereo(), 0);
}

TEST_F(Store, SwapMovesFilesAndEmptiesTheOther) {
  SampleStore a, b;
  ASSERT_EQ(a.create(1, 5, 8000), 1);
  ASSERT_EQ(b.create(2, 7, 22050), 1);
  const std::string path = b.channel(1).file()->path();
  a.swap(b);
  EXPECT_TRUE(b.is_empty());
  EXPECT_EQ(a.channels(), 2);
  EXPECT_EQ(a.frames(), 7);
  EXPECT_EQ(a.rate(), 22050);
  EXPECT_EQ(a.channel(1).file()->path(), path);
  EXPECT_EQ(leftovers().size(), 2u);  // a's old file was deleted
}

TEST_F(Store, CopyFromMakesIndependentFiles) {
  SampleStore source, copy;
  ASSERT_EQ(source.create(2, P + 7, 8000), 1);
  std::vector<float> values(P + 7);
  for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<float>(i % 101) / 101.0f;
  fill(source, 1, values);
  ProgressSink progress(100);
  ASSERT_EQ(copy.copy_from(source, &progress), 1);
  EXPECT_EQ(progress.position(), 100u);
  EXPECT_EQ(samples(copy, 1), values);
  copy.channel(1).page(0)[0] = 0.75f;
  EXPECT_EQ(source.channel(1).page(0)[0], 0.0f);

  SampleStore empty;
  EXPECT_EQ(copy.copy_from(empty, nullptr), 1);
  EXPECT_TRUE(copy.is_empty());
}

TEST_F(Store, CancelledCopyLeavesNothing) {
  SampleStore source, copy;
  ASSERT_EQ(source.create(2, 100, 8000), 1);
  ProgressSink progress(100);
  progress.request_cancel();
  EXPECT_EQ(copy.copy_from(source, &progress), 0);
  EXPECT_TRUE(copy.is_empty());
  EXPECT_TRUE(progress.has_failed());
  EXPECT_EQ(leftovers().size(), 2u);
}

// A disk that cannot hold the samples fails the creation instead of faulting later through
// the mapping; the file size limit stands in for a full disk.
TEST_F(Store, FullDiskFailsCleanly) {
  SampleStore store;
  int created = 0;
  {
    const testing_support::FileSizeLimit limit(1 << 20);
    ASSERT_TRUE(limit.active());
    created = store.create(2, 1 << 20, 44100);  // 4 MiB per channel
  }
  EXPECT_EQ(created, 0);
  EXPECT_TRUE(store.is_empty());
  EXPECT_TRUE(leftovers().empty());
}

TEST(Throttle, IntervalHasAFloorOf55Milliseconds) {
  EXPECT_EQ(Throttle(std::chrono::milliseconds(10)).interval(), std::chrono::milliseconds(55));
  EXPECT_EQ(Throttle().interval(), std::chrono::milliseconds(110));
}

TEST(PeakList, ClampsPairsIntoTheirHalves) {
  PeakList list;
  list.append(1.5f, -2.0f);
  list.append(-0.5f, 0.25f);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].max, 1.0f);
  EXPECT_EQ(list[0].min, -1.0f);
  EXPECT_EQ(list[1].max, 0.0f);
  EXPECT_EQ(list[1].min, 0.0f);
}

}  // namespace
}  // namespace voxtrelle
