// SPDX-License-Identifier: GPL-3.0-or-later
// The window's small dialogs are wide enough for their whole title beside the icon and the
// buttons a window manager puts into the title bar.
#include <gtest/gtest.h>

#include "zentora/ui/settings_panel.h"
#include "zentora/ui/tests/dialog_script.h"
#include "zentora/ui/tests/frame_fixture.h"

namespace zentora {
namespace {
using test::Click;
using test::DialogScript;
using test::PumpUntil;

// A title bar's icon and three buttons take about 4 x 24 pixels.
constexpr int kTitleBarButtons = 96;

// Width left beside the title, measured in bold as title bars draw it.
int RoomBesideTitle(wxDialog& dialog) {
  const wxFont bold = dialog.GetFont().Bold();
  int width = 0, height = 0;
  dialog.GetTextExtent(dialog.GetTitle(), &width, &height, nullptr, nullptr, &bold);
  return dialog.GetSize().x - width;
}

class DialogTitleTest : public test::MainFrameTest, public ::testing::WithParamInterface<int> {};

TEST_P(DialogTitleTest, StepDialog) {
  int room = 0;
  DialogScript script({[&](wxDialog& dialog) {
    room = RoomBesideTitle(dialog);
    Click(dialog, wxID_CANCEL);
  }});
  Start();
  wxWindow* button = frame_->Panel()->Settings()->FindWindow(GetParam());
  ASSERT_NE(button, nullptr);
  wxCommandEvent click(wxEVT_BUTTON, GetParam());
  click.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(click);
  ASSERT_EQ(script.Shown().size(), 1u);
  EXPECT_GE(room, kTitleBarButtons) << script.Shown()[0];
}

INSTANTIATE_TEST_SUITE_P(JumpAndFineTune, DialogTitleTest, ::testing::Values(1007, 1008));

class CutMethodTitleTest : public test::MainFrameTest {};

TEST_F(CutMethodTitleTest, CutMethodDialog) {
  int room = 0;
  DialogScript script({
      [&](wxDialog& method) {
        room = RoomBesideTitle(method);
        Click(method, wxID_OK);
      },
      [](wxDialog& cutting) { Click(cutting, wxID_CANCEL); },
  });
  Start();
  frame_->OpenPath(wxString::FromUTF8(MakeFile("title.mp3", 2.0)));
  ASSERT_TRUE(messages_.empty()) << messages_[0];
  Key(WXK_UP);
  ASSERT_TRUE(
      PumpUntil([&] { return frame_->App().currentMs() >= frame_->App().pointA() + 300; }, 3000));
  Key(WXK_UP);
  cutOutput_ = wxString::FromUTF8((dir_ / "title cut.mp3").string());
  Key(WXK_TAB);
  ASSERT_EQ(script.Shown().size(), 2u);
  EXPECT_GE(room, kTitleBarButtons) << "\"剪切点定位方式\" shows whole";
}

}  // namespace
}  // namespace zentora
