// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <wx/dnd.h>
#include <wx/regex.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/playback/wave_out_test.h"
#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/file_dialogs.h"
#include "voxtrelle/ui/file_job_dialog.h"
#include "voxtrelle/ui/load_path.h"
#include "voxtrelle/ui/main_frame.h"
#include "voxtrelle/ui/time_display.h"
#include "voxtrelle/ui/ve_view.h"
#include "wav_fixture.h"
#include "wx_test_environment.h"

namespace voxtrelle {
namespace {

using test::WavFixture;
namespace fs = std::filesystem;

int16_t Tone(int32_t frame, int channel) {
  return static_cast<int16_t>(6000 * std::sin(frame * (0.03 + 0.01 * channel)));
}

struct Message {
  wxString text;
  long style;
};

// A main frame whose dialogs and message boxes answer from the test's script.
class FileFlowTest : public testing::Test {
 protected:
  FileFlowTest() {
    install_media_codec(&codec_);
    auto device = std::make_unique<WaveOutTest>(
        [this](std::function<void()> call) { frame_->CallAfter(std::move(call)); });
    frame_ = new MainFrame(std::move(device));
    FileFlowHooks& hooks = frame_->file_hooks();
    hooks.message = [this](wxWindow* owner, const wxString& text, long style) {
      EXPECT_EQ(owner, frame_);
      messages_.push_back({text, style});
      return answer_;
    };
    hooks.chooseOpen = [this](wxWindow*) {
      ++openDialogs_;
      return openPath_;
    };
    hooks.chooseSave = [this](wxWindow*, const wxString& suggested, int filter) {
      saveSuggested_.push_back({suggested, filter});
      return saveChoice_;
    };
    frame_->Show();
    test::Pump();
  }
  ~FileFlowTest() override {
    frame_->document().reset();
    frame_->Destroy();
    test::Pump();
    install_media_codec(nullptr);
  }

  void Command(int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    frame_->GetEventHandler()->ProcessEvent(event);
    test::Pump();
  }
  bool HomeShown() { return frame_->home_view()->IsShown() && !frame_->edit_view()->IsShown(); }
  // Opens path through File > Open with the dialog answering path.
  void OpenThroughMenu(const std::string& path) {
    openPath_ = wxString::FromUTF8(path);
    Command(cmd::kOpen);
  }
  void Modify() {
    frame_->RunCommand(cmd::kMaximizeVolume);
    ASSERT_EQ(frame_->document().modified(), 1);
  }

  FfmpegMediaCodec codec_;  // WMA decoding and encoding, as the program installs it
  MainFrame* frame_ = nullptr;
  std::vector<Message> messages_;
  int answer_ = wxOK;
  wxString openPath_;
  int openDialogs_ = 0;
  std::optional<SaveAsChoice> saveChoice_;
  std::vector<std::pair<wxString, int>> saveSuggested_;
};

TEST_F(FileFlowTest, OpenEditSaveAsWmaAndReopen) {
  WavFixture wav("song.wav", 2, 44100, 44100, Tone);
  OpenThroughMenu(wav.path());
  ASSERT_FALSE(frame_->document().is_empty());
  EXPECT_FALSE(HomeShown());
  EXPECT_TRUE(messages_.empty());
  Modify();

  const std::string folder = fs::path(wav.path()).parent_path().string();
  saveChoice_ = SaveAsChoice{wxString::FromUTF8(folder + "/take"), kSaveFilterWma};
  Command(cmd::kSave);  // never saved: Save goes on to Save As
  ASSERT_EQ(saveSuggested_.size(), 1u);
  EXPECT_EQ(saveSuggested_[0].first, wxString::FromUTF8(folder + "/song (1).wav"));
  EXPECT_EQ(saveSuggested_[0].second, kSaveFilterWav);  // a WAV document proposes WAV
  ASSERT_TRUE(fs::exists(folder + "/take.wma"));
  EXPECT_EQ(frame_->document().kind(), FileKind::kWma);
  EXPECT_EQ(frame_->document().modified(), 0);
  EXPECT_TRUE(messages_.empty());

  OpenThroughMenu(folder + "/take.wma");  // unmodified: no question
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(frame_->document().kind(), FileKind::kWma);
  EXPECT_TRUE(frame_->document().is_stereo());
  EXPECT_NEAR(frame_->document().current_clip().frames(), 44100, 4096);
  EXPECT_EQ(frame_->document().loaded_path(), folder + "/take.wma");

  // Save As of a WMA document proposes WMA and the next free name.
  saveChoice_.reset();
  Command(cmd::kSaveAs);
  ASSERT_EQ(saveSuggested_.size(), 2u);
  EXPECT_EQ(saveSuggested_[1].first, wxString::FromUTF8(folder + "/take (1).wma"));
  EXPECT_EQ(saveSuggested_[1].second, kSaveFilterWma);
}

enum class Answer { kYes, kNo, kCancel };

class SavePromptTest : public FileFlowTest, public testing::WithParamInterface<Answer> {};

TEST_P(SavePromptTest, OpeningOverAModifiedDocumentAsks) {
  WavFixture wav("song.wav", 1, 22050, 22050, Tone);
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(wav.path())));
  Modify();
  const std::string copy = wav.path() + ".saved.wav";
  answer_ = GetParam() == Answer::kYes ? wxYES : GetParam() == Answer::kNo ? wxNO : wxCANCEL;
  saveChoice_ = SaveAsChoice{wxString::FromUTF8(copy), kSaveFilterWav};
  openPath_.clear();  // the Open dialog is then cancelled
  Command(cmd::kOpen);

  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "Do you want to save changes?");
  EXPECT_EQ(messages_[0].style, wxYES_NO | wxCANCEL | wxICON_QUESTION);
  switch (GetParam()) {
    case Answer::kCancel:  // everything stays
      EXPECT_FALSE(frame_->document().is_empty());
      EXPECT_EQ(frame_->document().modified(), 1);
      EXPECT_FALSE(HomeShown());
      EXPECT_EQ(openDialogs_, 0);
      EXPECT_FALSE(fs::exists(copy));
      break;
    case Answer::kNo:  // discarded, nothing written
      EXPECT_TRUE(frame_->document().is_empty());
      EXPECT_TRUE(HomeShown());
      EXPECT_EQ(openDialogs_, 1);
      EXPECT_FALSE(fs::exists(copy));
      break;
    case Answer::kYes:  // never saved: Save As, then closed
      EXPECT_EQ(saveSuggested_.size(), 1u);
      EXPECT_TRUE(fs::exists(copy));
      EXPECT_TRUE(frame_->document().is_empty());
      EXPECT_EQ(openDialogs_, 1);
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, SavePromptTest,
                         testing::Values(Answer::kYes, Answer::kNo, Answer::kCancel));

TEST_F(FileFlowTest, YesThenCancellingSaveAsKeepsTheDocument) {
  WavFixture wav("song.wav", 1, 22050, 22050, Tone);
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(wav.path())));
  Modify();
  answer_ = wxYES;
  saveChoice_.reset();
  EXPECT_FALSE(frame_->CloseDocument());
  EXPECT_FALSE(frame_->document().is_empty());
  EXPECT_EQ(frame_->document().modified(), 1);
  // Closing the window asks the same and stays open.
  answer_ = wxCANCEL;
  EXPECT_FALSE(frame_->Close());
  EXPECT_TRUE(frame_->IsShown());
  EXPECT_EQ(messages_.size(), 2u);
}

TEST_F(FileFlowTest, FailedLoadsAreReportedWithThePath) {
  WavFixture wav("broken.wav", 1, 100, 8000, Tone);
  fs::resize_file(wav.path(), 30);
  EXPECT_FALSE(frame_->LoadFile(wxString::FromUTF8(wav.path())));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, wxString::FromUTF8("Error opening file:\n" + wav.path()));
  EXPECT_EQ(messages_[0].style, wxOK | wxICON_ERROR);
  EXPECT_TRUE(frame_->document().is_empty());
  EXPECT_TRUE(HomeShown());  // nothing to edit: the start page

  // Another kind of file gets the same message without a job.
  const std::string mp3 = fs::path(wav.path()).replace_extension(".mp3").string();
  fs::copy_file(wav.path(), mp3);
  EXPECT_FALSE(frame_->LoadFile(wxString::FromUTF8(mp3)));
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1].text, wxString::FromUTF8("Error opening file:\n" + mp3));
}

TEST_F(FileFlowTest, MissingFilesAndShortcutsAreIgnoredSilently) {
  WavFixture wav("song.wav", 1, 1000, 8000, Tone);
  const fs::path folder = fs::path(wav.path()).parent_path();
  EXPECT_FALSE(frame_->LoadFile(wxString::FromUTF8((folder / "missing.wav").string())));
  fs::copy_file(wav.path(), folder / "song.desktop");
  fs::copy_file(wav.path(), folder / "song.lnk");
  EXPECT_FALSE(frame_->LoadFile(wxString::FromUTF8((folder / "song.desktop").string())));
  EXPECT_FALSE(frame_->LoadFile(wxString::FromUTF8((folder / "song.lnk").string())));
  EXPECT_TRUE(messages_.empty());
  EXPECT_TRUE(HomeShown());
  // A symbolic link to a WAV file opens it.
  fs::create_symlink(wav.path(), folder / "link.wav");
  EXPECT_TRUE(frame_->LoadFile(wxString::FromUTF8((folder / "link.wav").string())));
  EXPECT_EQ(frame_->document().current_clip().frames(), 1000);
}

TEST_F(FileFlowTest, CancelledLoadLeavesTheStartPageAndSaysNothing) {
  // Ten minutes of stereo, so the load is still running when the cancel arrives.
  WavFixture wav("long.wav", 2, 44100 * 600, 44100, Tone);
  frame_->time_display()->SetPaneText(0, "Ready");
  // Cancel from inside the progress dialog's modal loop, as the button would.
  frame_->CallAfter([] {
    for (wxWindow* window : wxTopLevelWindows) {
      if (auto* job = dynamic_cast<FileJobDialog*>(window)) job->Cancel();
    }
  });
  EXPECT_FALSE(frame_->LoadFile(wxString::FromUTF8(wav.path())));
  EXPECT_TRUE(messages_.empty());
  EXPECT_TRUE(HomeShown());
  EXPECT_TRUE(frame_->document().is_empty());
  EXPECT_EQ(frame_->time_display()->GetMessageText(), "Ready");
}

TEST_F(FileFlowTest, ALongLoadReportsItsTime) {
  // Ten minutes of stereo: far past the 50 ms under which a load is too quick to report.
  WavFixture wav("long.wav", 2, 44100 * 600, 44100, Tone);
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(wav.path())));
  const wxString text = frame_->time_display()->GetMessageText();
  wxRegEx loaded("^Loaded in [0-9]+\\.[0-9][0-9] seconds$");
  EXPECT_TRUE(loaded.Matches(text)) << text;
}

TEST_F(FileFlowTest, DroppingThreeFilesOpensOnlyTheFirst) {
  WavFixture first("first.wav", 1, 1000, 8000, Tone);
  WavFixture second("second.wav", 2, 2000, 8000, Tone);
  WavFixture third("third.wav", 2, 3000, 8000, Tone);
  auto* target = dynamic_cast<wxFileDropTarget*>(frame_->GetDropTarget());
  ASSERT_NE(target, nullptr);
  wxArrayString files;
  for (const WavFixture* wav : {&first, &second, &third})
    files.Add(wxString::FromUTF8(wav->path()));
  EXPECT_TRUE(target->OnDropFiles(10, 10, files));
  test::Pump();
  EXPECT_EQ(frame_->document().loaded_path(), first.path());
  EXPECT_EQ(frame_->document().current_clip().frames(), 1000);
  EXPECT_FALSE(HomeShown());
}

TEST_F(FileFlowTest, FailedSaveIsReportedAndKeepsTheDocumentModified) {
  WavFixture wav("song.wav", 1, 22050, 22050, Tone);
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(wav.path())));
  Modify();
  const std::string target = wav.path() + ".missing-folder/out.wav";
  saveChoice_ = SaveAsChoice{wxString::FromUTF8(target), kSaveFilterWav};
  EXPECT_FALSE(frame_->SaveAs());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, wxString::FromUTF8("Error saving file \"" + target + "\"!"));
  EXPECT_EQ(messages_[0].style, wxOK | wxICON_ERROR);
  EXPECT_EQ(frame_->document().modified(), 1);
}

struct TargetCase {
  const char* chosen;
  int filter;
  const char* saved;
};

TEST(SaveAsTarget, ExtensionRules) {
  const TargetCase cases[] = {{"take", kSaveFilterWma, "take.wma"},
                              {"take.wma", kSaveFilterWav, "take.wma.wav"},
                              {"/a/take.WMA", kSaveFilterWma, "/a/take.WMA"},
                              {"take.wav", kSaveFilterWav, "take.wav"},
                              {"take.mp3", kSaveFilterWav, "take.mp3.wav"},
                              {"/music.d/take", kSaveFilterWav, "/music.d/take.wav"}};
  for (const TargetCase& c : cases)
    EXPECT_EQ(SaveAsTarget(c.chosen, c.filter), c.saved) << c.chosen;
}

TEST(SaveAsRename, SwitchingTheTypeRenamesTheOtherTypesExtension) {
  EXPECT_EQ(RenameForType("take.wma", kSaveFilterWav), "take.wav");
  EXPECT_EQ(RenameForType("take.wav", kSaveFilterWma), "take.wma");
  EXPECT_EQ(RenameForType("take.wav", kSaveFilterWav), "take.wav");
}

TEST(LoadPath, RelativePathsAndDotsBecomeOneAbsolutePath) {
  EXPECT_EQ(AbsoluteLoadPath("song.wav", "/home/me"), "/home/me/song.wav");
  EXPECT_EQ(AbsoluteLoadPath("../x//./song.wav", "/home/me"), "/home/x/song.wav");
  EXPECT_EQ(AbsoluteLoadPath("//srv///a/../b.wma", "/"), "/srv/b.wma");
  EXPECT_EQ(AbsoluteLoadPath("/../../a.wav", "/tmp"), "/a.wav");
  EXPECT_TRUE(IsShortcutPath("/a/b.desktop"));
  EXPECT_TRUE(IsShortcutPath("/a/b.LNK"));
  EXPECT_FALSE(IsShortcutPath("/a/b.wav"));
}

}  // namespace
}  // namespace voxtrelle
