// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "voxtrelle/audio/audio_document.h"
#include "voxtrelle/audio/media_codec.h"
#include "voxtrelle/audio/tests/clip_test_support.h"

namespace voxtrelle {
namespace {

using testing::read_file;
using testing::samples_of;
using testing::write_file;

// A stand-in codec whose "WMA" files are PCM WAV files: decoding and encoding copy bytes, so
// the document's WMA side can be checked without a real encoder.
class CopyingCodec : public MediaCodec {
 public:
  int decode_to_wav(const std::string& source, const std::string& target,
                    ProgressSink* progress) override {
    decode_total = progress ? progress->total() : 0;
    if (cancel_during_decode && progress) progress->request_cancel();
    return finish(source, target, progress, fail_decode || cancel_during_decode);
  }
  int encode_to_wma(const std::string& wav, const std::string& target,
                    ProgressSink* progress) override {
    encode_total = progress ? progress->total() : 0;
    encoded_source_existed = !read_file(wav).empty();
    return finish(wav, target, progress, fail_encode);
  }
  int read_tags(const std::string&, MediaTags& tags) override {
    tags = tags_to_read;
    return 1;
  }
  int write_tags(const std::string& path, const MediaTags& tags) override {
    ++tag_writes;
    written_tags = tags;
    tagged_path = path;
    return 1;
  }

  bool fail_decode = false;
  bool fail_encode = false;
  bool cancel_during_decode = false;
  uint32_t decode_total = 0;
  uint32_t encode_total = 0;
  bool encoded_source_existed = false;
  MediaTags tags_to_read;
  MediaTags written_tags;
  std::string tagged_path;
  int tag_writes = 0;

 private:
  static int finish(const std::string& from, const std::string& to, ProgressSink* progress,
                    bool fail) {
    const std::vector<uint8_t> bytes = read_file(from);
    if (fail || bytes.empty()) {
      // A careless codec leaves a partial file behind; the document must not trust it.
      write_file(to, {'j', 'u', 'n', 'k'});
      report_failure(progress);
      return 0;
    }
    write_file(to, bytes);
    report_complete(progress);
    return 1;
  }
};

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override { install_media_codec(&codec_); }
  void TearDown() override { install_media_codec(nullptr); }

  // A stereo 16-bit file of 6 frames at path.
  void write_wav(const std::string& path, uint16_t channels = 2) {
    std::vector<int16_t> samples;
    for (int i = 0; i < 6 * channels; ++i) samples.push_back(static_cast<int16_t>(1000 * i));
    write_file(path, testing::wav_bytes(channels, 44100, 16, testing::pcm16_bytes(samples)));
  }

  testing::ScratchDirectory scratch_;
  CopyingCodec codec_;
  AudioDocument document_;
};

TEST_F(DocumentTest, StartsEmpty) {
  EXPECT_EQ(document_.is_empty(), 1);
  EXPECT_EQ(document_.kind(), FileKind::kOther);
  EXPECT_EQ(document_.modified(), 0);
  EXPECT_EQ(document_.suggested_save_name(), "Untitled");
  EXPECT_EQ(document_.display_name(), "");
  PeakLists lists;
  EXPECT_EQ(document_.peaks(lists, 3), 0);
}

TEST_F(DocumentTest, LoadsAWavFileWhateverTheExtensionsCase) {
  const std::string path = scratch_.file("Loud.WAV");
  write_wav(path);
  ProgressSink progress(1000);
  ASSERT_EQ(document_.load(path, &progress), 1);
  EXPECT_EQ(progress.position(), 1000u);
  EXPECT_EQ(document_.kind(), FileKind::kWav);
  EXPECT_EQ(document_.is_stereo(), 1);
  EXPECT_EQ(document_.modified(), 0);
  EXPECT_EQ(document_.loaded_path(), path);
  EXPECT_EQ(document_.current_clip().frames(), 6);
  EXPECT_EQ(document_.display_name(), "Loud.WAV");
  EXPECT_EQ(document_.suggested_save_name(), scratch_.file("Loud (1).WAV"));
}

TEST_F(DocumentTest, AnUnknownExtensionFailsAtOnce) {
  const std::string path = scratch_.file("song.mp3");
  write_wav(path);
  ProgressSink progress(100);
  EXPECT_EQ(document_.load(path, &progress), 0);
  EXPECT_EQ(progress.has_failed(), 1);
  EXPECT_EQ(document_.is_empty(), 1);
  EXPECT_EQ(document_.modified(), 1);
  EXPECT_EQ(document_.loaded_path(), "");
}

TEST_F(DocumentTest, AFailedLoadDiscardsTheFirstFilesAudio) {
  const std::string good = scratch_.file("good.wav");
  write_wav(good);
  ASSERT_EQ(document_.load(good, nullptr), 1);
  const std::string bad = scratch_.file("bad.wav");
  write_file(bad, {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'J', 'U', 'N', 'K'});
  EXPECT_EQ(document_.load(bad, nullptr), 0);
  EXPECT_EQ(document_.is_empty(), 1);
  EXPECT_EQ(document_.kind(), FileKind::kOther);
  EXPECT_EQ(document_.modified(), 1);
  EXPECT_EQ(document_.loaded_path(), good);
  EXPECT_TRUE(scratch_.leftovers({"good.wav", "bad.wav"}).empty());
  EXPECT_EQ(scratch_.temp_files(), 0u);
}

TEST_F(DocumentTest, AWavFileWithoutAudioLeavesTheDocumentEmpty) {
  const std::string path = scratch_.file("silent.wav");
  std::vector<uint8_t> bytes = testing::wav_bytes(1, 8000, 8, {});
  bytes.resize(36);  // the header up to the data chunk, which is missing
  bytes[4] = 28;     // RIFF size
  write_file(path, bytes);
  ASSERT_EQ(document_.load(path, nullptr), 1);
  EXPECT_EQ(document_.is_empty(), 1);
  EXPECT_EQ(document_.kind(), FileKind::kOther);
  EXPECT_EQ(document_.fade_in(-1, -1), 0);
}

TEST_F(DocumentTest, LoadWithoutPathUsesTheLoadedPath) {
  const std::string path = scratch_.file("set.wav");
  write_wav(path, 1);
  document_.set_loaded_path(path);
  ASSERT_EQ(document_.load(nullptr), 1);
  EXPECT_EQ(document_.is_mono(), 1);
}

TEST_F(DocumentTest, SaveWithoutASavedPathFails) {
  write_wav(scratch_.file("in.wav"));
  ASSERT_EQ(document_.load(scratch_.file("in.wav"), nullptr), 1);
  EXPECT_EQ(document_.save(nullptr), 0);
  EXPECT_EQ(document_.save(scratch_.file("out.ogg"), nullptr), 0);
  EXPECT_TRUE(scratch_.leftovers({"in.wav"}).empty());
}

TEST_F(DocumentTest, EveryEditThatSucceedsSetsModified) {
  write_wav(scratch_.file("in.wav"));
  ASSERT_EQ(document_.load(scratch_.file("in.wav"), nullptr), 1);
  const std::vector<float> before = samples_of(document_.current_clip(), 0);
  EXPECT_EQ(document_.change_volume(-1, -1, 100), 1);
  EXPECT_EQ(document_.modified(), 1);
  EXPECT_EQ(samples_of(document_.current_clip(), 0), before);

  ASSERT_EQ(document_.save(scratch_.file("out.wav"), nullptr), 1);
  EXPECT_EQ(document_.modified(), 0);
  EXPECT_EQ(document_.delete_range(0, 6, 1), 0);  // everything: refused
  EXPECT_EQ(document_.modified(), 0);
  EXPECT_EQ(document_.to_mono(), 1);
  EXPECT_EQ(document_.modified(), 1);
}

TEST_F(DocumentTest, EditsOfAnEmptyDocumentFail) {
  EXPECT_EQ(document_.maximize(-1, -1), 0);
  EXPECT_EQ(document_.fade_in(-1, -1), 0);
  EXPECT_EQ(document_.to_stereo(), 0);
  EXPECT_EQ(document_.modified(), 0);
}

TEST_F(DocumentTest, SavedWavHoldsTheEditedSamples) {
  write_wav(scratch_.file("in.wav"), 1);
  ASSERT_EQ(document_.load(scratch_.file("in.wav"), nullptr), 1);
  ASSERT_EQ(document_.delete_range(1, 3, 1), 1);
  ASSERT_EQ(document_.save(scratch_.file("out.wav"), nullptr), 1);
  EXPECT_EQ(document_.saved_path(), scratch_.file("out.wav"));
  EXPECT_EQ(document_.loaded_path(), scratch_.file("in.wav"));
  EXPECT_EQ(read_file(scratch_.file("out.wav")),
            testing::wav_bytes(1, 44100, 16, testing::pcm16_bytes({0, 3000, 4000, 5000})));
}

TEST_F(DocumentTest, SavingMovesTheAudioBetweenHolders) {
  const std::string wma = scratch_.file("in.wma");
  write_wav(wma);
  codec_.tags_to_read.title = "Night";
  codec_.tags_to_read.year = 1999;
  ASSERT_EQ(document_.load(wma, nullptr), 1);
  EXPECT_EQ(document_.kind(), FileKind::kWma);
  EXPECT_EQ(document_.tags().title, "Night");

  ASSERT_EQ(document_.save(scratch_.file("copy.wav"), nullptr), 1);
  EXPECT_EQ(document_.kind(), FileKind::kWav);
  EXPECT_EQ(document_.wma_holder().has_audio(), 0);
  EXPECT_EQ(document_.wav_clip().has_audio(), 1);

  ASSERT_EQ(document_.save(scratch_.file("back.wma"), nullptr), 1);
  EXPECT_EQ(document_.kind(), FileKind::kWma);
  EXPECT_EQ(document_.wav_clip().has_audio(), 0);
  EXPECT_EQ(codec_.tag_writes, 1);
  EXPECT_EQ(codec_.written_tags.title, "Night");
  EXPECT_EQ(codec_.written_tags.year, 1999u);
  // The codec's output is the copied WAV; the round trip kept the audio.
  EXPECT_EQ(read_file(scratch_.file("back.wma")), read_file(scratch_.file("copy.wav")));
  EXPECT_TRUE(scratch_.leftovers({"in.wma", "copy.wav", "back.wma"}).empty());
  EXPECT_EQ(scratch_.temp_files(), 2u);  // the two channels of the open document
}

TEST_F(DocumentTest, WmaLoadSplitsProgressAndDeletesItsTemporaryFile) {
  write_wav(scratch_.file("in.wma"));
  ProgressSink progress(1000);
  ASSERT_EQ(document_.load(scratch_.file("in.wma"), &progress), 1);
  EXPECT_EQ(codec_.decode_total, 100u);
  EXPECT_EQ(progress.position(), 1000u);
  EXPECT_TRUE(scratch_.leftovers({"in.wma"}).empty());
  EXPECT_EQ(scratch_.temp_files(), 2u);
}

TEST_F(DocumentTest, WmaSaveSplitsProgressAndLeavesOnlyTheTarget) {
  write_wav(scratch_.file("in.wav"));
  ASSERT_EQ(document_.load(scratch_.file("in.wav"), nullptr), 1);
  ProgressSink progress(1000);
  ASSERT_EQ(document_.save(scratch_.file("out.wma"), &progress), 1);
  EXPECT_EQ(codec_.encode_total, 800u);
  EXPECT_TRUE(codec_.encoded_source_existed);
  EXPECT_EQ(progress.position(), 1000u);
  EXPECT_EQ(codec_.tag_writes, 0);  // a WAV file brings no tags
  EXPECT_TRUE(scratch_.leftovers({"in.wav", "out.wma"}).empty());
  EXPECT_EQ(scratch_.temp_files(), 2u);
}

class FailedWmaLoad : public DocumentTest, public ::testing::WithParamInterface<int> {};

// Decoder failure, cancellation and a missing codec all end with an empty document and no
// temporary file.
TEST_P(FailedWmaLoad, LeavesNothingBehind) {
  write_wav(scratch_.file("first.wav"));
  ASSERT_EQ(document_.load(scratch_.file("first.wav"), nullptr), 1);
  write_wav(scratch_.file("in.wma"));
  if (GetParam() == 0) codec_.fail_decode = true;
  if (GetParam() == 1) codec_.cancel_during_decode = true;
  if (GetParam() == 2) install_media_codec(nullptr);
  ProgressSink progress(1000);
  EXPECT_EQ(document_.load(scratch_.file("in.wma"), &progress), 0);
  EXPECT_EQ(progress.has_failed(), 1);
  EXPECT_EQ(document_.is_empty(), 1);
  EXPECT_EQ(document_.tags().has_values(), false);
  EXPECT_TRUE(scratch_.leftovers({"first.wav", "in.wma"}).empty());
  EXPECT_EQ(scratch_.temp_files(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Document, FailedWmaLoad, ::testing::Values(0, 1, 2));

class FailedSave : public DocumentTest, public ::testing::WithParamInterface<int> {};

// A save that fails or is cancelled keeps the old file at the target and the audio in memory.
TEST_P(FailedSave, KeepsTheExistingTarget) {
  write_wav(scratch_.file("in.wav"));
  ASSERT_EQ(document_.load(scratch_.file("in.wav"), nullptr), 1);
  ASSERT_EQ(document_.fade_in(-1, -1), 1);
  const bool wma = GetParam() != 2;
  const std::string target = scratch_.file(wma ? "old.wma" : "old.wav");
  write_file(target, {'o', 'l', 'd'});
  if (GetParam() == 0) codec_.fail_encode = true;
  if (GetParam() == 1) install_media_codec(nullptr);
  ProgressSink progress(1000);
  if (GetParam() == 2) progress.request_cancel();
  EXPECT_EQ(document_.save(target, &progress), 0);
  EXPECT_EQ(read_file(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(document_.modified(), 1);
  EXPECT_EQ(document_.saved_path(), "");
  EXPECT_EQ(document_.current_clip().has_audio(), 1);
  EXPECT_TRUE(scratch_.leftovers({"in.wav", wma ? "old.wma" : "old.wav"}).empty());
  EXPECT_EQ(scratch_.temp_files(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Document, FailedSave, ::testing::Values(0, 1, 2));

TEST_F(DocumentTest, ReplacedFileKeepsItsPermissions) {
  write_wav(scratch_.file("in.wav"));
  ASSERT_EQ(document_.load(scratch_.file("in.wav"), nullptr), 1);
  const std::string target = scratch_.file("shared.wma");
  write_file(target, {'x'});
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(document_.save(target, nullptr), 1);
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_GT(info.st_size, 44);
}

TEST_F(DocumentTest, ResetForgetsEverything) {
  write_wav(scratch_.file("in.wav"));
  ASSERT_EQ(document_.load(scratch_.file("in.wav"), nullptr), 1);
  ASSERT_EQ(document_.maximize(-1, -1), 1);
  document_.reset();
  EXPECT_EQ(document_.is_empty(), 1);
  EXPECT_EQ(document_.modified(), 0);
  EXPECT_EQ(document_.loaded_path(), "");
  EXPECT_EQ(document_.saved_path(), "");
  EXPECT_TRUE(scratch_.leftovers({"in.wav"}).empty());
  EXPECT_EQ(scratch_.temp_files(), 0u);
}

TEST_F(DocumentTest, HolderMovesRefuseAnEmptyDocument) {
  EXPECT_EQ(document_.use_wma_holder(), 0);
  EXPECT_EQ(document_.use_wav_clip(), 0);
  write_wav(scratch_.file("in.wav"));
  ASSERT_EQ(document_.load(scratch_.file("in.wav"), nullptr), 1);
  EXPECT_EQ(document_.use_wma_holder(), 1);
  EXPECT_EQ(document_.kind(), FileKind::kWma);
  EXPECT_EQ(document_.use_wav_clip(), 1);
  EXPECT_EQ(document_.kind(), FileKind::kWav);
  EXPECT_EQ(document_.current_clip().frames(), 6);
}

}  // namespace
}  // namespace voxtrelle
