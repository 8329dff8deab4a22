// SPDX-License-Identifier: GPL-3.0-or-later
// The load/save job: a real document, the real codec, a worker thread and cancellation from
// the owner's thread.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "voxtrelle/audio/audio_document.h"
#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/job_worker.h"
#include "voxtrelle/media/tests/media_test_support.h"

namespace voxtrelle {
namespace {

using test::ScratchDir;

// Collects the notices; can hold the worker at a position until the owner has cancelled.
class Notices {
 public:
  explicit Notices(uint32_t hold_at = UINT32_MAX) : hold_at_(hold_at) {}

  JobNotifier notifier() {
    return [this](JobNotice notice, uint32_t position) { receive(notice, position); };
  }
  // Owner side: waits until the worker reached the hold position, runs act, releases it.
  template <typename Act>
  void at_hold(Act act) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return held_ || finished_; });
    ASSERT_TRUE(held_) << "the job ended before reaching the hold position";
    act();
    released_ = true;
    changed_.notify_all();
  }
  std::vector<JobNotice> kinds() {
    std::lock_guard lock(mutex_);
    return kinds_;
  }
  int count(JobNotice notice) {
    int n = 0;
    for (const JobNotice k : kinds()) n += k == notice;
    return n;
  }

 private:
  void receive(JobNotice notice, uint32_t position) {
    std::unique_lock lock(mutex_);
    kinds_.push_back(notice);
    if (notice == JobNotice::kSucceeded || notice == JobNotice::kFailed) finished_ = true;
    if (notice == JobNotice::kPosition && position >= hold_at_ && !held_) {
      held_ = true;
      changed_.notify_all();
      changed_.wait(lock, [&] { return released_; });
    }
    changed_.notify_all();
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<JobNotice> kinds_;
  uint32_t hold_at_;
  bool held_ = false;
  bool released_ = false;
  bool finished_ = false;
};

class FileJob : public testing::Test {
 protected:
  void SetUp() override { install_media_codec(&codec_); }
  void TearDown() override { install_media_codec(nullptr); }

  // Runs one job to its end and returns its result.
  int run(AudioDocument& document, JobMode mode, Notices& notices) {
    JobWorker worker(document, mode, 400, notices.notifier());
    if (!worker.start()) return -1;
    worker.join();
    return worker.result();
  }

  std::string make_wma(const std::string& name, uint32_t seconds, const MediaTags* tags) {
    const std::string wav = dir_.file(name + ".src.wav");
    test::write_tone_wav(wav, 2, 44100, 44100 * seconds);
    const std::string wma = dir_.file(name);
    EXPECT_EQ(codec_.encode_to_wma(wav, wma, nullptr), 1);
    if (tags != nullptr) {
      EXPECT_EQ(codec_.write_tags(wma, *tags), 1);
    }
    return wma;
  }

  FfmpegMediaCodec codec_;
  ScratchDir dir_;
};

MediaTags some_tags() {
  MediaTags t;
  t.title = "Song";
  t.artist = "Band";
  t.album = "Record";
  t.year = 2001;
  t.track = 3;
  t.genre = "Rock";
  t.lyrics = "words";
  t.album_artist = "Band";
  t.music_text38 = "Remastered";
  t.rating = 50;
  return t;
}

TEST_F(FileJob, LoadsAWmaFileWithItsTags) {
  const MediaTags tags = some_tags();
  auto owned = std::make_unique<AudioDocument>();
  AudioDocument& document = *owned;
  document.set_loaded_path(make_wma("song.wma", 2, &tags));
  Notices notices;
  ASSERT_EQ(run(document, JobMode::kLoad, notices), 1);
  EXPECT_EQ(document.kind(), FileKind::kWma);
  EXPECT_EQ(document.modified(), 0);
  EXPECT_TRUE(document.current_clip().is_stereo());
  EXPECT_EQ(document.tags().title, "Song");
  EXPECT_EQ(document.tags().rating, 50u);
  const std::vector<JobNotice> kinds = notices.kinds();
  ASSERT_GE(kinds.size(), 3u);
  EXPECT_EQ(kinds.front(), JobNotice::kPosition);
  EXPECT_EQ(kinds.back(), JobNotice::kSucceeded);
  EXPECT_EQ(notices.count(JobNotice::kFailed), 0);
  owned.reset();  // its sample files go with it
  EXPECT_TRUE(dir_.ve_files().empty());
}

TEST_F(FileJob, AFailedLoadResetsTheDocumentAndSaysSo) {
  AudioDocument document;
  document.set_loaded_path(make_wma("first.wma", 1, nullptr));
  Notices first;
  ASSERT_EQ(run(document, JobMode::kLoad, first), 1);

  test::write_file(dir_.file("broken.wma"), std::string(3000, '\x55'));
  document.set_loaded_path(dir_.file("broken.wma"));
  Notices notices;
  EXPECT_EQ(run(document, JobMode::kLoad, notices), 0);
  EXPECT_EQ(notices.count(JobNotice::kFailed), 1);
  EXPECT_EQ(notices.count(JobNotice::kSucceeded), 0);
  EXPECT_TRUE(document.is_empty());
  EXPECT_EQ(document.kind(), FileKind::kOther);
  EXPECT_TRUE(document.loaded_path().empty());
  EXPECT_TRUE(dir_.ve_files().empty());
}

// Tags travel from the loaded WMA file to the saved one; a WMA document saved as WAV becomes
// a WAV document and returns to the WMA holder when saved as WMA again.
TEST_F(FileJob, SavesAsWmaWithTagsAndMovesBetweenHolders) {
  const MediaTags tags = some_tags();
  auto owned = std::make_unique<AudioDocument>();
  AudioDocument& document = *owned;
  document.set_loaded_path(make_wma("in.wma", 2, &tags));
  Notices load;
  ASSERT_EQ(run(document, JobMode::kLoad, load), 1);
  const int32_t frames = document.current_clip().frames();

  document.set_saved_path(dir_.file("copy.wav"));
  Notices as_wav;
  ASSERT_EQ(run(document, JobMode::kSave, as_wav), 1);
  EXPECT_EQ(document.kind(), FileKind::kWav);

  document.set_saved_path(dir_.file("copy.wma"));
  Notices as_wma;
  ASSERT_EQ(run(document, JobMode::kSave, as_wma), 1);
  EXPECT_EQ(document.kind(), FileKind::kWma);
  EXPECT_EQ(as_wma.kinds().back(), JobNotice::kSucceeded);

  MediaTags saved;
  ASSERT_EQ(codec_.read_tags(dir_.file("copy.wma"), saved), 1);
  EXPECT_EQ(saved.title, tags.title);
  EXPECT_EQ(saved.artist, tags.artist);
  EXPECT_EQ(saved.year, tags.year);
  EXPECT_EQ(saved.track, tags.track);
  EXPECT_EQ(saved.lyrics, tags.lyrics);
  EXPECT_EQ(saved.music_text38, tags.music_text38);
  EXPECT_EQ(saved.rating, tags.rating);

  {
    AudioDocument reloaded;
    reloaded.set_loaded_path(dir_.file("copy.wma"));
    Notices again;
    ASSERT_EQ(run(reloaded, JobMode::kLoad, again), 1);
    EXPECT_GE(reloaded.current_clip().frames(), frames);
    EXPECT_LT(reloaded.current_clip().frames(), frames + 2048);
  }
  owned.reset();  // its sample files go with it
  EXPECT_TRUE(dir_.ve_files().empty());
}

// A WAV file of 32-bit float samples (format tag 3) goes through the decoder into the clip.
TEST_F(FileJob, LoadsAFloatWavThroughTheDecoder) {
  const uint32_t frames = 22050;
  std::string bytes = "RIFF";
  const auto put = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bytes.push_back(static_cast<char>(v >> (8 * i)));
  };
  put(36 + frames * 4, 4);
  bytes += "WAVEfmt ";
  put(16, 4);
  put(3, 2);
  put(1, 2);
  put(22050, 4);
  put(22050 * 4, 4);
  put(4, 2);
  put(32, 2);
  bytes += "data";
  put(frames * 4, 4);
  for (uint32_t i = 0; i < frames; ++i) {
    const float v = i == 1000 ? 0.75f : 0.0f;
    uint32_t raw = 0;
    std::memcpy(&raw, &v, 4);
    put(raw, 4);
  }
  test::write_file(dir_.file("float.wav"), bytes);

  auto owned = std::make_unique<AudioDocument>();
  AudioDocument& document = *owned;
  document.set_loaded_path(dir_.file("float.wav"));
  Notices notices;
  ASSERT_EQ(run(document, JobMode::kLoad, notices), 1);
  EXPECT_EQ(document.kind(), FileKind::kWav);
  EXPECT_EQ(document.current_clip().frames(), static_cast<int32_t>(frames));
  EXPECT_TRUE(document.current_clip().is_mono());
  owned.reset();
  EXPECT_TRUE(dir_.ve_files().empty());
}

// A 96 kHz clip has no WMA format: the save fails and the user's file at the target stays.
TEST_F(FileJob, AFailedSaveKeepsTheExistingTarget) {
  test::write_tone_wav(dir_.file("hi.wav"), 2, 96000, 9600);
  auto owned = std::make_unique<AudioDocument>();
  AudioDocument& document = *owned;
  document.set_loaded_path(dir_.file("hi.wav"));
  Notices load;
  ASSERT_EQ(run(document, JobMode::kLoad, load), 1);

  test::write_file(dir_.file("keep.wma"), "precious");
  document.set_saved_path(dir_.file("keep.wma"));
  Notices save;
  EXPECT_EQ(run(document, JobMode::kSave, save), 0);
  EXPECT_EQ(save.count(JobNotice::kFailed), 1);
  EXPECT_EQ(test::read_file(dir_.file("keep.wma")), "precious");

  document.set_saved_path(dir_.file("fresh.wma"));
  Notices fresh;
  EXPECT_EQ(run(document, JobMode::kSave, fresh), 0);
  EXPECT_FALSE(test::file_exists(dir_.file("fresh.wma")));
  EXPECT_FALSE(document.is_empty()) << "a failed save keeps the audio";
  owned.reset();  // its sample files go with it
  EXPECT_TRUE(dir_.ve_files().empty());
}

struct CancelAt {
  const char* name;
  uint32_t position;  // of the root's 400
};

class CancelledJob : public FileJob, public testing::WithParamInterface<CancelAt> {};

// The owner cancels from its own thread while the worker is at a given point (the worker is
// held there until the cancel went out): the job fails without a failure notice, a load
// leaves the document empty, a save keeps the old target, and no ~Ve file remains.
TEST_P(CancelledJob, LoadLeavesNothing) {
  AudioDocument document;
  document.set_loaded_path(make_wma("long.wma", 6, nullptr));
  Notices notices(GetParam().position);
  JobWorker worker(document, JobMode::kLoad, 400, notices.notifier());
  ASSERT_TRUE(worker.start());
  notices.at_hold([&] { EXPECT_TRUE(worker.request_stop()); });
  worker.join();
  EXPECT_EQ(worker.result(), 0);
  EXPECT_EQ(notices.count(JobNotice::kFailed), 0);
  EXPECT_EQ(notices.count(JobNotice::kSucceeded), 0);
  EXPECT_TRUE(document.is_empty());
  EXPECT_TRUE(dir_.ve_files().empty());
}

TEST_P(CancelledJob, SaveKeepsTheOldFile) {
  auto owned = std::make_unique<AudioDocument>();
  AudioDocument& document = *owned;
  test::write_tone_wav(dir_.file("long.wav"), 2, 44100, 44100 * 6);
  document.set_loaded_path(dir_.file("long.wav"));
  Notices load;
  ASSERT_EQ(run(document, JobMode::kLoad, load), 1);
  test::write_file(dir_.file("old.wma"), "old");
  document.set_saved_path(dir_.file("old.wma"));

  Notices notices(GetParam().position);
  JobWorker worker(document, JobMode::kSave, 400, notices.notifier());
  ASSERT_TRUE(worker.start());
  notices.at_hold([&] { EXPECT_TRUE(worker.request_stop()); });
  worker.join();
  EXPECT_EQ(worker.result(), 0);
  EXPECT_EQ(notices.count(JobNotice::kFailed), 0);
  EXPECT_EQ(test::read_file(dir_.file("old.wma")), "old");
  owned.reset();  // its sample files go with it
  EXPECT_TRUE(dir_.ve_files().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Points, CancelledJob,
    testing::Values(CancelAt{"first_step", 10}, CancelAt{"second_step_opening", 150},
                    CancelAt{"second_step_halfway", 250}, CancelAt{"near_the_end", 380}),
    [](const testing::TestParamInfo<CancelAt>& info) { return std::string(info.param.name); });

TEST(JobProgress, PostsPositionsAndFailuresButNothingAfterACancel) {
  std::vector<std::pair<JobNotice, uint32_t>> seen;
  JobProgress root(200, [&](JobNotice n, uint32_t p) { seen.emplace_back(n, p); });
  root.set_percent(50);
  root.set_percent(50);
  root.set_failed();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_pair(JobNotice::kPosition, 100u));
  EXPECT_EQ(seen[1], std::make_pair(JobNotice::kFailed, 100u));

  seen.clear();
  JobProgress cancelled(200, [&](JobNotice n, uint32_t p) { seen.emplace_back(n, p); });
  cancelled.request_cancel();
  cancelled.set_failed();
  EXPECT_TRUE(seen.empty());
}

TEST(JobWorkerLifetime, StopAndJoinWithoutAThreadAreHarmless) {
  AudioDocument document;
  JobWorker worker(document, JobMode::kLoad, 100, nullptr);
  EXPECT_FALSE(worker.request_stop());
  worker.join();
  EXPECT_EQ(worker.result(), 0);
}

}  // namespace
}  // namespace voxtrelle
