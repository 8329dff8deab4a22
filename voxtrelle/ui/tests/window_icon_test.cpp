// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame shows the program's icon: the same pictures the desktop entry uses.
#include <gtest/gtest.h>
#include <wx/image.h>

#include <memory>

#include "voxtrelle/playback/wave_out_test.h"
#include "voxtrelle/ui/main_frame.h"
#include "wx_test_environment.h"

namespace voxtrelle {
namespace {

class WindowIcon : public ::testing::TestWithParam<int> {};

TEST_P(WindowIcon, IsTheDesktopIconAtEachSize) {
  const int size = GetParam();
  auto* frame = new MainFrame(std::make_unique<WaveOutTest>([](std::function<void()>) {}));
  const wxIcon icon = frame->GetIcons().GetIconOfExactSize(wxSize(size, size));
  frame->Destroy();
  test::Pump();
  ASSERT_TRUE(icon.IsOk()) << size << " px";

  wxImage desktop(wxString::Format("%s/voxtrelle-%d.png", PROGRAM_ICON_DIR, size));
  ASSERT_TRUE(desktop.IsOk());
  const wxImage shown = wxBitmap(icon).ConvertToImage();
  ASSERT_EQ(shown.GetSize(), desktop.GetSize());
  ASSERT_TRUE(shown.HasAlpha());
  int differing = 0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (desktop.GetAlpha(x, y) != shown.GetAlpha(x, y)) ++differing;
      if (desktop.GetAlpha(x, y) == 255 && (desktop.GetRed(x, y) != shown.GetRed(x, y) ||
                                            desktop.GetGreen(x, y) != shown.GetGreen(x, y) ||
                                            desktop.GetBlue(x, y) != shown.GetBlue(x, y)))
        ++differing;
    }
  }
  EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, WindowIcon, ::testing::Values(16, 32, 48, 64));

}  // namespace
}  // namespace voxtrelle
