// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ostream>

#include "voxtrelle/ui/format_time.h"
#include "voxtrelle/ui/waveform_geometry.h"

namespace voxtrelle {
namespace {

struct TimeCase {
  double ms;
  const char* text;
};

void PrintTo(const TimeCase& c, std::ostream* os) {
  *os << c.ms << "ms";
}

class FormatTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(FormatTimeTest, MinutesBelowAnHourHoursFromAnHourOn) {
  EXPECT_EQ(GetParam().text, FormatTime(GetParam().ms));
}

INSTANTIATE_TEST_SUITE_P(Times, FormatTimeTest,
                         ::testing::Values(TimeCase{83250.4, "01:23.250"},
                                           TimeCase{3723004, "1:02:03.004"},
                                           TimeCase{3600000, "1:00:00.000"},
                                           TimeCase{3599999, "59:59.999"}, TimeCase{0, "00:00.000"},
                                           TimeCase{1000.5, "00:01.001"},
                                           TimeCase{59999.7, "01:00.000"},  // rounds up a second
                                           TimeCase{-1, ""}));

TEST(WaveformGeometry, MarkerOfAFrameSitsAtTheRightEdgeOfItsSpan) {
  // 1000 frames over 100 pixels: frame 0 spans x 0..0.1, its marker rounds to 0.
  EXPECT_EQ(0, geometry::FrameToX(0, 1000, 100));
  EXPECT_EQ(1, geometry::FrameToX(9, 1000, 100));
  EXPECT_EQ(100, geometry::FrameToX(1000, 1000, 100));  // limited to the width
  EXPECT_EQ(-1, geometry::FrameToX(-1, 1000, 100));
  EXPECT_EQ(-1, geometry::FrameToX(5, 0, 100));
  // A clip shorter than the width: frame 0 already lies one column in.
  EXPECT_EQ(20, geometry::FrameToX(0, 5, 100));
}

TEST(WaveformGeometry, PixelToFrameRoundsAndRefusesOutsideTheWindow) {
  EXPECT_EQ(500, geometry::XToFrame(50, 1000, 100));
  EXPECT_EQ(0, geometry::XToFrame(0, 1000, 100));
  EXPECT_EQ(1000, geometry::XToFrame(100, 1000, 100));
  EXPECT_EQ(-1, geometry::XToFrame(101, 1000, 100));
  EXPECT_EQ(-1, geometry::XToFrame(-1, 1000, 100));
}

TEST(WaveformGeometry, ColumnsMapProportionallyOntoOlderPeakLists) {
  EXPECT_EQ(50, geometry::ColumnToPeak(100, 100, 200));
  EXPECT_EQ(199, geometry::ColumnToPeak(199, 200, 200));
  EXPECT_EQ(0, geometry::ColumnToPeak(-5, 200, 200));
  EXPECT_EQ(-1, geometry::ColumnToPeak(3, 200, 0));
}

struct HitCase {
  int x;
  int start_x;
  int end_x;
  bool start;
  bool end;
};

void PrintTo(const HitCase& c, std::ostream* os) {
  *os << "x" << c.x << "_start" << c.start_x << "_end" << c.end_x;
}

class HitMarkersTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(HitMarkersTest, NearerMarkerWinsAndATieGoesToTheStart) {
  const HitCase c = GetParam();
  const geometry::MarkerHit hit = geometry::HitMarkers(c.x, c.start_x, c.end_x, true);
  EXPECT_EQ(c.start, hit.start);
  EXPECT_EQ(c.end, hit.end);
}

INSTANTIATE_TEST_SUITE_P(Cases, HitMarkersTest,
                         ::testing::Values(HitCase{10, 10, 50, true, false},
                                           HitCase{12, 10, 50, true, false},
                                           HitCase{13, 10, 50, false, false},
                                           HitCase{48, 10, 50, false, true},
                                           HitCase{11, 10, 12, true, false},    // tie
                                           HitCase{12, 10, 13, false, true},    // end nearer
                                           HitCase{10, 10, 10, true, false}));  // same column

TEST(WaveformGeometry, NoSelectionHitsNoMarker) {
  const geometry::MarkerHit hit = geometry::HitMarkers(10, 10, 50, false);
  EXPECT_FALSE(hit.start || hit.end);
}

TEST(WaveformGeometry, ViewOf600PixelsGivesA584PixelWaveformOfOddHeight) {
  const geometry::ViewLayout layout = geometry::LayOutView(wxSize(600, 300), wxSize(400, 100));
  EXPECT_EQ(584, layout.waveform.width);
  EXPECT_EQ(8, layout.waveform.x);
  EXPECT_EQ(1, layout.waveform.y);
  // The panel sits bottom-centred: y = 300 - 1 - 100 = 199, x = (598 - 400) / 2.
  EXPECT_EQ(wxPoint(99, 199), layout.panel);
  // 199 - 9 - 1 = 189 is odd and stays; the bar sits right under the waveform.
  EXPECT_EQ(189, layout.waveform.height);
  EXPECT_EQ(1 + 189, layout.selection_bar.y);
  EXPECT_EQ(598, layout.selection_bar.width);
  const geometry::ViewLayout even = geometry::LayOutView(wxSize(600, 301), wxSize(400, 100));
  EXPECT_EQ(189, even.waveform.height);  // 190 is even and loses a pixel
}

TEST(WaveformGeometry, CursorStaysInsideTheWindow) {
  EXPECT_EQ(99, geometry::CursorX(1.0, 100));
  EXPECT_EQ(50, geometry::CursorX(0.5, 100));
  EXPECT_EQ(0, geometry::CursorX(0.0, 100));
}

TEST(WaveformGeometry, SelectionBarMarksAreInsetLikeTheWaveform) {
  EXPECT_EQ(7, geometry::MarkX(-1, 600));
  EXPECT_EQ(7, geometry::MarkX(0, 600));
  EXPECT_EQ(593, geometry::MarkX(586, 600));
  EXPECT_EQ(593, geometry::MarkX(587, 600));
}

}  // namespace
}  // namespace voxtrelle
