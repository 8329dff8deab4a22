// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery records: what a document leaves in the temporary folder, and what a later process
// does with the files of one that died.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "voxtrelle/audio/audio_document.h"
#include "voxtrelle/audio/recovery_record.h"
#include "voxtrelle/audio/tests/clip_test_support.h"
#include "voxtrelle/audio/tests/test_support.h"

namespace voxtrelle {
namespace {

using testing::pcm16_bytes;
using testing::samples_of;
using testing::wav_bytes;
using testing::write_file;

TEST(RecoveryRecordText, RoundTripsAnyPath) {
  RecoveryInfo info;
  info.owner = 4242;
  info.kind = 2;
  info.modified = 1;
  info.loaded_path = "/music/50% off\nsong.wma";
  info.saved_path = "/music/r\r.wav";
  info.format = PcmHeader{1, 2, 44100, 176400, 4, 16};
  info.frames = 1234;
  info.bytes = 4936;
  info.channels = {"/tmp/~Ve0A1B.tmp", "/tmp/~Ve0A1C.tmp"};
  RecoveryInfo back;
  ASSERT_TRUE(parse_recovery_record(format_recovery_record(info), back));
  EXPECT_EQ(back.loaded_path, info.loaded_path);
  EXPECT_EQ(back.saved_path, info.saved_path);
  EXPECT_EQ(back.channels, info.channels);
  EXPECT_EQ(format_recovery_record(back), format_recovery_record(info));
}

class RecoveryRecordDamage : public ::testing::TestWithParam<std::pair<std::string, std::string>> {
};

// A record that was cut short or altered is refused as a whole.
TEST_P(RecoveryRecordDamage, IsRefused) {
  RecoveryInfo info;
  info.format = PcmHeader{1, 1, 8000, 16000, 2, 16};
  info.frames = 10;
  info.channels = {"/tmp/~Ve0001.tmp"};
  std::string text = format_recovery_record(info);
  const auto& [from, to] = GetParam();
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, from.size(), to);
  RecoveryInfo back;
  EXPECT_FALSE(parse_recovery_record(text, back)) << text;
}

INSTANTIATE_TEST_SUITE_P(Record, RecoveryRecordDamage,
                         ::testing::Values(std::make_pair("end\n", ""),
                                           std::make_pair("voxtrelle-recovery 1", "x"),
                                           std::make_pair("frames 10", "frames ten"),
                                           std::make_pair("loaded ", "loaded %4"),
                                           std::make_pair("bytes", "colour")));

class DocumentRecovery : public testing_support::TempDirTest {
 protected:
  // Ten stereo frames: left i * 1000, right -i * 500.
  std::string write_input() {
    std::vector<int16_t> samples;
    for (int i = 0; i < 10; ++i) {
      samples.push_back(static_cast<int16_t>(i * 1000));
      samples.push_back(static_cast<int16_t>(-i * 500));
    }
    const std::string path = file("in.wav");
    write_file(path, wav_bytes(2, 8000, 16, pcm16_bytes(samples)));
    return path;
  }

  // Runs `work` on a document in a child process that then dies by SIGKILL, as a crash or
  // `kill -9` would end it.
  void die_after(const std::function<void(AudioDocument&)>& work) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      AudioDocument document;
      document.keep_recovery_record();
      work(document);
      kill(getpid(), SIGKILL);
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
  }

  size_t count_ending(const std::string& suffix) const {
    const auto names = leftovers();
    return std::count_if(names.begin(), names.end(), [&](const std::string& n) {
      return n.size() >= suffix.size() &&
             n.compare(n.size() - suffix.size(), suffix.size(), suffix) == 0;
    });
  }
};

TEST_F(DocumentRecovery, LiveDocumentKeepsOneLockedRecordAndItsFiles) {
  AudioDocument document;
  document.keep_recovery_record();
  ASSERT_TRUE(document.load(write_input(), nullptr));
  ASSERT_TRUE(document.fade_in(-1, -1));
  EXPECT_EQ(count_ending(".rec"), 1u);
  EXPECT_EQ(count_ending(".tmp"), 2u);
  // Another editor starting now leaves all of it alone.
  EXPECT_TRUE(collect_stale_documents().empty());
  EXPECT_EQ(leftovers().size(), 3u);
  document.reset();
  EXPECT_TRUE(leftovers().empty());
}

TEST_F(DocumentRecovery, ModifiedDocumentOfADeadProcessIsRecovered) {
  const std::string input = write_input();
  die_after([&](AudioDocument& document) {
    if (!document.load(input, nullptr) || !document.to_mono() || !document.fade_out(2, 8)) {
      _exit(3);
    }
  });
  std::vector<StaleDocument> stale = collect_stale_documents();
  ASSERT_EQ(stale.size(), 1u);
  EXPECT_EQ(stale[0].info().loaded_path, input);
  EXPECT_EQ(stale[0].info().frames, 10);

  AudioDocument expected;
  ASSERT_TRUE(expected.load(input, nullptr));
  ASSERT_TRUE(expected.to_mono());
  ASSERT_TRUE(expected.fade_out(2, 8));

  AudioDocument document;
  document.keep_recovery_record();
  ASSERT_TRUE(document.adopt_recovered(stale[0]));
  EXPECT_EQ(document.modified(), 1);
  EXPECT_EQ(document.loaded_path(), input);
  EXPECT_EQ(document.kind(), FileKind::kWav);
  EXPECT_EQ(samples_of(document.current_clip(), 0), samples_of(expected.current_clip(), 0));
  EXPECT_EQ(document.current_clip().format(), expected.current_clip().format());
  // The files are this document's now: one new record, the same sample file.
  EXPECT_EQ(count_ending(".rec"), 1u);
  EXPECT_TRUE(collect_stale_documents().empty());
  expected.reset();
  document.reset();
  EXPECT_TRUE(leftovers().empty());
}

TEST_F(DocumentRecovery, DiscardedDocumentLeavesNothing) {
  const std::string input = write_input();
  die_after([&](AudioDocument& document) {
    if (!document.load(input, nullptr) || !document.maximize(-1, -1)) _exit(3);
  });
  std::vector<StaleDocument> stale = collect_stale_documents();
  ASSERT_EQ(stale.size(), 1u);
  stale[0].discard();
  EXPECT_TRUE(leftovers().empty());
}

// What holds nothing unsaved, or cannot be trusted, is deleted without a question.
class DocumentRecoveryCleanUp : public DocumentRecovery,
                                public ::testing::WithParamInterface<
                                    std::function<void(AudioDocument&, const std::string&)>> {};

TEST_P(DocumentRecoveryCleanUp, DeletesEverythingLeftBehind) {
  const std::string input = write_input();
  die_after([&](AudioDocument& document) { GetParam()(document, input); });
  EXPECT_FALSE(leftovers().empty());
  EXPECT_TRUE(collect_stale_documents().empty());
  EXPECT_TRUE(leftovers().empty());
}

INSTANTIATE_TEST_SUITE_P(Stale, DocumentRecoveryCleanUp,
                         ::testing::Values(
                             // Unmodified: the same as the file on disk.
                             [](AudioDocument& document, const std::string& input) {
                               document.load(input, nullptr);
                             },
                             // Sample files without any record.
                             [](AudioDocument&, const std::string&) {
                               static AudioClip clip;
                               clip.create_silent(true, 1000, 8000);
                             },
                             // A record whose sample file is shorter than it says.
                             [](AudioDocument& document, const std::string& input) {
                               document.load(input, nullptr);
                               document.fade_in(-1, -1);
                               const std::string path =
                                   document.current_clip().store().channel(1).file()->path();
                               [[maybe_unused]] const int cut = truncate(path.c_str(), 8);
                             }));

}  // namespace
}  // namespace voxtrelle
