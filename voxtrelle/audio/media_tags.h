// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace voxtrelle {

// The descriptive tags of a WMA file, carried from the loaded file to the saved one.
// Strings are UTF-8. Reading and writing them is the media codec's work (media_codec.h).
struct MediaTags {
  std::string title;
  std::string comment;
  std::string artist;
  std::string album;
  uint32_t year = 0;
  uint32_t track = 0;
  std::string genre;
  std::string lyrics;
  std::string album_artist;
  std::string music_text38;
  uint32_t rating = 0;  // kept only below 100
  bool loaded = false;  // the last read succeeded

  bool has_values() const {
    return !title.empty() || !comment.empty() || !artist.empty() || !album.empty() ||
           !genre.empty() || !lyrics.empty() || !album_artist.empty() || !music_text38.empty() ||
           year != 0 || track != 0 || rating != 0;
  }
  void clear() { *this = MediaTags{}; }
};

}  // namespace voxtrelle
