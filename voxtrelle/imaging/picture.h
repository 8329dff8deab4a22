// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/bitmap.h>
#include <wx/image.h>

#include <span>
#include <string_view>

#include "voxtrelle/imaging/embedded_picture.h"

namespace voxtrelle {

// Decodes a PNG, JPEG or BMP picture held in memory. The result is invalid (IsOk() false) when
// the bytes are not a picture; no message is shown.
wxImage DecodePicture(std::span<const unsigned char> bytes);

// The picture called name in table, decoded; invalid when it is missing or broken.
wxImage LoadPicture(PictureTable table, std::string_view name);

// The same as a bitmap for drawing; invalid (IsOk() false) when the picture is.
wxBitmap LoadPictureBitmap(PictureTable table, std::string_view name);

}  // namespace voxtrelle
