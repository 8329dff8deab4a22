// SPDX-License-Identifier: GPL-3.0-or-later
// The streaming engine against the document path: seeded random chains over random clips, both
// outputs compared byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "voxtrelle/audio/audio_document.h"
#include "voxtrelle/audio/sample_store.h"
#include "voxtrelle/audio/tests/clip_test_support.h"
#include "voxtrelle/cli/edit_ranges.h"
#include "voxtrelle/cli/streamed_edit.h"

namespace voxtrelle::cli {
namespace {

using voxtrelle::testing::read_file;
using voxtrelle::testing::wav_bytes;
using voxtrelle::testing::write_file;

constexpr int64_t kPage = kPageSamples;

// A progress sink that counts the files in $TMPDIR at every step of the job.
class TempWatch : public ProgressSink {
 public:
  explicit TempWatch(std::string folder) : ProgressSink(1000), folder_(std::move(folder)) {}
  void position_changed() override {
    const auto count = std::distance(std::filesystem::directory_iterator(folder_),
                                     std::filesystem::directory_iterator{});
    most_ = std::max<int64_t>(most_, count);
    ++steps_;
  }
  int64_t most() const { return most_; }
  int steps() const { return steps_; }

 private:
  std::string folder_;
  int64_t most_ = 0;
  int steps_ = 0;
};

class StreamEquivalence : public ::testing::Test {
 protected:
  // Frames of a new clip: mostly around one and two pages, sometimes tiny.
  int32_t clip_frames() {
    switch (pick(6)) {
      case 0:
        return static_cast<int32_t>(1 + pick(3000));
      case 1:
        return static_cast<int32_t>(kPage - 2 + pick(5));
      case 2:
        return static_cast<int32_t>(2 * kPage - 2 + pick(5));
      default:
        return static_cast<int32_t>(kPage / 2 + pick(2 * kPage));
    }
  }

  // Interleaved PCM: noise at a random level, with silence and full-scale stretches.
  std::vector<uint8_t> signal(int32_t frames, uint16_t channels, uint16_t bits) {
    const int level = std::array{0, 200, 9000, 32767}[pick(4)];
    std::vector<uint8_t> data;
    const int64_t samples = int64_t{frames} * channels;
    data.reserve(static_cast<size_t>(samples) * bits / 8);
    const int64_t quiet_from = pick(samples + 1);
    const int64_t quiet_to = quiet_from + pick(samples / 3 + 1);
    for (int64_t i = 0; i < samples; ++i) {
      int v = level == 0 ? 0 : static_cast<int>(pick(2 * level + 1)) - level;
      if (i >= quiet_from && i < quiet_to) v = 0;
      if (pick(5000) == 0) v = pick(2) ? 32767 : -32768;
      if (bits == 8) {
        data.push_back(static_cast<uint8_t>(std::clamp(128 + v / 256, 0, 255)));
      } else {
        data.push_back(static_cast<uint8_t>(v));
        data.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
      }
    }
    return data;
  }

  // A frame position near something that matters: the ends, a page edge, or anywhere.
  int64_t position(int32_t frames) {
    switch (pick(5)) {
      case 0:
        return pick(3);
      case 1:
        return frames - 1 + pick(3);
      case 2: {
        const int64_t edge = kPage * (1 + pick(2));
        return std::max<int64_t>(0, edge - 2 + pick(5));
      }
      default:
        return pick(frames + 1);
    }
  }

  EditRequest random_edit(int32_t frames) {
    EditRequest edit;
    edit.kind = static_cast<EditKind>(pick(8));
    const bool deletion =
        edit.kind == EditKind::kDeleteSelected || edit.kind == EditKind::kDeleteUnselected;
    if (edit.kind == EditKind::kVolume) {
      edit.percent = std::array{0, 7, 50, 99, 101, 150, 300, -100, 1000}[pick(9)];
    }
    const bool ranged = edit.kind != EditKind::kToMono && edit.kind != EditKind::kToStereo &&
                        (deletion || pick(3) != 0);
    if (ranged) {
      edit.has_range = true;
      int64_t a = position(frames);
      int64_t b = position(frames);
      if (a > b) std::swap(a, b);
      if (a == b) ++b;
      edit.begin = a;
      edit.end = b;
    }
    return edit;
  }

  uint64_t pick(int64_t n) { return n <= 0 ? 0 : random_() % static_cast<uint64_t>(n); }

  voxtrelle::testing::ScratchDirectory scratch_;
  std::mt19937_64 random_{20261208};
};

TEST_F(StreamEquivalence, RandomChainsWriteTheDocumentsBytes) {
  constexpr int kChains = 300;
  const std::string input = scratch_.file("in.wav");
  std::filesystem::create_directories(scratch_.file("document"));
  std::filesystem::create_directories(scratch_.file("stream"));
  const std::string by_document = scratch_.file("document/out.wav");
  const std::string by_stream = scratch_.file("stream/out.wav");
  int streamed = 0;
  for (int chain = 0; chain < kChains; ++chain) {
    const uint16_t channels = static_cast<uint16_t>(1 + pick(2));
    const uint16_t bits = pick(2) ? 16 : 8;
    const int32_t frames = clip_frames();
    write_file(input, wav_bytes(channels, 22050, bits, signal(frames, channels, bits)));

    // The chain is drawn against the clip as it stands before each operation.
    std::vector<EditRequest> edits;
    std::string described;
    {
      AudioDocument document;
      ASSERT_EQ(document.load(input, nullptr), 1);
      const int length = static_cast<int>(1 + pick(4));
      for (int i = 0; i < length; ++i) {
        const EditRequest edit = random_edit(document.current_clip().frames());
        int32_t begin = -1;
        int32_t end = -1;
        if (!resolve_range(edit, document.current_clip().frames(), begin, end).empty()) continue;
        ASSERT_EQ(apply_edit(document, edit, begin, end), 1);
        edits.push_back(edit);
        described += std::string(edit_name(edit.kind)) + "(" + std::to_string(edit.begin) + "," +
                     std::to_string(edit.end) + "," + std::to_string(edit.percent) + ") ";
      }
      ASSERT_EQ(document.save(by_document, nullptr), 1);
    }
    SCOPED_TRACE("chain " + std::to_string(chain) + ": " + std::to_string(channels) + " ch, " +
                 std::to_string(bits) + "-bit, " + std::to_string(frames) +
                 " frames: " + described);

    const auto job = StreamedEdit::prepare(input, by_stream, edits);
    ASSERT_NE(job, nullptr);
    TempWatch watch(scratch_.path() + "/tmp");
    ASSERT_EQ(job->run(&watch), StreamOutcome::kDone);
    EXPECT_EQ(watch.most(), 0) << "sample files in $TMPDIR";
    ASSERT_EQ(read_file(by_stream), read_file(by_document));
    ++streamed;
  }
  EXPECT_EQ(streamed, kChains);
}

}  // namespace
}  // namespace voxtrelle::cli
