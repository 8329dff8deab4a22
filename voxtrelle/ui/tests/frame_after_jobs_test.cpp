// SPDX-License-Identifier: GPL-3.0-or-later
// What the main frame shows and where the keyboard focus is after loads, saves and edits.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/uiaction.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>

#include "voxtrelle/playback/wave_out_test.h"
#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/edit_panel.h"
#include "voxtrelle/ui/file_dialogs.h"
#include "voxtrelle/ui/main_frame.h"
#include "voxtrelle/ui/time_display.h"
#include "voxtrelle/ui/ve_view.h"
#include "voxtrelle/ui/ve_waveform.h"
#include "wav_fixture.h"
#include "wx_test_environment.h"

namespace voxtrelle {
namespace {

using test::WavFixture;
namespace fs = std::filesystem;

int16_t Tone(int32_t frame, int channel) {
  return static_cast<int16_t>(9000 * std::sin(frame * (0.02 + 0.01 * channel)));
}

class FrameAfterJobsTest : public testing::Test {
 protected:
  FrameAfterJobsTest() {
    auto device = std::make_unique<WaveOutTest>(
        [this](std::function<void()> call) { frame_->CallAfter(std::move(call)); });
    device_ = device.get();
    frame_ = new MainFrame(std::move(device));
    FileFlowHooks& hooks = frame_->file_hooks();
    hooks.message = [this](wxWindow*, const wxString&, long) {
      ++messages_;
      return wxOK;
    };
    hooks.chooseSave = [this](wxWindow*, const wxString&, int) {
      if (beforeSave_) beforeSave_();
      return saveChoice_;
    };
    frame_->Show();
    frame_->Raise();
    test::Pump();
  }
  ~FrameAfterJobsTest() override {
    frame_->document().reset();
    frame_->Destroy();
    test::Pump();
  }

  void Idle() {
    test::Pump();
    frame_->UpdateAll();
  }
  VeWaveform* waveform() { return frame_->edit_view()->waveform(); }
  // Whether `window` holds the keyboard focus inside the main window. Asked of GTK, as wx only
  // knows the focus while the frame is the active window, which another test's window on the
  // same display can take from it.
  bool HasFocusInFrame(wxWindow* window) {
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(frame_->GetHandle()));
    return focus != nullptr && (focus == window->m_wxwindow || focus == window->GetConnectWidget());
  }
  bool HomeShown() { return frame_->home_view()->IsShown() && !frame_->edit_view()->IsShown(); }

  MainFrame* frame_ = nullptr;
  WaveOutTest* device_ = nullptr;
  int messages_ = 0;
  std::optional<SaveAsChoice> saveChoice_;
  std::function<void()> beforeSave_;
};

// While a job's dialog is up the document is the job's, and a paint of the waveform shows only
// its last picture, without the selection and the cursor. After every load and save the view is
// painted again from the document.
TEST_F(FrameAfterJobsTest, LoadsAndSavesEndWithAPaintOfTheDocument) {
  bool last_paint_busy = false;
  int paints = 0;
  waveform()->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
    last_paint_busy = frame_->document_busy();
    ++paints;
    event.Skip();
  });
  // Something uncovers the waveform while the job runs (the closing Save As dialog).
  const auto expose_during_job = [this] {
    frame_->CallAfter([this] {
      ASSERT_TRUE(frame_->document_busy());
      waveform()->Refresh(false);
      waveform()->Update();
    });
  };
  // The paint comes with GTK's next frame, later still on a busy machine (2 s at most).
  const auto await_paint = [&] {
    test::Pump();
    for (int i = 0; i < 100 && paints == 0; ++i) {
      wxMilliSleep(20);
      test::Pump();
    }
  };
  WavFixture wav("song.wav", 2, 44100, 44100, Tone);
  WavFixture other("other.wav", 1, 8000, 8000, Tone);
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(wav.path())));
  Idle();
  frame_->player().SetSelection(11025, 33075);
  frame_->player().Seek(22050);

  beforeSave_ = expose_during_job;
  const std::string target = (fs::path(wav.path()).parent_path() / "copy.wav").string();
  saveChoice_ = SaveAsChoice{wxString::FromUTF8(target), kSaveFilterWav};
  paints = 0;
  ASSERT_TRUE(frame_->SaveAs());
  await_paint();
  EXPECT_GT(paints, 0);
  EXPECT_FALSE(last_paint_busy) << "after Save As";

  expose_during_job();
  paints = 0;
  ASSERT_TRUE(frame_->Save());
  await_paint();
  EXPECT_GT(paints, 0);
  EXPECT_FALSE(last_paint_busy) << "after Save";

  // A load straight over the open file, as a caller that has closed nothing may do.
  expose_during_job();
  paints = 0;
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(other.path())));
  await_paint();
  EXPECT_GT(paints, 0);
  EXPECT_FALSE(last_paint_busy) << "after a load";
}

TEST_F(FrameAfterJobsTest, FailedLoadShowsTheStartPage) {
  WavFixture good("good.wav", 1, 8000, 8000, Tone);
  WavFixture broken("broken.wav", 1, 100, 8000, Tone);
  fs::resize_file(broken.path(), 30);
  // From the start page, and from an open file closed for the load (as Open and a drop do).
  EXPECT_FALSE(frame_->LoadFile(wxString::FromUTF8(broken.path())));
  EXPECT_TRUE(HomeShown());
  EXPECT_EQ(frame_->active_view(), frame_->home_view());
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(good.path())));
  ASSERT_FALSE(HomeShown());
  ASSERT_TRUE(frame_->CloseDocument());
  EXPECT_FALSE(frame_->LoadFile(wxString::FromUTF8(broken.path())));
  EXPECT_TRUE(HomeShown());
  EXPECT_TRUE(frame_->document().is_empty());
  EXPECT_EQ(messages_, 2);
}

TEST_F(FrameAfterJobsTest, SaveDuringPlaybackKeepsThePosition) {
  WavFixture wav("song.wav", 2, 200000, 44100, Tone);
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(wav.path())));
  Idle();
  frame_->player().SetSelection(1000, 150000);
  frame_->edit_view()->RefreshView(false);
  frame_->RunCommand(cmd::kFadeIn);  // something to save
  wxCommandEvent play(wxEVT_MENU, cmd::kPlay);
  frame_->GetEventHandler()->ProcessEvent(play);
  Idle();
  ASSERT_TRUE(frame_->player().is_open());
  device_->Advance(30000);
  Idle();
  const int32_t reached = frame_->player().Position();
  ASSERT_EQ(reached, 31000);

  const std::string target = (fs::path(wav.path()).parent_path() / "saved.wav").string();
  saveChoice_ = SaveAsChoice{wxString::FromUTF8(target), kSaveFilterWav};
  ASSERT_TRUE(frame_->Save());
  Idle();
  EXPECT_FALSE(frame_->player().is_open());
  EXPECT_EQ(frame_->player().Position(), reached);
  EXPECT_EQ(frame_->player().selection_start(), 1000);
  EXPECT_EQ(frame_->player().selection_end(), 150000);
}

// A click on an edit button leaves the keyboard focus where it was, and after an edit the
// waveform has it: a Space or Enter meant for something else must not repeat the edit.
TEST_F(FrameAfterJobsTest, EditButtonsDoNotKeepTheFocus) {
  WavFixture wav("song.wav", 1, 44100, 44100, Tone);
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(wav.path())));
  Idle();
  wxWindow* fade = frame_->edit_view()->edit_panel()->FindWindow(cmd::kFadeIn);
  ASSERT_NE(fade, nullptr);
  ASSERT_TRUE(fade->IsEnabled());

  // Lets the X server and the event loop catch up until done() holds (2 s at most).
  const auto wait_for = [this](const std::function<bool()>& done) {
    for (int i = 0; i < 100 && !done(); ++i) {
      wxMilliSleep(20);
      Idle();
    }
    return done();
  };

  // A real click, through the X server. Window tests share the display, so another test's
  // window may lie over the button for a moment: the click is tried again until one lands.
  wxUIActionSimulator mouse;
  bool clicked = false;
  for (int attempt = 0; attempt < 5 && !clicked; ++attempt) {
    frame_->Raise();
    waveform()->SetFocus();
    ASSERT_TRUE(wait_for([this] { return HasFocusInFrame(waveform()); }));
    mouse.MouseMove(fade->GetScreenRect().GetPosition() + wxPoint(10, 10));
    Idle();
    mouse.MouseClick();
    clicked = wait_for([this] { return frame_->document().modified() == 1; });
  }
  ASSERT_TRUE(clicked) << "the click did not reach the button";
  for (int i = 0; i < 10; ++i) {  // a focus change from the click would have arrived by now
    wxMilliSleep(20);
    Idle();
  }
  EXPECT_FALSE(HasFocusInFrame(fade));
  EXPECT_TRUE(HasFocusInFrame(waveform()));

  // An edit run from a button that has the focus (reached with Tab) hands it to the waveform.
  fade->SetFocus();
  ASSERT_TRUE(wait_for([this, fade] { return HasFocusInFrame(fade); }));
  wxCommandEvent click(wxEVT_BUTTON, cmd::kFadeIn);
  click.SetEventObject(fade);
  fade->GetEventHandler()->ProcessEvent(click);
  EXPECT_TRUE(wait_for([this] { return HasFocusInFrame(waveform()); }));
}

// The window opens at its smallest size, 600 x 355 inside its frame, and everything fits in
// it: the status bar ends at the window's bottom edge and the edit buttons lie inside the view.
TEST_F(FrameAfterJobsTest, OpensAtItsMinimumWithEverythingShown) {
  WavFixture wav("song.wav", 2, 44100, 44100, Tone);
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(wav.path())));
  Idle();
  EXPECT_EQ(frame_->GetSize(), frame_->GetMinSize());
  GdkWindow* window = gtk_widget_get_window(frame_->GetHandle());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(gdk_window_get_width(window), MainFrame::kContentWidth);
  EXPECT_EQ(gdk_window_get_height(window), MainFrame::kContentHeight);
  const wxRect status = frame_->time_display()->GetRect();
  EXPECT_EQ(status.GetBottom() + 1, MainFrame::kContentHeight);
  EXPECT_EQ(status.GetWidth(), MainFrame::kContentWidth);
  const wxRect view(frame_->edit_view()->GetClientSize());
  for (wxWindow* button : frame_->edit_view()->edit_panel()->GetChildren()) {
    const wxRect rect(frame_->edit_view()->ScreenToClient(button->GetScreenPosition()),
                      button->GetSize());
    EXPECT_TRUE(view.Contains(rect)) << button->GetLabel();
  }
}

}  // namespace
}  // namespace voxtrelle
