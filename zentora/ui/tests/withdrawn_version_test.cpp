// SPDX-License-Identifier: GPL-3.0-or-later
// "This version is withdrawn" arriving while a modal dialog of the window is open: the dialog
// ends first, then the window goes; nothing runs on freed memory (the suite also runs under
// AddressSanitizer).
#include <gtest/gtest.h>

#include <filesystem>

#include "zentora/core/settings.h"
#include "zentora/ui/settings_panel.h"
#include "zentora/ui/tests/dialog_script.h"
#include "zentora/ui/tests/frame_fixture.h"

namespace zentora {
namespace {
namespace fs = std::filesystem;
using test::Click;
using test::DialogScript;
using test::PumpUntil;

class WithdrawnVersionTest : public test::MainFrameTest {
 protected:
  // What the update check's answer does when it arrives inside a dialog's loop.
  void AnswerWithdrawn() { frame_->HandleUpdateAnswer(UpdateAnswer::Required); }
  void ExpectTheWindowEnded() {
    ASSERT_TRUE(PumpUntil([&] { return frame_ == nullptr; }, 5000));
    EXPECT_EQ(notices_, std::vector<int>{kTextVersionObsolete});
    EXPECT_TRUE(fs::exists(dir_ / "Zentora" / "options.ini")) << "the settings were saved";
  }
};

TEST_F(WithdrawnVersionTest, InsideTheJumpStepDialog) {
  DialogScript script({[&](wxDialog&) { AnswerWithdrawn(); }});
  Start();
  wxWindow* button = frame_->Panel()->Settings()->FindWindow(1007);
  ASSERT_NE(button, nullptr);
  wxCommandEvent click(wxEVT_BUTTON, 1007);
  click.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(click);  // returns once the dialog has ended
  ASSERT_EQ(script.Shown().size(), 1u);
  EXPECT_EQ(script.Shown()[0], L"跳跃一次大小");
  ExpectTheWindowEnded();
  std::string error;
  EXPECT_EQ(LoadSettings((dir_ / "Zentora" / "options.ini").string(), &error).jumpSeconds, 3)
      << "the ended dialog changed nothing";
}

class WithdrawnDuringCutTest : public WithdrawnVersionTest {
 protected:
  void CutWithAB() {
    frame_->OpenPath(wxString::FromUTF8(MakeFile("cut.mp3", 3.0)));
    ASSERT_TRUE(messages_.empty()) << messages_[0];
    ASSERT_TRUE(PumpUntil([&] { return frame_->App().currentMs() >= 200; }, 3000));
    Key(WXK_UP);
    const int32_t a = frame_->App().pointA();
    ASSERT_TRUE(PumpUntil([&] { return frame_->App().currentMs() >= a + 500; }, 3000));
    Key(WXK_UP);
    cutOutput_ = wxString::FromUTF8((dir_ / "out.mp3").string());
    Key(WXK_TAB);  // returns once the cut flow's dialogs have ended
  }
};

TEST_F(WithdrawnDuringCutTest, InsideTheCuttingDialog) {
  DialogScript script({
      [](wxDialog& method) { Click(method, wxID_OK); },
      [&](wxDialog&) { AnswerWithdrawn(); },
  });
  Start();
  CutWithAB();
  ASSERT_EQ(script.Shown().size(), 2u);
  EXPECT_EQ(script.Shown()[1], L"执行ab剪切");
  ExpectTheWindowEnded();
}

TEST_F(WithdrawnDuringCutTest, InsideTheMethodDialogNoCutStarts) {
  DialogScript script({[&](wxDialog&) { AnswerWithdrawn(); }});
  Start();
  CutWithAB();
  ASSERT_EQ(script.Shown().size(), 1u) << "the cutting dialog never opens";
  EXPECT_EQ(script.Shown()[0], L"剪切点定位方式");
  ExpectTheWindowEnded();
  test::Pump(500);
  EXPECT_FALSE(fs::exists(dir_ / "out.mp3"));
}

}  // namespace
}  // namespace zentora
