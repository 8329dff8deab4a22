// SPDX-License-Identifier: GPL-3.0-or-later
// FfmpegMediaCodec::read_tags / write_tags: the MediaTags block in a WMA file's ASF
// attributes, through TagLib.
#include <taglib/asffile.h>
#include <taglib/asftag.h>

#include <cctype>

#include "voxtrelle/media/asf_header.h"
#include "voxtrelle/media/ffmpeg_media_codec.h"

namespace voxtrelle {
namespace {

// Attribute names. The free-text field music_text38 is kept in WM/SubTitle, the ASF
// attribute that players show as the track's subtitle.
constexpr const char* kAlbumArtist = "WM/AlbumArtist";
// Many encoders keep the comment in this attribute instead of the content description.
constexpr const char* kDescription = "Description";
constexpr const char* kLyrics = "WM/Lyrics";
constexpr const char* kMusicText38 = "WM/SubTitle";
constexpr const char* kRating = "WM/SharedUserRating";
constexpr const char* kTrack = "WM/TrackNumber";
constexpr const char* kYear = "WM/Year";
constexpr uint32_t kRatingLimit = 100;  // ratings at or above it are not kept

std::string text(const TagLib::String& s) {
  return s.to8Bit(true);
}

TagLib::String tag_string(const std::string& s) {
  return TagLib::String(s, TagLib::String::UTF8);
}

const TagLib::ASF::Attribute* first(const TagLib::ASF::Tag& tag, const char* name) {
  const auto& map = tag.attributeListMap();
  const auto it = map.find(name);
  if (it == map.end() || it->second.isEmpty()) return nullptr;
  return &it->second.front();
}

std::string string_attribute(const TagLib::ASF::Tag& tag, const char* name) {
  const TagLib::ASF::Attribute* a = first(tag, name);
  return a != nullptr && a->type() == TagLib::ASF::Attribute::UnicodeType ? text(a->toString())
                                                                          : std::string();
}

// A number stored as a 32-bit value, or as text whose leading digits (at most max_digits)
// give the number.
uint32_t number_attribute(const TagLib::ASF::Tag& tag, const char* name, size_t max_digits) {
  const TagLib::ASF::Attribute* a = first(tag, name);
  if (a == nullptr) return 0;
  switch (a->type()) {
    case TagLib::ASF::Attribute::DWordType:
      return a->toUInt();
    case TagLib::ASF::Attribute::WordType:
      return a->toUShort();
    case TagLib::ASF::Attribute::QWordType:
      return static_cast<uint32_t>(a->toULongLong());
    case TagLib::ASF::Attribute::UnicodeType: {
      const std::string s = text(a->toString());
      uint32_t value = 0;
      size_t i = 0;
      while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
      for (size_t n = 0; i < s.size() && n < max_digits; ++i, ++n) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) break;
        value = value * 10 + static_cast<uint32_t>(s[i] - '0');
      }
      return value;
    }
    default:
      return 0;
  }
}

void set_or_remove(TagLib::ASF::Tag& tag, const char* name, const std::string& value) {
  if (value.empty()) {
    tag.removeItem(name);
  } else {
    tag.setAttribute(name, TagLib::ASF::Attribute(tag_string(value)));
  }
}

void set_or_remove(TagLib::ASF::Tag& tag, const char* name, uint32_t value) {
  if (value == 0) {
    tag.removeItem(name);
  } else {
    tag.setAttribute(name, TagLib::ASF::Attribute(static_cast<unsigned int>(value)));
  }
}

}  // namespace

int FfmpegMediaCodec::read_tags(const std::string& path, MediaTags& tags) {
  tags.clear();
  if (path.empty()) return 0;
  AsfHeader header(path, false);
  const TagLib::ASF::Tag* tag = header.file() != nullptr ? header.file()->tag() : nullptr;
  if (tag == nullptr) return 0;
  tags.title = text(tag->title());
  tags.comment = text(tag->comment());
  if (tags.comment.empty()) tags.comment = string_attribute(*tag, kDescription);
  tags.artist = text(tag->artist());
  tags.album = text(tag->album());
  tags.genre = text(tag->genre());
  tags.year = number_attribute(*tag, kYear, 4);
  tags.track = number_attribute(*tag, kTrack, 10);
  tags.lyrics = string_attribute(*tag, kLyrics);
  tags.album_artist = string_attribute(*tag, kAlbumArtist);
  tags.music_text38 = string_attribute(*tag, kMusicText38);
  const uint32_t rating = number_attribute(*tag, kRating, 10);
  tags.rating = rating < kRatingLimit ? rating : 0;
  tags.loaded = true;
  return 1;
}

int FfmpegMediaCodec::write_tags(const std::string& path, const MediaTags& tags) {
  if (path.empty()) return 0;
  TagLib::ASF::File file(path.c_str(), false);
  TagLib::ASF::Tag* tag = file.isValid() && !file.readOnly() ? file.tag() : nullptr;
  if (tag == nullptr) return 0;
  tag->setTitle(tag_string(tags.title));
  // Both places, so that readers of either find it.
  tag->setComment(tag_string(tags.comment));
  set_or_remove(*tag, kDescription, tags.comment);
  tag->setArtist(tag_string(tags.artist));
  tag->setAlbum(tag_string(tags.album));
  tag->setGenre(tag_string(tags.genre));
  // The year is text in WMA files ("%u"); the track number a 32-bit value.
  set_or_remove(*tag, kYear, tags.year != 0 ? std::to_string(tags.year) : std::string());
  set_or_remove(*tag, kTrack, tags.track);
  set_or_remove(*tag, kLyrics, tags.lyrics);
  set_or_remove(*tag, kAlbumArtist, tags.album_artist);
  set_or_remove(*tag, kMusicText38, tags.music_text38);
  set_or_remove(*tag, kRating, tags.rating < kRatingLimit ? tags.rating : 0);
  return file.save() ? 1 : 0;
}

}  // namespace voxtrelle
