// SPDX-License-Identifier: GPL-3.0-or-later
// The MediaTags block in a WMA file's ASF attributes.
#include <gtest/gtest.h>
#include <taglib/asffile.h>
#include <taglib/asftag.h>

#include <string>

#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/tests/media_test_support.h"

namespace voxtrelle {
namespace {

using test::ScratchDir;

std::string make_wma(const ScratchDir& dir, const std::string& name) {
  test::write_tone_wav(dir.file("tone.wav"), 1, 22050, 11025);
  FfmpegMediaCodec codec;
  return codec.encode_to_wma(dir.file("tone.wav"), dir.file(name), nullptr) == 1 ? dir.file(name)
                                                                                 : std::string();
}

MediaTags full_tags() {
  MediaTags t;
  t.title = "Titel – 标题";
  t.comment = "a comment";
  t.artist = "Artist";
  t.album = "Album";
  t.year = 1999;
  t.track = 7;
  t.genre = "Jazz";
  t.lyrics = "la la\nla";
  t.album_artist = "Various";
  t.music_text38 = "Live take";
  t.rating = 75;
  return t;
}

TEST(AsfTags, EveryFieldSurvivesWriteAndRead) {
  ScratchDir dir;
  const std::string wma = make_wma(dir, "tagged.wma");
  ASSERT_FALSE(wma.empty());
  FfmpegMediaCodec codec;
  const MediaTags written = full_tags();
  ASSERT_EQ(codec.write_tags(wma, written), 1);

  MediaTags read;
  read.album = "stale";
  ASSERT_EQ(codec.read_tags(wma, read), 1);
  EXPECT_TRUE(read.loaded);
  EXPECT_EQ(read.title, written.title);
  EXPECT_EQ(read.comment, written.comment);
  EXPECT_EQ(read.artist, written.artist);
  EXPECT_EQ(read.album, written.album);
  EXPECT_EQ(read.year, written.year);
  EXPECT_EQ(read.track, written.track);
  EXPECT_EQ(read.genre, written.genre);
  EXPECT_EQ(read.lyrics, written.lyrics);
  EXPECT_EQ(read.album_artist, written.album_artist);
  EXPECT_EQ(read.music_text38, written.music_text38);
  EXPECT_EQ(read.rating, written.rating);

  // The file still decodes after the tags went in.
  EXPECT_EQ(codec.decode_to_wav(wma, dir.file("back.wav"), nullptr), 1);
}

// Other programs store the year as text (maybe a whole date) and the track as text; ratings
// of 100 and above are not kept; emptied fields disappear.
TEST(AsfTags, ReadsWhatOtherWritersStore) {
  ScratchDir dir;
  const std::string wma = make_wma(dir, "foreign.wma");
  ASSERT_FALSE(wma.empty());
  {
    TagLib::ASF::File file(wma.c_str(), false);
    ASSERT_TRUE(file.isValid());
    file.tag()->setAttribute("WM/Year", TagLib::ASF::Attribute(TagLib::String("2004-05-06")));
    file.tag()->setAttribute("WM/TrackNumber", TagLib::ASF::Attribute(TagLib::String("12")));
    file.tag()->setAttribute("WM/SharedUserRating", TagLib::ASF::Attribute(120u));
    file.tag()->setTitle("Only a title");
    ASSERT_TRUE(file.save());
  }
  FfmpegMediaCodec codec;
  MediaTags read;
  ASSERT_EQ(codec.read_tags(wma, read), 1);
  EXPECT_EQ(read.year, 2004u);
  EXPECT_EQ(read.track, 12u);
  EXPECT_EQ(read.rating, 0u);
  EXPECT_EQ(read.title, "Only a title");
  EXPECT_TRUE(read.artist.empty());

  MediaTags cleared = read;
  cleared.title.clear();
  cleared.year = 0;
  ASSERT_EQ(codec.write_tags(wma, cleared), 1);
  TagLib::ASF::File file(wma.c_str(), false);
  EXPECT_TRUE(file.tag()->title().isEmpty());
  EXPECT_FALSE(file.tag()->contains("WM/Year"));
}

// The ffmpeg command line, like many encoders, stores the comment as a "Description"
// attribute; it survives a load, an edit and a save, and is then found in both places.
TEST(AsfTags, CommentInTheDescriptionAttributeIsKept) {
  ScratchDir dir;
  const std::string source = dir.file("encoded.wma");
  ASSERT_TRUE(test::run_ffmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t",
                                "1", "-c:a", "wmav2", "-metadata", "comment=Recorded live",
                                "-metadata", "title=Take", source}));
  FfmpegMediaCodec codec;
  MediaTags read;
  ASSERT_EQ(codec.read_tags(source, read), 1);
  EXPECT_EQ(read.comment, "Recorded live");
  EXPECT_EQ(read.title, "Take");

  const std::string saved = make_wma(dir, "saved.wma");
  ASSERT_FALSE(saved.empty());
  read.comment = "Recorded live, edited";
  ASSERT_EQ(codec.write_tags(saved, read), 1);
  {
    TagLib::ASF::File file(saved.c_str(), false);
    ASSERT_TRUE(file.isValid());
    EXPECT_EQ(file.tag()->comment().to8Bit(true), "Recorded live, edited");
    ASSERT_TRUE(file.tag()->contains("Description"));
    EXPECT_EQ(file.tag()->attribute("Description").front().toString().to8Bit(true),
              "Recorded live, edited");
  }
  MediaTags again;
  ASSERT_EQ(codec.read_tags(saved, again), 1);
  EXPECT_EQ(again.comment, "Recorded live, edited");

  // The content description wins when both are there and differ.
  {
    TagLib::ASF::File file(saved.c_str(), false);
    file.tag()->setAttribute("Description", TagLib::ASF::Attribute(TagLib::String("other")));
    ASSERT_TRUE(file.save());
  }
  ASSERT_EQ(codec.read_tags(saved, again), 1);
  EXPECT_EQ(again.comment, "Recorded live, edited");
}

TEST(AsfTags, FilesWithoutAsfTagsReadAsEmpty) {
  ScratchDir dir;
  test::write_tone_wav(dir.file("plain.wav"), 1, 8000, 800);
  FfmpegMediaCodec codec;
  MediaTags tags = full_tags();
  tags.loaded = true;
  EXPECT_EQ(codec.read_tags(dir.file("plain.wav"), tags), 0);
  EXPECT_FALSE(tags.has_values());
  EXPECT_FALSE(tags.loaded);
  EXPECT_EQ(codec.read_tags(dir.file("absent.wma"), tags), 0);
  EXPECT_EQ(codec.write_tags(dir.file("absent.wma"), full_tags()), 0);
  EXPECT_FALSE(test::file_exists(dir.file("absent.wma")));
  EXPECT_EQ(codec.write_tags(dir.file("plain.wav"), full_tags()), 0);
}

// Tags many times larger than the audio make FFmpeg's demuxer distrust the header's length;
// the file still loads whole.
TEST(AsfTags, LargeTagsDoNotSpoilTheAudio) {
  ScratchDir dir;
  const std::string wma = make_wma(dir, "lyrics.wma");
  ASSERT_FALSE(wma.empty());
  FfmpegMediaCodec codec;
  MediaTags tags;
  tags.lyrics = std::string(40000, 'l');
  ASSERT_EQ(codec.write_tags(wma, tags), 1);
  ASSERT_EQ(codec.decode_to_wav(wma, dir.file("back.wav"), nullptr), 1);
  test::PcmWav back;
  ASSERT_TRUE(test::read_wav(dir.file("back.wav"), back));
  EXPECT_GE(back.frames(), 11025u);
}

}  // namespace
}  // namespace voxtrelle
