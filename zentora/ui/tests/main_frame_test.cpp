// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on a virtual display with a real player whose sound goes to a fake sink.
#include "zentora/ui/main_frame.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/uri.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "zentora/core/commands.h"
#include "zentora/core/settings.h"
#include "zentora/core/tests/loopback_http_server.h"
#include "zentora/core/text_table.h"
#include "zentora/ui/command_ids.h"
#include "zentora/ui/main_panel.h"
#include "zentora/ui/position_bar.h"
#include "zentora/ui/tests/frame_fixture.h"
#include "zentora/ui/tests/mp3_maker.h"
#include "zentora/ui/tests/wx_pump.h"
#include "zentora/ui/time_panel.h"
#include "zentora/ui/zentora_app.h"

namespace zentora {
namespace {
using test::MainFrameTest;
using test::Text;
namespace fs = std::filesystem;

TEST_F(MainFrameTest, MissingToolShowsText113SavesTheSettingsAndEnds) {
  const std::string path = getenv("PATH");
  const fs::path empty = dir_ / "empty";
  fs::create_directories(empty);
  setenv("PATH", empty.c_str(), 1);
  MainFrame* frame = StartUp(hooks_, test::DeadServerBase());
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(frame, nullptr);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], Text(kTextFilesMissing));
  EXPECT_TRUE(fs::exists(dir_ / "Zentora" / "options.ini"));
  test::Pump(50);
  EXPECT_TRUE(wxTopLevelWindows.empty()) << "the window is destroyed without a message loop";
}

TEST_F(MainFrameTest, StartsFixedSizeWithNothingLoaded) {
  Start();
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(frame_->GetTitle(), Text(kTextCaption));
  EXPECT_EQ(frame_->GetSize(), wxSize(720, 420));
  EXPECT_FALSE(frame_->HasFlag(wxRESIZE_BORDER));
  EXPECT_FALSE(frame_->HasFlag(wxMAXIMIZE_BOX));
  EXPECT_EQ(Status(0), Text(kTextNotLoaded));
  EXPECT_EQ(Status(1), Text(kTextNewBrand));
  EXPECT_EQ(Strip(), 143);
  EXPECT_TRUE(ToolEnabled(kCmdOpen));
  for (int id : {kCmdPlayPause, kCmdJumpForward, kCmdABKey, kCmdCut, kCmdAPlus, kCmdBMinus})
    EXPECT_FALSE(ToolEnabled(id)) << id;
  EXPECT_TRUE(HasFocusInFrame(frame_->Panel()->Time()));
  EXPECT_EQ(MainFrame::CentredPosition(wxSize(720, 420), wxSize(1280, 800)), wxPoint(280, 190));
  EXPECT_EQ(MainFrame::CentredPosition(wxSize(720, 420), wxSize(640, 400)), wxPoint(0, 0));
}

TEST_F(MainFrameTest, OpenPlaysAndUpUpSetsAAndBOnTheStateAndThePanels) {
  Start();
  const std::string path = MakeFile("tone one.mp3", 3.0);
  frame_->OpenPath(wxString::FromUTF8(path));
  ASSERT_TRUE(messages_.empty()) << messages_[0];
  EXPECT_EQ(frame_->App().playState(), PlayState::Playing);
  EXPECT_EQ(frame_->GetTitle(), "tone one - " + Text(kTextCaption));
  EXPECT_EQ(Status(0), Text(kTextPlaying));
  EXPECT_EQ(Status(2), wxString::FromUTF8(path));
  EXPECT_EQ(Strip(), 140);
  for (int id : {kCmdOpen, kCmdPlayPause, kCmdJumpForward, kCmdJumpBack, kCmdABKey})
    EXPECT_TRUE(ToolEnabled(id)) << id;
  EXPECT_FALSE(ToolEnabled(kCmdCut));
  EXPECT_FALSE(ToolEnabled(kCmdAPlus));
  EXPECT_EQ(frame_->Panel()->Toolbar()->GetToolShortHelp(WxId(kCmdPlayPause)), Text(kTipPause));

  ASSERT_TRUE(test::PumpUntil([&] { return frame_->App().currentMs() >= 300; }, 3000));
  Key(WXK_UP);
  const int32_t a = frame_->App().pointA();
  EXPECT_GE(a, 300);
  EXPECT_EQ(Strip(), 141);
  EXPECT_TRUE(ToolEnabled(kCmdAPlus));
  EXPECT_FALSE(ToolEnabled(kCmdCut));
  ASSERT_TRUE(test::PumpUntil([&] { return frame_->App().currentMs() >= a + 400; }, 3000));
  Key(WXK_UP);
  const int32_t b = frame_->App().pointB();
  EXPECT_GE(b, a + 400);
  EXPECT_EQ(Strip(), 139);
  EXPECT_TRUE(ToolEnabled(kCmdCut));
  EXPECT_TRUE(ToolEnabled(kCmdBMinus));

  TimePanel* time = frame_->Panel()->Time();
  time->Render();
  const auto& texts = time->DrawnTexts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[1], "00:00:03") << "the duration in the short format";
  EXPECT_TRUE(texts[2].StartsWith("a: 00:00:0")) << texts[2];
  EXPECT_EQ(texts[2].length(), wxString("a: 00:00:00.000").length());
  EXPECT_TRUE(texts[3].StartsWith("b: 00:00:0")) << texts[3];

  // The repeat keeps playback inside A..B.
  test::Pump(1200);
  EXPECT_GE(frame_->App().currentMs(), a - 50);
  EXPECT_LE(frame_->App().currentMs(), b + 100);

  Key(WXK_DOWN);  // pause
  EXPECT_EQ(frame_->App().playState(), PlayState::Paused);
  EXPECT_EQ(Status(0), Text(kTextPaused));
  EXPECT_EQ(Strip(), 145);
  Key(WXK_F4);  // stop clears both points
  EXPECT_EQ(frame_->App().pointA(), -1);
  EXPECT_EQ(Status(0), Text(kTextStopped));
  EXPECT_EQ(Strip(), 143);
  EXPECT_FALSE(ToolEnabled(kCmdCut));
}

TEST_F(MainFrameTest, OperationMenuTextsFollowTheState) {
  Start();
  wxMenu* menu = frame_->OperationMenu();
  auto label = [&](int id) { return menu->FindItem(WxId(id))->GetItemLabel(); };
  auto Text = [](int id) { return MenuLabel(LoadText(id)); };
  frame_->UpdateOperationMenu();
  EXPECT_EQ(label(kCmdPlayPause), Text(kTextMenuPlay));
  EXPECT_FALSE(menu->IsEnabled(WxId(kCmdPlayPause)));
  EXPECT_FALSE(menu->IsEnabled(WxId(kCmdABKey)));
  EXPECT_EQ(label(kCmdOnTop), Text(kTextMenuOnTop));

  frame_->OpenPath(wxString::FromUTF8(MakeFile("menu.mp3", 2.0)));
  ASSERT_TRUE(messages_.empty());
  frame_->UpdateOperationMenu();
  EXPECT_EQ(label(kCmdPlayPause), Text(kTextMenuPause));
  EXPECT_EQ(label(kCmdABKey), Text(kTextMenuSetA));
  EXPECT_TRUE(menu->IsEnabled(WxId(kCmdStop)));
  EXPECT_FALSE(menu->IsEnabled(WxId(kCmdCut)));
  EXPECT_FALSE(menu->IsEnabled(WxId(kCmdAPlus)));

  frame_->RunCommand(kCmdABKey);
  frame_->UpdateOperationMenu();
  EXPECT_EQ(label(kCmdABKey), Text(kTextMenuSetB));
  EXPECT_TRUE(menu->IsEnabled(WxId(kCmdAMinus)));
  EXPECT_FALSE(menu->IsEnabled(WxId(kCmdBPlus)));
  test::Pump(300);
  frame_->RunCommand(kCmdABKey);
  frame_->RunCommand(kCmdPlayPause);
  frame_->UpdateOperationMenu();
  EXPECT_EQ(label(kCmdABKey), Text(kTextMenuClearAB));
  EXPECT_EQ(label(kCmdPlayPause), Text(kTextMenuPlay));
  EXPECT_TRUE(menu->IsEnabled(WxId(kCmdCut)));
  EXPECT_TRUE(menu->IsEnabled(WxId(kCmdBPlus)));

  wxMenuEvent highlight(wxEVT_MENU_HIGHLIGHT, WxId(kCmdStop));
  frame_->GetEventHandler()->ProcessEvent(highlight);
  EXPECT_EQ(frame_->GetStatusBar()->GetStatusText(0), Text(kTextPaused))
      << "menus leave part 0 alone";

  frame_->RunCommand(kCmdOnTop);
  frame_->UpdateOperationMenu();
  EXPECT_EQ(label(kCmdOnTop), Text(kTextMenuOffTop));
  EXPECT_TRUE(frame_->HasFlag(wxSTAY_ON_TOP));
}

TEST_F(MainFrameTest, PositionBarClickSeeksWhilePlaying) {
  Start();
  frame_->OpenPath(wxString::FromUTF8(MakeFile("seek.mp3", 4.0)));
  ASSERT_TRUE(messages_.empty());
  PositionBar* bar = frame_->Panel()->Bar();
  const int length = bar->GetClientSize().x - 85;
  auto click = [&](int x) {
    for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
      wxMouseEvent event(type);
      event.m_x = x;
      event.m_y = 16;
      event.m_leftDown = type == wxEVT_LEFT_DOWN;
      event.SetEventObject(bar);
      bar->GetEventHandler()->ProcessEvent(event);
    }
  };
  click(15 + length / 2);
  const int32_t duration = frame_->App().durationMs();
  EXPECT_NEAR(frame_->App().currentMs(), duration / 2, 150);
  click(12);
  EXPECT_LT(frame_->App().currentMs(), 100);
}

TEST_F(MainFrameTest, UnplayableFileIsRepairedOnceThenReportedWithText111) {
  Start();
  const fs::path bad = dir_ / "not audio.mp3";
  std::ofstream(bad) << std::string(4096, 'z');
  frame_->OpenPath(wxString::FromUTF8(bad.string()));  // the repair dialog closes by itself
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].StartsWith(Text(kTextLoadFailed).BeforeFirst('%'))) << messages_[0];
  EXPECT_FALSE(frame_->App().loaded());
  EXPECT_EQ(Status(0), Text(kTextNotLoaded));
  EXPECT_EQ(frame_->GetTitle(), Text(kTextCaption));
}

TEST_F(MainFrameTest, DroppedFilesOpenOnlyAnMp3InAnyCase) {
  Start();
  const std::string upper = MakeFile("LOUD.MP3", 1.0);
  const fs::path wav = dir_ / "noise.wav";
  std::ofstream(wav) << "RIFF";
  wxArrayString files;
  files.Add(wav.string());
  files.Add(wxString::FromUTF8(upper));
  frame_->OnFilesDropped(files);
  test::Pump(100);
  EXPECT_FALSE(frame_->App().loaded()) << "only the first dropped file counts";
  wxArrayString mp3;
  mp3.Add(wxString::FromUTF8(upper));
  frame_->OnFilesDropped(mp3);
  ASSERT_TRUE(test::PumpUntil([&] { return frame_->App().loaded(); }, 2000));
  EXPECT_EQ(frame_->GetTitle(), "LOUD - " + Text(kTextCaption));
}

TEST_F(MainFrameTest, SampleOpensFromTheProgramFolderAndWebCommandsStayOnReservedHosts) {
  Start();
  frame_->RunCommand(kCmdSample);
  ASSERT_TRUE(messages_.empty()) << messages_[0];
  EXPECT_TRUE(frame_->App().loaded());
  EXPECT_EQ(frame_->GetTitle(), "eg - " + Text(kTextCaption));
  for (int id : {kCmdProductSite, kCmdBlog, kCmdTools, kCmdNewBrand}) frame_->RunCommand(id);
  ASSERT_EQ(urls_.size(), 4u);
  for (const wxString& url : urls_) EXPECT_TRUE(wxURI(url).GetServer().EndsWith(".example")) << url;
}

TEST_F(MainFrameTest, ExitSavesTheSettings) {
  Start();
  frame_->App().settings().jumpSeconds = 7;
  frame_->App().settings().fineTuneMs = 450;
  frame_->App().onVolumeSlider(50);
  frame_->App().setMute(true);
  frame_->RunCommand(kCmdExit);
  test::Pump(50);
  EXPECT_EQ(frame_, nullptr);
  std::string error;
  const Settings saved = LoadSettings((dir_ / "Zentora" / "options.ini").string(), &error);
  EXPECT_TRUE(error.empty());
  EXPECT_EQ(saved.jumpSeconds, 7);
  EXPECT_EQ(saved.fineTuneMs, 450);
  EXPECT_EQ(saved.volume, SliderPositionToVolume(50));
  EXPECT_NE(saved.mute, 0);
  const std::string text = SettingsText();
  EXPECT_LT(text.find("bMute"), text.find("volume"));
  EXPECT_LT(text.find("eachJump"), text.find("fineTuning"));
}

TEST_F(MainFrameTest, UpdateNoticeKeepsTheProgramRunning) {
  test::LoopbackHttpServer server("_tell");
  Start(server.Base());
  ASSERT_TRUE(test::PumpUntil([&] { return !notices_.empty(); }, 5000));
  EXPECT_EQ(notices_, std::vector<int>{kTextNewVersion});
  test::Pump(50);
  EXPECT_NE(frame_, nullptr);
  bool reported = false;
  for (const std::string& request : server.Requests())
    reported |= request.starts_with("GET /zentora/usageLog.php?ver=2.2.2&os=");
  EXPECT_TRUE(reported) << "the usage report went out too";
}

TEST_F(MainFrameTest, WithdrawnVersionShowsTheNoticeThenEnds) {
  test::LoopbackHttpServer server("_must");
  ASSERT_FALSE(fs::exists(dir_ / "Zentora" / "options.ini"));
  frame_ = StartUp(hooks_, server.Base());
  ASSERT_NE(frame_, nullptr);
  frame_->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& e) {
    if (e.GetEventObject() == frame_) frame_ = nullptr;
    e.Skip();
  });
  ASSERT_TRUE(test::PumpUntil([&] { return frame_ == nullptr; }, 5000));
  EXPECT_EQ(notices_, std::vector<int>{kTextVersionObsolete});
  EXPECT_NE(SettingsText().find("eachJump=3"), std::string::npos) << "the settings were saved";
}

TEST_F(MainFrameTest, NoServerMeansNoNoticeAndNoDelay) {
  const wxLongLong started = wxGetLocalTimeMillis();
  Start(test::DeadServerBase());
  EXPECT_LT(wxGetLocalTimeMillis() - started, 3000);
  test::Pump(300);
  EXPECT_TRUE(notices_.empty());
  EXPECT_NE(frame_, nullptr);
}

}  // namespace
}  // namespace zentora
