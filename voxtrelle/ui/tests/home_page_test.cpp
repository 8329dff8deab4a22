// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <wx/frame.h>

#include <vector>

#include "voxtrelle/imaging/compose.h"
#include "voxtrelle/imaging/picture.h"
#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/edit_panel.h"
#include "voxtrelle/ui/home_panel.h"
#include "voxtrelle/ui/image_button.h"
#include "voxtrelle/ui/link_label.h"
#include "voxtrelle/ui/ui_pictures.h"
#include "voxtrelle/ui/ve_home.h"
#include "voxtrelle/ui/web_links.h"
#include "wx_test_environment.h"

namespace voxtrelle {
namespace {

wxColour At(const wxImage& image, int x, int y) {
  return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// A frame that records the commands its children send it.
struct RecordingFrame {
  wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "test", wxDefaultPosition, wxSize(800, 600));
  std::vector<std::pair<wxEventType, int>> commands;
  RecordingFrame() {
    frame->Bind(wxEVT_MENU,
                [this](wxCommandEvent& e) { commands.emplace_back(wxEVT_MENU, e.GetId()); });
    frame->Bind(wxEVT_BUTTON,
                [this](wxCommandEvent& e) { commands.emplace_back(wxEVT_BUTTON, e.GetId()); });
  }
  ~RecordingFrame() {
    frame->Destroy();
    test::Pump();
  }
};

using Command = std::pair<wxEventType, int>;

void ClickAt(wxWindow* window, int x, int y) {
  for (wxEventType type : {wxEVT_ENTER_WINDOW, wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
    wxMouseEvent event(type);
    event.m_x = x;
    event.m_y = y;
    event.m_leftDown = type == wxEVT_LEFT_DOWN;
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
  }
}

TEST(HomePanel, ButtonsSendOpenAndTheConvertersWebsite) {
  RecordingFrame host;
  auto* home = new VeHome(host.frame);
  host.frame->Show();
  test::Pump();
  HomePanel* panel = home->Panel();
  ASSERT_TRUE(panel->OpenButton()->HasImages());
  EXPECT_EQ(panel->OpenButton()->GetSize(), wxSize(355, 60));
  EXPECT_EQ(panel->StereoButton()->GetSize(), wxSize(355, 60));
  ClickAt(panel->OpenButton(), 100, 30);
  ClickAt(panel->StereoButton(), 100, 30);
  // A press released outside the button is no click.
  wxMouseEvent down(wxEVT_LEFT_DOWN);
  down.m_x = 5;
  down.m_y = 5;
  panel->OpenButton()->GetEventHandler()->ProcessEvent(down);
  wxMouseEvent up(wxEVT_LEFT_UP);
  up.m_x = 500;
  up.m_y = 5;
  panel->OpenButton()->GetEventHandler()->ProcessEvent(up);
  ASSERT_EQ(host.commands.size(), 2u);
  EXPECT_EQ(host.commands[0], Command(wxEVT_MENU, cmd::kOpen));
  EXPECT_EQ(host.commands[1], Command(wxEVT_MENU, cmd::kConverterSite));
  EXPECT_EQ(panel->Link()->GetTarget(), wxString(web::MakerUrl()));
  EXPECT_TRUE(panel->Link()->DrawsUnderline());
  EXPECT_EQ(panel->GetBackgroundColour(), *wxWHITE);
}

TEST(HomePanel, StaysCentredInTheStartPage) {
  RecordingFrame host;
  auto* home = new VeHome(host.frame);
  host.frame->Show();
  for (wxSize size : {wxSize(600, 400), wxSize(900, 700)}) {
    home->SetSize(size);
    test::Pump();
    const wxRect panel = home->Panel()->GetRect();
    const wxSize client = home->GetClientSize();
    EXPECT_EQ(panel.x, (client.x - panel.width) / 2);
    EXPECT_EQ(panel.y, (client.y - panel.height) / 2);
  }
}

TEST(VeHome, FrameCornersAreDrawnUnscaledAtTheFourCorners) {
  RecordingFrame host;
  auto* home = new VeHome(host.frame);
  home->SetSize(500, 300);
  test::Pump();
  const wxImage page = home->Render();
  const wxImage frame = LoadPicture(UiPictures(), picture::kHomeFrame);
  ASSERT_TRUE(frame.IsOk());
  ASSERT_EQ(frame.GetSize(), wxSize(42, 42));
  const wxSize size = home->GetClientSize();
  wxImage flat = SolidImage(42, 42, *wxWHITE);
  DrawOver(flat, 0, 0, frame);  // the frame as it looks over the white page
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(At(page, i, i), At(flat, i, i));
    EXPECT_EQ(At(page, size.x - 1 - i, size.y - 1 - i), At(flat, 41 - i, 41 - i));
    EXPECT_EQ(At(page, size.x - 14 + i, i), At(flat, 28 + i, i));
  }
  EXPECT_EQ(At(page, size.x / 2, size.y / 2), *wxWHITE);
}

TEST(HomeButtonImages, PictureFramesAndHover) {
  const wxImage picture = LoadPicture(UiPictures(), picture::kHomeOpen);
  ASSERT_TRUE(picture.IsOk());
  EXPECT_EQ(picture.GetHeight(), 35);
  auto images = BuildHomeButtonImages(picture, "Open a File for Editing", *wxNORMAL_FONT);
  for (const wxImage& image : images) {
    ASSERT_TRUE(image.IsOk());
    EXPECT_EQ(image.GetSize(), wxSize(355, 60));
  }
  const int d = (60 - 35) / 2;
  // Image 0: white around the picture, the picture at (d, d).
  EXPECT_EQ(At(images[0], 0, 0), *wxWHITE);
  EXPECT_EQ(At(images[0], 354, 59), *wxWHITE);
  wxImage flat = SolidImage(35, 35, *wxWHITE);
  DrawOver(flat, 0, 0, picture);
  EXPECT_EQ(At(images[0], d + 17, d + 17), At(flat, 17, 17));
  // The pressed and hover frames change the border; the hover frame goes over the pressed one.
  EXPECT_NE(At(images[1], 0, 30), At(images[0], 0, 30));
  EXPECT_NE(At(images[1], 354, 30), At(images[0], 354, 30));
  EXPECT_NE(At(images[2], 0, 30), At(images[1], 0, 30));
  EXPECT_EQ(At(images[1], 100, 30), At(images[1], 300, 30));
  // No picture, no images.
  EXPECT_FALSE(BuildHomeButtonImages(wxImage(), "x", *wxNORMAL_FONT)[0].IsOk());
}

TEST(EditPanel, ButtonsSitInTwoRowsAndGoToTheFrame) {
  RecordingFrame host;
  auto* panel = new EditPanel(host.frame);
  host.frame->Show();
  test::Pump();
  const int columns[4][2] = {{cmd::kDeleteSelected, cmd::kDeleteUnselected},
                             {cmd::kChangeVolume, cmd::kMaximizeVolume},
                             {cmd::kFadeIn, cmd::kFadeOut},
                             {cmd::kToStereo, cmd::kToMono}};
  const char* texts[4][2] = {{"Delete Selected", "Delete Unselected"},
                             {"Change Volume...", "Maximize Volume"},
                             {"Fade In", "Fade Out"},
                             {"Convert to Stereo", "Convert to Mono"}};
  for (int c = 0; c < 4; ++c) {
    wxButton* upper = panel->Button(columns[c][0]);
    wxButton* lower = panel->Button(columns[c][1]);
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ(upper->GetLabel(), texts[c][0]);
    EXPECT_EQ(lower->GetLabel(), texts[c][1]);
    EXPECT_EQ(upper->GetPosition().x, lower->GetPosition().x);
    EXPECT_LT(upper->GetRect().GetBottom(), lower->GetPosition().y);
    if (c > 0) {
      EXPECT_GT(upper->GetPosition().x, panel->Button(columns[c - 1][0])->GetRect().GetRight());
    }
    wxCommandEvent click(wxEVT_BUTTON, lower->GetId());
    click.SetEventObject(lower);
    lower->GetEventHandler()->ProcessEvent(click);
  }
  ASSERT_EQ(host.commands.size(), 4u);
  EXPECT_EQ(host.commands[0], Command(wxEVT_BUTTON, cmd::kDeleteUnselected));
  EXPECT_EQ(host.commands[3], Command(wxEVT_BUTTON, cmd::kToMono));
}

}  // namespace
}  // namespace voxtrelle
