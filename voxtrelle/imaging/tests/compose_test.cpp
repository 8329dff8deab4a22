// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "voxtrelle/imaging/compose.h"

namespace voxtrelle {
namespace {

wxColour At(const wxImage& image, int x, int y) {
  return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// A picture whose every pixel tells where it came from: red = column, green = row.
wxImage Coordinates(int width, int height) {
  wxImage image(width, height, false);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.SetRGB(x, y, x, y, 0);
  return image;
}

TEST(Compose, EdgeFrameKeepsCornersAndStretchesSides) {
  const wxImage frame = Coordinates(42, 42);
  const wxColour inside(1, 2, 3);
  wxImage target = SolidImage(200, 100, inside);
  DrawEdgeFrame(target, frame, 14);
  // Corners unscaled.
  EXPECT_EQ(At(target, 0, 0), wxColour(0, 0, 0));
  EXPECT_EQ(At(target, 13, 13), wxColour(13, 13, 0));
  EXPECT_EQ(At(target, 199, 0), wxColour(41, 0, 0));
  EXPECT_EQ(At(target, 186, 99), wxColour(28, 41, 0));
  EXPECT_EQ(At(target, 0, 99), wxColour(0, 41, 0));
  // The top edge maps the 14 middle columns over 172 pixels; rows stay.
  EXPECT_EQ(At(target, 14, 5), wxColour(14, 5, 0));
  EXPECT_EQ(At(target, 185, 5), wxColour(27, 5, 0));
  EXPECT_EQ(At(target, 100, 0).Red(), 14 + (100 - 14) * 14 / 172);
  // The left edge maps the middle rows over the height between the corners.
  EXPECT_EQ(At(target, 3, 14), wxColour(3, 14, 0));
  EXPECT_EQ(At(target, 3, 85), wxColour(3, 27, 0));
  // Inside untouched.
  EXPECT_EQ(At(target, 14, 14), inside);
  EXPECT_EQ(At(target, 185, 85), inside);
}

TEST(Compose, ThreeSliceOfAButtonFrame) {
  const wxImage frame = Coordinates(15, 60);
  wxImage target = SolidImage(355, 60, *wxWHITE);
  DrawThreeSlice(target, wxRect(0, 0, 355, 60), frame, 5);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(At(target, x, 7), wxColour(x, 7, 0));
  for (int x = 350; x < 355; ++x) EXPECT_EQ(At(target, x, 7), wxColour(x - 340, 7, 0));
  for (int x = 5; x < 350; ++x) {
    const int red = At(target, x, 30).Red();
    ASSERT_GE(red, 5);
    ASSERT_LE(red, 9);
  }
  EXPECT_EQ(At(target, 5, 59), wxColour(5, 59, 0));
  EXPECT_EQ(At(target, 349, 0).Red(), 9);
}

TEST(Compose, AlphaIsBlendedOverTheTarget) {
  wxImage over(2, 1, false);
  over.SetAlpha();
  over.SetRGB(0, 0, 255, 255, 255);
  over.SetAlpha(0, 0, 128);
  over.SetRGB(1, 0, 255, 0, 0);
  over.SetAlpha(1, 0, 0);
  wxImage target = SolidImage(4, 2, wxColour(0, 0, 100));
  DrawOver(target, 1, 1, over);
  EXPECT_EQ(At(target, 1, 1), wxColour(128, 128, 178));
  EXPECT_EQ(At(target, 2, 1), wxColour(0, 0, 100));  // transparent pixel leaves the target
  EXPECT_EQ(At(target, 1, 0), wxColour(0, 0, 100));  // outside the drawn area
}

TEST(Compose, DrawingPastTheEdgesIsClipped) {
  wxImage target = SolidImage(10, 10, *wxBLACK);
  const wxImage white = SolidImage(6, 6, *wxWHITE);
  DrawOver(target, -3, 7, white);
  EXPECT_EQ(At(target, 0, 9), *wxWHITE);
  EXPECT_EQ(At(target, 2, 7), *wxWHITE);
  EXPECT_EQ(At(target, 3, 7), *wxBLACK);
  EXPECT_EQ(At(target, 0, 6), *wxBLACK);
  // A source rectangle outside the picture draws nothing.
  StretchDraw(target, wxRect(0, 0, 10, 10), white, wxRect(4, 4, 5, 5));
  EXPECT_EQ(At(target, 5, 5), *wxBLACK);
}

TEST(Compose, BlendFillAndCorners) {
  wxImage target = SolidImage(8, 8, wxColour(0, 0, 0));
  BlendFill(target, wxRect(2, 2, 4, 4), wxColour(255, 100, 10), 128);
  EXPECT_EQ(At(target, 2, 2), wxColour(128, 50, 5));
  EXPECT_EQ(At(target, 1, 2), wxColour(0, 0, 0));
  BlendFill(target, wxRect(0, 0, 8, 8), *wxWHITE, 255);
  EXPECT_EQ(At(target, 7, 7), *wxWHITE);
  SetCornerPixels(target, wxRect(1, 1, 6, 5), *wxRED);
  EXPECT_EQ(At(target, 1, 1), *wxRED);
  EXPECT_EQ(At(target, 6, 1), *wxRED);
  EXPECT_EQ(At(target, 1, 5), *wxRED);
  EXPECT_EQ(At(target, 6, 5), *wxRED);
  EXPECT_EQ(At(target, 2, 1), *wxWHITE);
  EXPECT_EQ(MixColours(*wxBLACK, *wxWHITE, 255), *wxWHITE);
  EXPECT_EQ(MixColours(wxColour(0, 0, 0), wxColour(254, 254, 254), 128), wxColour(127, 127, 127));
}

}  // namespace
}  // namespace voxtrelle
