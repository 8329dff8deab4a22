// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/time_panel.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

#include "zentora/ui/tests/fake_play_view.h"
#include "zentora/ui/tests/wx_pump.h"
#include "zentora/ui/tip_strip.h"

namespace zentora {
namespace {

class TimePanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "time");
    panel_ = new TimePanel(frame_, view_, wxString::FromUTF8("还未载入mp3文件"));
    frame_->SetClientSize(720, 150);
    frame_->Show();
    panel_->SetSize(0, 0, 720, 150);
    test::Pump(30);
  }
  void TearDown() override {
    frame_->Destroy();
    test::Pump(20);  // deleted while view_, which its panels paint from, still exists
  }
  void Press(const wxPoint& at) {
    wxMouseEvent event(wxEVT_LEFT_DOWN);
    event.m_x = at.x;
    event.m_y = at.y;
    event.m_leftDown = true;
    event.SetEventObject(panel_);
    panel_->GetEventHandler()->ProcessEvent(event);
    wxMouseEvent up(wxEVT_LEFT_UP);
    up.m_x = at.x;
    up.m_y = at.y;
    up.SetEventObject(panel_);
    panel_->GetEventHandler()->ProcessEvent(up);
  }

  test::FakePlayView view_;
  wxFrame* frame_ = nullptr;
  TimePanel* panel_ = nullptr;
};

TEST_F(TimePanelTest, PlayImageStartsPlaybackOnlyWhenLoadedAndNotPlaying) {
  const wxPoint centre(360, 75), corner(360 + 31, 75 + 31), outside(360 + 33, 75);
  EXPECT_EQ(panel_->PlayImageArea(), wxRect(328, 43, 64, 64));
  view_.playing = true;
  Press(centre);
  EXPECT_EQ(view_.toggles, 0);
  view_.playing = false;  // paused
  Press(outside);
  EXPECT_EQ(view_.toggles, 0);
  Press(corner);
  EXPECT_EQ(view_.toggles, 1);
  view_.playing = false;
  view_.loaded = false;
  Press(centre);
  EXPECT_EQ(view_.toggles, 1);
}

TEST_F(TimePanelTest, ShowsShortPositionAndDurationAndLongPointTimes) {
  view_.current = 3723400;
  view_.duration = 7384999;
  view_.pointA = 5;
  panel_->Render();
  const std::vector<wxString> expected = {"01:02:03", "02:03:04", "a: 00:00:00.005"};
  EXPECT_EQ(panel_->DrawnTexts(), expected);
  view_.pointB = 360000000;  // 100 hours
  panel_->Render();
  ASSERT_EQ(panel_->DrawnTexts().size(), 4u);
  EXPECT_EQ(panel_->DrawnTexts()[3], "b: 100:00:00.000");
  view_.loaded = false;
  panel_->Render();
  EXPECT_TRUE(panel_->DrawnTexts().empty());
}

TEST_F(TimePanelTest, TipStripIsLightYellowBetweenItsEdges) {
  auto* tip = new TipStrip(frame_, "tip");
  tip->SetSize(0, 0, 720, 26);
  const wxBitmap bitmap = tip->Render();
  wxMemoryDC dc;
  dc.SelectObjectAsSource(bitmap);
  wxColour inside, top;
  dc.GetPixel(3, 12, &inside);
  dc.GetPixel(3, 0, &top);
  EXPECT_EQ(inside, wxColour(255, 255, 205));
  EXPECT_NE(top, wxColour(255, 255, 205));
}

}  // namespace
}  // namespace zentora
