// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <wx/settings.h>

#include "voxtrelle/ui/value_changed_event.h"
#include "voxtrelle/ui/volume_dialog.h"
#include "wx_test_environment.h"

namespace voxtrelle {
namespace {

struct Mapping {
  int typed;     // percentage entered
  int position;  // slider position it gives
  int result;    // percentage OK returns
};

// Each window test runs in a process of its own; a table keeps related cases in one.
const Mapping kMappings[] = {{85, -15, 85},   {125, 6, 124}, {150, 13, 152}, {500, 100, 500},
                             {0, -100, 0},    {100, 0, 100}, {101, 0, 100},  {103, 1, 104},
                             {999, 100, 500}, {-7, -100, 0}};

TEST(VolumeMapping, TypedPercentMovesTheSliderAndOkReadsItBack) {
  for (const Mapping& m : kMappings) {
    SCOPED_TRACE(m.typed);
    EXPECT_EQ(VolumeSliderFromPercent(m.typed), m.position);
    EXPECT_EQ(VolumePercentFromSlider(m.position), m.result);
  }
}

TEST(VolumeMappingLimits, PositionsOutsideTheRangeAreLimited) {
  EXPECT_EQ(VolumePercentFromSlider(-101), 0);
  EXPECT_EQ(VolumePercentFromSlider(101), 500);
  EXPECT_EQ(VolumePercentFromSlider(1), 104);
}

// Enters text in the field the way typing does: through the field's text-change path.
void Type(VolumeDialog& dialog, const char* text) {
  dialog.Field()->SetValue(text);
  test::Pump();
}

TEST(VolumeDialog, TypingThenOk) {
  for (const Mapping& m :
       {Mapping{85, -15, 85}, Mapping{125, 6, 124}, Mapping{500, 100, 500}, Mapping{0, -100, 0}}) {
    SCOPED_TRACE(m.typed);
    VolumeDialog dialog(nullptr);
    const int result = test::RunModal(dialog, [&] {
      Type(dialog, wxString::Format("%d", m.typed).utf8_str());
      EXPECT_EQ(dialog.Slider()->GetValue(), m.position);
      EXPECT_TRUE(dialog.OkButton()->IsEnabled());
      wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
      dialog.OkButton()->GetEventHandler()->ProcessEvent(ok);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialog.Percentage(), m.result);
  }
}

// The slider follows the field through a queued event. When the last digit and Enter arrive
// together, OK comes before the slider has followed; it still applies the field's number (at
// the slider's resolution, as when the slider had followed).
TEST(VolumeDialog, OkRightAfterTheLastDigitAppliesTheNumberShown) {
  for (const Mapping& m : {Mapping{85, -15, 85}, Mapping{125, 6, 124}, Mapping{20, -80, 20}}) {
    SCOPED_TRACE(m.typed);
    VolumeDialog dialog(nullptr);
    const wxString typed = wxString::Format("%d", m.typed);
    const int result = test::RunModal(dialog, [&] {
      Type(dialog, typed.Left(1).utf8_str());  // the first digit, and time for the slider
      dialog.Field()->AppendText(typed.Mid(1));
      // Enter reaches the default button, OK, before the queued event has run.
      wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
      dialog.OkButton()->GetEventHandler()->ProcessEvent(ok);
      EXPECT_FALSE(dialog.IsModal());
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialog.Percentage(), m.result);
  }
}

TEST(VolumeDialog, OkWithTheFieldJustClearedDoesNothing) {
  VolumeDialog dialog(nullptr);
  const int result = test::RunModal(dialog, [&] {
    dialog.Field()->SetValue("");
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    dialog.OkButton()->GetEventHandler()->ProcessEvent(ok);
    EXPECT_TRUE(dialog.IsModal());
    dialog.EndModal(wxID_CANCEL);
  });
  EXPECT_EQ(result, wxID_CANCEL);
  EXPECT_EQ(dialog.Percentage(), 100);
}

TEST(VolumeDialog, StartsAtHundredWithTheSliderInTheMiddle) {
  VolumeDialog dialog(nullptr);
  test::Pump();
  EXPECT_EQ(dialog.Field()->GetValue(), "100");
  EXPECT_EQ(dialog.Slider()->GetValue(), 0);
  EXPECT_EQ(dialog.Percentage(), 100);
  ASSERT_EQ(dialog.Field()->GetCount(), 13u);
  EXPECT_EQ(dialog.Field()->GetString(0), "10");
  EXPECT_EQ(dialog.Field()->GetString(12), "500");
  EXPECT_EQ(dialog.GetTitle(), "Change Volume");
}

TEST(VolumeDialog, ChoosingTheLastPresetMovesTheSliderToTheRightEnd) {
  VolumeDialog dialog(nullptr);
  test::Pump();
  // A choice from the list: the field shows it and reports the selection.
  dialog.Field()->SetSelection(12);
  wxCommandEvent chosen(wxEVT_COMBOBOX, dialog.Field()->GetId());
  chosen.SetEventObject(dialog.Field());
  chosen.SetInt(12);
  dialog.Field()->GetEventHandler()->ProcessEvent(chosen);
  test::Pump();
  EXPECT_EQ(dialog.Field()->GetValue(), "500");
  EXPECT_EQ(dialog.Slider()->GetValue(), 100);
  EXPECT_EQ(dialog.Slider()->ThumbRect().GetRight(), 205);
}

TEST(VolumeDialog, EmptyFieldDisablesOkAndLeavingItPutsHundredBack) {
  VolumeDialog dialog(nullptr);
  test::Pump();
  Type(dialog, "42");
  Type(dialog, "");
  EXPECT_FALSE(dialog.OkButton()->IsEnabled());
  wxFocusEvent leave(wxEVT_KILL_FOCUS, dialog.Field()->GetId());
  leave.SetEventObject(dialog.Field());
  dialog.Field()->GetEventHandler()->ProcessEvent(leave);
  test::Pump();
  EXPECT_EQ(dialog.Field()->GetValue(), "100");
  EXPECT_EQ(dialog.Slider()->GetValue(), 0);
  EXPECT_TRUE(dialog.OkButton()->IsEnabled());
}

TEST(VolumeDialog, FieldRefusesTextThatIsNotANumber) {
  VolumeDialog dialog(nullptr);
  test::Pump();
  Type(dialog, "12");
  Type(dialog, "12a");
  EXPECT_EQ(dialog.Field()->GetValue(), "12");
  Type(dialog, "-5");
  EXPECT_EQ(dialog.Field()->GetValue(), "12");
  EXPECT_EQ(dialog.Slider()->GetValue(), -88);
  Type(dialog, "123");
  dialog.Field()->SetInsertionPointEnd();
  dialog.Field()->WriteText("4");  // three characters at most
  test::Pump();
  EXPECT_EQ(dialog.Field()->GetValue(), "123");
  dialog.Field()->SetInsertionPoint(1);
  dialog.Field()->Remove(1, 2);
  dialog.Field()->WriteText("x");
  test::Pump();
  EXPECT_EQ(dialog.Field()->GetValue(), "13");
  EXPECT_EQ(dialog.Slider()->GetValue(), -87);
}

TEST(VolumeDialog, ArrowKeysInTheFieldStepWithinLimits) {
  VolumeDialog dialog(nullptr);
  test::Pump();
  Type(dialog, "499");
  test::SendKeyDown(dialog.Field(), WXK_UP);
  test::SendKeyDown(dialog.Field(), WXK_UP);
  test::Pump();
  EXPECT_EQ(dialog.Field()->GetValue(), "500");
  Type(dialog, "1");
  test::SendKeyDown(dialog.Field(), WXK_DOWN);
  test::SendKeyDown(dialog.Field(), WXK_DOWN);
  test::Pump();
  EXPECT_EQ(dialog.Field()->GetValue(), "0");
  EXPECT_EQ(dialog.Slider()->GetValue(), -100);
}

void Click(VolumeSlider* slider, int x) {
  wxMouseEvent down(wxEVT_LEFT_DOWN);
  down.m_x = x;
  down.m_y = slider->GetClientSize().y / 2;
  down.m_leftDown = true;
  down.SetEventObject(slider);
  slider->GetEventHandler()->ProcessEvent(down);
  wxMouseEvent up(wxEVT_LEFT_UP);
  up.m_x = x;
  up.m_y = down.m_y;
  up.SetEventObject(slider);
  slider->GetEventHandler()->ProcessEvent(up);
  test::Pump();
}

TEST(VolumeDialog, SliderEndsAndCentreMarkGiveZeroAndHundredPercent) {
  VolumeDialog dialog(nullptr);
  dialog.Show();
  test::Pump();
  VolumeSlider* slider = dialog.Slider();
  Click(slider, 0);
  EXPECT_EQ(slider->GetValue(), -100);
  EXPECT_EQ(dialog.Field()->GetValue(), "0");
  Click(slider, 200 / 2 + 3);  // the centre mark
  EXPECT_EQ(slider->GetValue(), 0);
  EXPECT_EQ(dialog.Field()->GetValue(), "100");
  Click(slider, 300);
  EXPECT_EQ(dialog.Field()->GetValue(), "500");
  Click(slider, 153);  // half way to the right end: position 50
  EXPECT_EQ(slider->GetValue(), 50);
  EXPECT_EQ(dialog.Field()->GetValue(), "300");
  test::SendKeyDown(slider, WXK_RIGHT);
  test::Pump();
  EXPECT_EQ(dialog.Field()->GetValue(), "304");
  dialog.Hide();
}

class SliderKeys : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(SliderKeys, EnterAndEscapeOnTheSliderEndTheDialog) {
  const auto [key, expected] = GetParam();
  VolumeDialog dialog(nullptr);
  const int result = test::RunModal(dialog, [&] {
    test::SendKeyDown(dialog.Slider(), WXK_LEFT);
    test::SendKeyDown(dialog.Slider(), key);
  });
  EXPECT_EQ(result, expected);
  EXPECT_EQ(dialog.Percentage(), expected == wxID_OK ? 99 : 100);
}

INSTANTIATE_TEST_SUITE_P(Keys, SliderKeys,
                         testing::Values(std::pair{int(WXK_RETURN), int(wxID_OK)},
                                         std::pair{int(WXK_ESCAPE), int(wxID_CANCEL)}));

TEST(VolumeSlider, GeometryAndPainting) {
  VolumeDialog dialog(nullptr);
  test::Pump();
  VolumeSlider* slider = dialog.Slider();
  const wxSize size = slider->GetClientSize();
  EXPECT_EQ(size.x, 206);
  EXPECT_GE(size.y, 13);
  // Thumb left edges: trunc((p + 100) x 200 / 201 + 0.5).
  EXPECT_EQ(slider->ThumbRect().x, 100);
  slider->SetValue(-100);
  EXPECT_EQ(slider->ThumbRect().x, 0);
  slider->SetValue(100);
  EXPECT_EQ(slider->ThumbRect().x, 199);
  EXPECT_EQ(slider->ThumbRect().width, 7);
  EXPECT_EQ(slider->ThumbRect().height, 13);

  slider->SetValue(50);
  const wxImage image = slider->Render();
  const wxColour face = dialog.GetBackgroundColour();
  const int mid = size.y / 2;
  auto at = [&](int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
  };
  EXPECT_EQ(at(0, mid), face);         // outside the channel
  const wxColour mark = at(103, mid);  // centre mark, darker than the face
  EXPECT_LT(mark.Red() + mark.Green() + mark.Blue(), face.Red() + face.Green() + face.Blue() - 60);
  EXPECT_EQ(at(200, mid), face);  // right of the thumb: unfilled channel
  // The gradient brightens towards the thumb.
  EXPECT_LT(at(10, mid).Red(), at(100, mid).Red());
  EXPECT_NE(at(slider->ThumbRect().x + 3, mid), at(slider->ThumbRect().x - 3, mid));
}

}  // namespace
}  // namespace voxtrelle
