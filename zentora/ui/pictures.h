// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pictures as wx objects, decoded from the embedded files.
#include <wx/animate.h>
#include <wx/bitmap.h>
#include <wx/icon.h>

namespace zentora {

// Picture resource numbers.
enum Picture : int {
  kIconLarge = 107,
  kIconSmall = 108,
  kThumb = 142,
  kPlayImage = 146,
  kNotLoadedImage = 147,
  kMarkerA = 148,
  kMarkerB = 149,
  kCuttingAnimation = 150,
};

// The picture `id` (a PNG); an empty bitmap when it is missing.
wxBitmap LoadPicture(int id);
// The program icon in both sizes.
wxIconBundle ProgramIcons();
// The cutting animation (a GIF).
wxAnimation LoadAnimation(int id);

}  // namespace zentora
