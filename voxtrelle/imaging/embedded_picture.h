// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string_view>

namespace voxtrelle {

// One picture file compiled into the program (see vx_embed_pictures in embed_pictures.cmake).
struct EmbeddedPicture {
  std::string_view name;  // the file name without its extension
  std::span<const unsigned char> bytes;
};

using PictureTable = std::span<const EmbeddedPicture>;

// The picture called name, or nullptr when the table has none.
const EmbeddedPicture* FindPicture(PictureTable table, std::string_view name);

}  // namespace voxtrelle
