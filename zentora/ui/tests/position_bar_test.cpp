// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/position_bar.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

#include "zentora/ui/position_geometry.h"
#include "zentora/ui/tests/fake_play_view.h"
#include "zentora/ui/tests/wx_pump.h"

namespace zentora {
namespace {
namespace geo = position_geometry;

TEST(PositionGeometry, MapsTimesAndOffsetsProportionally) {
  EXPECT_EQ(geo::TrackLength(700), 615);
  EXPECT_EQ(geo::OffsetOfTime(30750, 61500, 615), 307);  // 307.5 truncated
  EXPECT_EQ(geo::OffsetOfTime(61500, 61500, 615), 615);
  EXPECT_EQ(geo::OffsetOfTime(5000, 0, 615), 0);  // empty file: no progress
  EXPECT_EQ(geo::TimeOfOffset(615, 61500, 615), 61500);
  EXPECT_EQ(geo::TimeOfOffset(1, 1000, 3), 333);
}

struct HitCase {
  int x, y;
  bool inTrack;
};
class TrackHit : public ::testing::TestWithParam<HitCase> {};
TEST_P(TrackHit, WidensTheTrackBySixSidewaysAndTwoVertically) {
  // Track of a 700 wide bar: x 15..630, y 14..18.
  EXPECT_EQ(geo::InTrack(700, GetParam().x, GetParam().y), GetParam().inTrack);
}
INSTANTIATE_TEST_SUITE_P(Edges, TrackHit,
                         ::testing::Values(HitCase{9, 16, true}, HitCase{8, 16, false},
                                           HitCase{636, 16, true}, HitCase{637, 16, false},
                                           HitCase{100, 12, true}, HitCase{100, 11, false},
                                           HitCase{100, 20, true}, HitCase{100, 21, false}),
                         [](const auto& info) {
                           return "x" + std::to_string(info.param.x) + "y" +
                                  std::to_string(info.param.y);
                         });

TEST(PositionGeometry, ThumbAreaIsTheThumbWidenedByTwo) {
  // Thumb at offset 100: box x 109..121, y 22..31, widened to 107..123 and 20..33.
  EXPECT_TRUE(geo::InThumb(100, 107, 20));
  EXPECT_TRUE(geo::InThumb(100, 123, 33));
  EXPECT_FALSE(geo::InThumb(100, 106, 25));
  EXPECT_FALSE(geo::InThumb(100, 124, 25));
  EXPECT_FALSE(geo::InThumb(100, 115, 34));
}

TEST(PositionGeometry, MouseXIsReadAsSixteenBits) {
  EXPECT_EQ(geo::Mouse16(200), 200);
  EXPECT_EQ(geo::Mouse16(-3), -3);
  EXPECT_EQ(geo::Mouse16(65533), -3);
  EXPECT_EQ(geo::Mouse16(32762), 32762);
  EXPECT_EQ(geo::Mouse16(32763), 32763 - 65536);
  EXPECT_EQ(geo::ClickOffset(3, 615), 0);
  EXPECT_EQ(geo::ClickOffset(700, 615), 615);
}

class PositionBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "bar");
    bar_ = new PositionBar(frame_, view_);
    frame_->SetClientSize(700, 40);
    frame_->Show();
    bar_->SetSize(0, 0, 700, 40);
    test::Pump(30);
  }
  void TearDown() override {
    frame_->Destroy();
    test::Pump(20);  // deleted while view_, which its panels paint from, still exists
  }

  void Mouse(wxEventType type, int x, int y, bool leftDown) {
    wxMouseEvent event(type);
    event.m_x = x;
    event.m_y = y;
    event.m_leftDown = leftDown;
    event.SetEventObject(bar_);
    bar_->GetEventHandler()->ProcessEvent(event);
  }
  void Click(int x, int y) {
    Mouse(wxEVT_LEFT_DOWN, x, y, true);
    Mouse(wxEVT_LEFT_UP, x, y, false);
  }

  test::FakePlayView view_;
  wxFrame* frame_ = nullptr;
  PositionBar* bar_ = nullptr;
};

TEST_F(PositionBarTest, ClickOnTheTrackSeeksAndPinsBothEnds) {
  view_.current = 30000;
  Click(10, 16);  // left of x = 15
  Click(336, 16);
  Click(636, 16);  // right of the track's end
  ASSERT_EQ(view_.seeks.size(), 3u);
  EXPECT_EQ(view_.seeks[0], 0);
  EXPECT_EQ(view_.seeks[1], geo::TimeOfOffset(321, 61500, 615));
  EXPECT_EQ(view_.seeks[2], 61500);
}

TEST_F(PositionBarTest, PressOutsideTheTrackOrWhileStoppedDoesNotSeek) {
  Click(100, 5);
  Click(660, 16);
  view_.stopped = true;
  Click(300, 16);
  view_.stopped = false;
  view_.loaded = false;
  Click(300, 16);
  EXPECT_TRUE(view_.seeks.empty());
}

TEST_F(PositionBarTest, DragFollowsTheMouseIsPinnedAtBothEndsAndSeeksOnceOnRelease) {
  view_.current = 30750;  // offset 307
  const int thumbX = 307 + 12, thumbY = 26;
  Mouse(wxEVT_LEFT_DOWN, thumbX, thumbY, true);
  ASSERT_TRUE(bar_->Dragging());
  EXPECT_EQ(bar_->DragX(), 307);
  Mouse(wxEVT_MOTION, thumbX + 50, thumbY, true);
  EXPECT_EQ(bar_->DragX(), 357);
  Mouse(wxEVT_MOTION, 65536 - 20, thumbY, true);  // x = -20 as a 16-bit coordinate
  EXPECT_EQ(bar_->DragX(), 0);
  Mouse(wxEVT_MOTION, -400, thumbY, true);  // far left of the bar
  EXPECT_EQ(bar_->DragX(), 0);
  Mouse(wxEVT_MOTION, -390, thumbY, true);  // moves follow the mouse from where it is
  EXPECT_EQ(bar_->DragX(), 10);
  EXPECT_TRUE(view_.seeks.empty()) << "playback goes on during the drag";
  Mouse(wxEVT_MOTION, 3000, thumbY, true);
  EXPECT_EQ(bar_->DragX(), 615);
  Mouse(wxEVT_LEFT_UP, 3000, thumbY, false);
  EXPECT_FALSE(bar_->Dragging());
  ASSERT_EQ(view_.seeks.size(), 1u);
  EXPECT_EQ(view_.seeks[0], 61500);
}

TEST_F(PositionBarTest, LosingTheCaptureEndsTheDragWithASeek) {
  view_.current = 0;
  Mouse(wxEVT_LEFT_DOWN, 12, 26, true);
  ASSERT_TRUE(bar_->Dragging());
  Mouse(wxEVT_MOTION, 12 + 123, 26, true);
  bar_->CancelDrag();
  EXPECT_FALSE(bar_->Dragging());
  EXPECT_FALSE(bar_->HasCapture());
  ASSERT_EQ(view_.seeks.size(), 1u);
  EXPECT_EQ(view_.seeks[0], geo::TimeOfOffset(123, 61500, 615));
}

wxColour PixelAt(const wxBitmap& bitmap, int x, int y) {
  wxMemoryDC dc;
  dc.SelectObjectAsSource(bitmap);
  wxColour colour;
  dc.GetPixel(x, y, &colour);
  return colour;
}

TEST_F(PositionBarTest, DrawsPlayedPartDarkRestLightAndMarkersOnlyWhilePlayingOrPaused) {
  view_.current = 30750;  // played up to x = 15 + 307
  view_.pointA = 0;
  const wxBitmap& playing = bar_->Render(false);
  EXPECT_EQ(PixelAt(playing, 100, 16), wxColour(70, 70, 70));
  EXPECT_EQ(PixelAt(playing, 400, 16), wxColour(220, 220, 220));
  const wxColour markerColour = PixelAt(playing, 12, 6);  // A marker at (10, 4), 6 x 10
  EXPECT_GT(markerColour.Blue(), markerColour.Red() + 60) << "the blue A marker is drawn";
  view_.stopped = true;
  const wxColour stopped = PixelAt(bar_->Render(false), 12, 6);
  EXPECT_LT(stopped.Blue(), stopped.Red() + 30) << "no marker while stopped";
}

}  // namespace
}  // namespace zentora
