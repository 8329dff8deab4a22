// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "voxtrelle/imaging/embedded_picture.h"

namespace voxtrelle {

// The editor's skin pictures, compiled from voxtrelle/ui/pictures/*.png; each is found by its
// file name without ".png" (for example LoadPicture(UiPictures(), "home_frame")).
PictureTable UiPictures();

// Names of the pictures the dialogs and the start page draw.
namespace picture {
inline constexpr const char* kSliderThumb = "slider_thumb";                 // 14 x 13, bitmap 340
inline constexpr const char* kHomeFrame = "home_frame";                     // 42 x 42, bitmap 341
inline constexpr const char* kButtonHoverFrame = "button_hover_frame";      // 15 x 60, bitmap 342
inline constexpr const char* kButtonPressedFrame = "button_pressed_frame";  // 15 x 60, bitmap 343
inline constexpr const char* kHomeStereo = "home_stereo";                   // 35 high, PNG 344
inline constexpr const char* kHomeOpen = "home_open";                       // 35 high, PNG 345
}  // namespace picture

}  // namespace voxtrelle
