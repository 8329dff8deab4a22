// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <wx/mstream.h>

#include <vector>

#include "voxtrelle/imaging/picture.h"

namespace voxtrelle {
PictureTable ImagingTestPictures();
}

namespace voxtrelle {
namespace {

TEST(EmbeddedPicture, TableNamesEveryFileByItsStem) {
  PictureTable table = ImagingTestPictures();
  ASSERT_EQ(table.size(), 2u);
  ASSERT_NE(FindPicture(table, "probe"), nullptr);
  EXPECT_NE(FindPicture(table, "not_a_picture"), nullptr);
  EXPECT_EQ(FindPicture(table, "probe.png"), nullptr);
  EXPECT_EQ(FindPicture(table, "missing"), nullptr);
  // The compiled bytes are the PNG file itself.
  auto bytes = FindPicture(table, "probe")->bytes;
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(bytes[0], 0x89);
  EXPECT_EQ(bytes[1], 'P');
}

TEST(EmbeddedPicture, DecodesColoursAndAlphaOfTheProbe) {
  wxImage image = LoadPicture(ImagingTestPictures(), "probe");
  ASSERT_TRUE(image.IsOk());
  ASSERT_EQ(image.GetWidth(), 3);
  ASSERT_EQ(image.GetHeight(), 2);
  ASSERT_TRUE(image.HasAlpha());
  EXPECT_EQ(image.GetRed(0, 0), 255);
  EXPECT_EQ(image.GetGreen(1, 0), 255);
  EXPECT_EQ(image.GetBlue(2, 0), 255);
  EXPECT_EQ(image.GetAlpha(0, 0), 255);
  EXPECT_NEAR(image.GetAlpha(0, 1), 127, 1);
  EXPECT_EQ(image.GetAlpha(1, 1), 0);
  EXPECT_EQ(image.GetAlpha(2, 1), 255);
  EXPECT_EQ(image.GetRed(2, 1), 0);
}

TEST(EmbeddedPicture, BrokenOrMissingPicturesGiveNoImage) {
  EXPECT_FALSE(LoadPicture(ImagingTestPictures(), "not_a_picture").IsOk());
  EXPECT_FALSE(LoadPicture(ImagingTestPictures(), "missing").IsOk());
  EXPECT_FALSE(DecodePicture({}).IsOk());
  const unsigned char truncated[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0};
  EXPECT_FALSE(DecodePicture(truncated).IsOk());
}

TEST(EmbeddedPicture, RoundTripsAPictureWrittenInMemory) {
  wxImage source(5, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) source.SetRGB(x, y, x * 50, y * 60, 7);
  DecodePicture({});  // registers the handlers
  wxMemoryOutputStream out;
  ASSERT_TRUE(source.SaveFile(out, wxBITMAP_TYPE_PNG));
  std::vector<unsigned char> bytes(out.GetSize());
  out.CopyTo(bytes.data(), bytes.size());
  wxImage back = DecodePicture(bytes);
  ASSERT_TRUE(back.IsOk());
  ASSERT_EQ(back.GetSize(), source.GetSize());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(back.GetRed(x, y), x * 50);
      EXPECT_EQ(back.GetGreen(x, y), y * 60);
    }
}

}  // namespace
}  // namespace voxtrelle
