// SPDX-License-Identifier: GPL-3.0-or-later
// The transport keys of the accelerator table, pressed while the window has the focus.
#include <gtest/gtest.h>

#include "zentora/ui/tests/frame_fixture.h"
#include "zentora/ui/time_panel.h"

namespace zentora {
namespace {
using test::PumpUntil;

class WindowKeysTest : public test::MainFrameTest {};

TEST_F(WindowKeysTest, RightLeftHomeAndEndMoveThePlayPosition) {
  Start();
  frame_->App().settings().jumpSeconds = 2;
  frame_->OpenPath(wxString::FromUTF8(MakeFile("keys.mp3", 6.0)));
  ASSERT_TRUE(messages_.empty()) << messages_[0];
  const int32_t duration = frame_->App().durationMs();
  ASSERT_GT(duration, 5500);
  ASSERT_TRUE(PumpUntil([&] { return frame_->App().currentMs() >= 500; }, 3000));

  int32_t before = frame_->App().currentMs();
  Key(WXK_RIGHT);
  EXPECT_NEAR(frame_->App().currentMs(), before + 2000, 150);
  before = frame_->App().currentMs();
  Key(WXK_LEFT);
  EXPECT_NEAR(frame_->App().currentMs(), before - 2000, 150);
  Key(WXK_LEFT);
  EXPECT_LT(frame_->App().currentMs(), 150) << "a jump back stops at the start";
  Key(WXK_RIGHT);
  Key(WXK_HOME);
  EXPECT_LT(frame_->App().currentMs(), 150);
  EXPECT_EQ(frame_->App().playState(), PlayState::Playing);
  Key(WXK_END);
  EXPECT_GE(frame_->App().currentMs(), duration - 150);
  // With no B the end of the file stops playback, and then the keys do nothing.
  ASSERT_TRUE(PumpUntil([&] { return frame_->App().playState() == PlayState::Stopped; }, 3000));
  Key(WXK_RIGHT);
  Key(WXK_END);
  EXPECT_LT(frame_->App().currentMs(), 150);
}

TEST_F(WindowKeysTest, TabAsksForTheCutsOutput) {
  Start();
  frame_->OpenPath(wxString::FromUTF8(MakeFile("tab.mp3", 3.0)));
  ASSERT_TRUE(messages_.empty()) << messages_[0];
  ASSERT_TRUE(PumpUntil([&] { return frame_->App().currentMs() >= 200; }, 3000));
  Key(WXK_UP);
  const int32_t a = frame_->App().pointA();
  ASSERT_TRUE(PumpUntil([&] { return frame_->App().currentMs() >= a + 400; }, 3000));
  Key(WXK_UP);
  cutOutput_.clear();  // the user cancels the save dialog
  ASSERT_TRUE(HasFocusInFrame(frame_->Panel()->Time()));
  Key(WXK_TAB);
  EXPECT_EQ(saveDialogs_, 1);
  EXPECT_EQ(frame_->App().playState(), PlayState::Paused);
  EXPECT_TRUE(HasFocusInFrame(frame_->Panel()->Time()))
      << "Tab is the cut, not a move to the next control";
  EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace zentora
