// SPDX-License-Identifier: GPL-3.0-or-later
// The cut as the user meets it in the window: Tab, the checks of the chosen name with their
// message boxes, the cut-point method dialog and the cutting dialog.
#include <gtest/gtest.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "zentora/core/text_table.h"
#include "zentora/ui/tests/dialog_script.h"
#include "zentora/ui/tests/frame_fixture.h"

namespace zentora {
namespace {
namespace fs = std::filesystem;
using test::Click;
using test::DialogScript;
using test::Pump;
using test::PumpUntil;
using test::Text;

constexpr int kStatusId = 1023;  // the cutting dialog's text
wxString StatusText(wxDialog& dialog) {
  auto* status = dynamic_cast<wxStaticText*>(dialog.FindWindow(kStatusId));
  return status ? status->GetLabel() : wxString("(no static 1023)");
}

class CutFlowTest : public test::MainFrameTest {
 protected:
  // Opens a file and sets A and B about 500 ms apart while it plays.
  void OpenWithAB(const std::string& name = "song.mp3") {
    input_ = MakeFile(name, 3.0);
    frame_->OpenPath(wxString::FromUTF8(input_));
    ASSERT_TRUE(messages_.empty()) << messages_[0];
    ASSERT_TRUE(PumpUntil([&] { return frame_->App().currentMs() >= 200; }, 3000));
    Key(WXK_UP);
    const int32_t a = frame_->App().pointA();
    ASSERT_TRUE(PumpUntil([&] { return frame_->App().currentMs() >= a + 500; }, 3000));
    Key(WXK_UP);
    ASSERT_GE(frame_->App().pointB(), frame_->App().pointA() + 200);
  }
  std::string input_;
};

TEST_F(CutFlowTest, OutputEqualToTheOpenFileInAnotherCaseIsRefusedWithText150) {
  DialogScript script({});
  Start();
  OpenWithAB("Song.mp3");
  cutOutput_ = wxString::FromUTF8((dir_ / "SONG.MP3").string());
  Key(WXK_TAB);
  EXPECT_EQ(saveDialogs_, 1);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], Text(kTextSelfOverwrite));
  EXPECT_TRUE(script.Shown().empty()) << "nothing after the refusal";
  EXPECT_EQ(frame_->App().playState(), PlayState::Paused);
}

TEST_F(CutFlowTest, AnOutputThatCannotBeCreatedShowsText151WithTheSystemsReason) {
  DialogScript script({});
  Start();
  OpenWithAB();
  cutOutput_ = wxString::FromUTF8((dir_ / "no such folder" / "part.mp3").string());
  Key(WXK_TAB);
  ASSERT_EQ(messages_.size(), 1u);
  const wxString expected =
      wxString::FromUTF8(FormatText(kTextCreateFailed, {std::strerror(ENOENT)}));
  EXPECT_EQ(messages_[0], expected);
  EXPECT_TRUE(script.Shown().empty());
}

TEST_F(CutFlowTest, AnExistingOutputIsKeptWhenTheUserAnswersNoToText152) {
  DialogScript script({});
  Start();
  OpenWithAB();
  const fs::path taken = dir_ / "taken.mp3";
  std::ofstream(taken) << "keep me";
  cutOutput_ = wxString::FromUTF8((dir_ / "taken").string());  // ".mp3" is added
  answer_ = wxNO;
  Key(WXK_TAB);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], wxString::FromUTF8(FormatText(kTextReplace, {"taken.mp3"})));
  std::ifstream in(taken);
  std::string kept;
  std::getline(in, kept);
  EXPECT_EQ(kept, "keep me");
  EXPECT_TRUE(script.Shown().empty());
}

TEST_F(CutFlowTest, ReplacingCutsWithTheDefaultMethodAndOnlyOkClosesDialog153) {
  bool escapeIgnored = false, closeIgnored = false, framesByDefault = false;
  wxString runningText, doneText;
  DialogScript script({
      [&](wxDialog& method) {
        auto* frames = dynamic_cast<wxRadioButton*>(method.FindWindow(1034));
        auto* bitrate = dynamic_cast<wxRadioButton*>(method.FindWindow(1033));
        framesByDefault = frames && bitrate && frames->GetValue() && !bitrate->GetValue();
        wxKeyEvent escape(wxEVT_CHAR_HOOK);
        escape.m_keyCode = WXK_ESCAPE;
        escape.SetEventObject(&method);
        method.GetEventHandler()->ProcessEvent(escape);
        Pump(50);
        escapeIgnored = method.IsModal();
        method.Close();
        Pump(50);
        closeIgnored = method.IsModal();
        Click(method, wxID_OK);
      },
      [&](wxDialog& cutting) {
        runningText = StatusText(cutting);
        PumpUntil([&] { return StatusText(cutting) != runningText; }, 10000);
        doneText = StatusText(cutting);
        Click(cutting, wxID_CANCEL);
      },
  });
  Start();
  OpenWithAB();
  const fs::path output = dir_ / "part.mp3";
  std::ofstream(output) << "old";
  cutOutput_ = wxString::FromUTF8(output.string());
  Key(WXK_TAB);
  ASSERT_EQ(messages_.size(), 1u) << "only the question of text 152";
  EXPECT_EQ(messages_[0], wxString::FromUTF8(FormatText(kTextReplace, {"part.mp3"})));
  EXPECT_TRUE(framesByDefault) << "\"逐帧计算\" is checked when the dialog opens";
  EXPECT_TRUE(escapeIgnored);
  EXPECT_TRUE(closeIgnored);
  ASSERT_EQ(script.Shown().size(), 2u);
  EXPECT_EQ(script.Shown()[0], L"剪切点定位方式");
  EXPECT_EQ(script.Shown()[1], L"执行ab剪切");
  EXPECT_EQ(runningText, L"正在剪切中…");
  EXPECT_EQ(doneText, Text(kTextCutDone));
  ASSERT_TRUE(fs::exists(output));
  EXPECT_GT(fs::file_size(output), 1000u) << "the splitter's cut replaced the old file";
}

TEST_F(CutFlowTest, CancelClosesTheCuttingDialogAtOnceWhileTheSplitterRuns) {
  // A splitter that takes its time, found on PATH before the real one.
  const fs::path tools = dir_ / "slow tools";
  fs::create_directories(tools);
  const fs::path slow = tools / "mp3splt";
  std::ofstream(slow) << "#!/bin/sh\nexec sleep 3\n";
  fs::permissions(slow, fs::perms::owner_all);
  const std::string path = std::getenv("PATH");
  setenv("PATH", (tools.string() + ":" + path).c_str(), 1);

  wxString textAtCancel;
  wxLongLong cancelledAt, returnedAt;
  DialogScript script({
      [](wxDialog& method) { Click(method, wxID_OK); },
      [&](wxDialog& cutting) {
        Pump(500);  // two polls of the splitter
        textAtCancel = StatusText(cutting);
        cancelledAt = wxGetLocalTimeMillis();
        Click(cutting, wxID_CANCEL);
      },
  });
  Start();
  OpenWithAB();
  cutOutput_ = wxString::FromUTF8((dir_ / "slow.mp3").string());
  Key(WXK_TAB);
  returnedAt = wxGetLocalTimeMillis();
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(textAtCancel, L"正在剪切中…");
  ASSERT_EQ(script.Shown().size(), 2u);
  EXPECT_LT(returnedAt - cancelledAt, 1000) << "the dialog does not wait for the splitter";
  EXPECT_TRUE(messages_.empty());
}

TEST_F(CutFlowTest, TabWithoutBOrWithPointsTooCloseCutsNothing) {
  DialogScript script({});
  Start();
  input_ = MakeFile("near.mp3", 3.0);
  frame_->OpenPath(wxString::FromUTF8(input_));
  ASSERT_TRUE(messages_.empty());
  Key(WXK_TAB);
  EXPECT_EQ(saveDialogs_, 0) << "no cut without A and B";
  EXPECT_EQ(frame_->App().playState(), PlayState::Playing);

  Key(WXK_UP);
  Key(WXK_UP);  // B within a few milliseconds of A
  ASSERT_LT(frame_->App().pointB() - frame_->App().pointA(), 200);
  Key(WXK_TAB);
  EXPECT_EQ(saveDialogs_, 0);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], wxString::FromUTF8(FormatText(kTextMinGap, {"200"})));
  EXPECT_EQ(frame_->App().playState(), PlayState::Paused) << "the request paused playback";
  EXPECT_TRUE(script.Shown().empty());
}

}  // namespace
}  // namespace zentora
