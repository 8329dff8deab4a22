// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "voxtrelle/ui/about_dialog.h"
#include "voxtrelle/ui/link_label.h"
#include "voxtrelle/ui/stereo_dialog.h"
#include "voxtrelle/ui/web_links.h"
#include "wx_test_environment.h"

namespace voxtrelle {
namespace {

TEST(AboutVersion, FourPartsMakeTheVersionLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"2.6.0.1874", "Version 2.6.0  (Build 1874)"},
      {"2, 6, 0, 1874", "Version 2.6.0  (Build 1874)"},
      {"3.10,2.07", "Version 3.10.2  (Build 7)"},
      {"2.6.0", ""},
      {"1.2.3.4.5", ""},
      {"", ""}};
  for (const auto& [version, text] : cases) EXPECT_EQ(AboutVersionText(version), text) << version;
}

TEST(AboutDialog, ShowsTheVersionLineAndTheMakersLink) {
  AboutDialog about(nullptr, "2.6.0.1874");
  EXPECT_EQ(about.VersionText(), "Version 2.6.0  (Build 1874)");
  EXPECT_EQ(about.GetTitle(), "About Pellumio");
  EXPECT_EQ(about.Link()->GetTarget(), about.Link()->GetLabel());
  AboutDialog threeParts(nullptr, "2.6.0");
  EXPECT_EQ(threeParts.VersionText(), "");
  const int result = test::RunModal(about, [&] {
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    about.GetEventHandler()->ProcessEvent(ok);
  });
  EXPECT_EQ(result, wxID_OK);
}

TEST(LinkLabel, TurnsPurpleOnlyWhenTheBrowserTookTheAddress) {
  wxFrame frame(nullptr, wxID_ANY, "links");
  auto* link = new LinkLabel(&frame, wxID_ANY, "example");
  link->SetTarget("https://voxtrelle.example/?ref=vxtl");
  std::vector<wxString> opened;
  bool accept = false;
  link->SetOpener([&](const wxString& url) {
    opened.push_back(url);
    return accept;
  });
  EXPECT_EQ(link->CurrentColour(), wxColour(0, 0, 255));
  EXPECT_FALSE(link->Open());
  EXPECT_FALSE(link->IsVisited());
  EXPECT_EQ(link->CurrentColour(), wxColour(0, 0, 255));
  accept = true;
  // A click is a release of the left button over the link.
  wxMouseEvent up(wxEVT_LEFT_UP);
  up.m_x = 2;
  up.m_y = 2;
  link->GetEventHandler()->ProcessEvent(up);
  EXPECT_TRUE(link->IsVisited());
  EXPECT_EQ(link->CurrentColour(), wxColour(128, 0, 128));
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[1], "https://voxtrelle.example/?ref=vxtl");
}

TEST(LinkLabel, UnderlineModesAndOwnTextAsTarget) {
  wxFrame frame(nullptr, wxID_ANY, "links");
  auto* link = new LinkLabel(&frame, wxID_ANY, "https://bivandor.example/");
  EXPECT_EQ(link->GetTarget(), "https://bivandor.example/");
  EXPECT_TRUE(link->DrawsUnderline());
  link->SetUnderline(LinkLabel::Underline::kHover);
  EXPECT_FALSE(link->DrawsUnderline());
  wxMouseEvent enter(wxEVT_ENTER_WINDOW);
  link->GetEventHandler()->ProcessEvent(enter);
  EXPECT_TRUE(link->DrawsUnderline());
  wxMouseEvent leave(wxEVT_LEAVE_WINDOW);
  link->GetEventHandler()->ProcessEvent(leave);
  EXPECT_FALSE(link->DrawsUnderline());
  link->SetUnderline(LinkLabel::Underline::kNever);
  link->GetEventHandler()->ProcessEvent(enter);
  EXPECT_FALSE(link->DrawsUnderline());
  link->Disable();
  EXPECT_NE(link->CurrentColour(), wxColour(0, 0, 255));
}

TEST(StereoDialog, ProceedOrCancelAndTheConvertersLink) {
  StereoDialog dialog(nullptr);
  EXPECT_EQ(dialog.GetTitle(), "Convert to Stereo");
  EXPECT_EQ(dialog.Link()->GetTarget(), "https://bivandor.example/?ref=vxtl");
  EXPECT_EQ(dialog.Link()->GetTarget(), wxString(web::ConverterUrl()));
  EXPECT_FALSE(dialog.Link()->DrawsUnderline());
  EXPECT_EQ(test::RunModal(dialog,
                           [&] {
                             wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
                             dialog.GetEventHandler()->ProcessEvent(ok);
                           }),
            wxID_OK);
  EXPECT_EQ(test::RunModal(dialog,
                           [&] {
                             wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
                             dialog.GetEventHandler()->ProcessEvent(cancel);
                           }),
            wxID_CANCEL);
}

}  // namespace
}  // namespace voxtrelle
