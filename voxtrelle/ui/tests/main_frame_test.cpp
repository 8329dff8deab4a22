// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/main_frame.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>

#include <cmath>
#include <memory>

#include "voxtrelle/playback/wave_out_test.h"
#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/time_display.h"
#include "voxtrelle/ui/ve_main_bar.h"
#include "voxtrelle/ui/ve_selection_bar.h"
#include "voxtrelle/ui/ve_view.h"
#include "voxtrelle/ui/ve_waveform.h"
#include "voxtrelle/ui/waveform_geometry.h"
#include "wav_fixture.h"
#include "wx_test_environment.h"

namespace voxtrelle {
namespace {

using test::WavFixture;

wxColour At(const wxImage& image, int x, int y) {
  return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

wxColour Inverted(const wxColour& c) {
  return wxColour(255 - c.Red(), 255 - c.Green(), 255 - c.Blue());
}

// What a window paints, drawn into a bitmap of its client size.
template <typename Window>
wxImage Snapshot(Window* window) {
  const wxSize size = window->GetClientSize();
  wxBitmap bitmap(size.x, size.y, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    window->Render(dc);
  }
  return bitmap.ConvertToImage();
}

// Channel 0 silent, channel 1 at full positive scale in the first half and silent after.
int16_t HalfLoud(int32_t frame, int channel) {
  return channel == 1 && frame < 22050 ? 32767 : 0;
}

class MainFrameTest : public ::testing::Test {
 protected:
  MainFrameTest() {
    auto device = std::make_unique<WaveOutTest>(
        [this](std::function<void()> call) { frame_->CallAfter(std::move(call)); });
    device_ = device.get();
    frame_ = new MainFrame(std::move(device));
    frame_->set_url_opener([this](const wxString& url) {
      opened_ = url;
      return true;
    });
    frame_->Show();
    test::Pump();
  }
  ~MainFrameTest() override {
    frame_->document().reset();  // nothing to save: no prompt on closing
    frame_->Destroy();
    test::Pump();
  }

  void Command(int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    frame_->GetEventHandler()->ProcessEvent(event);
    Idle();
  }
  void Idle() {
    test::Pump();
    frame_->UpdateAll();
  }
  void Open(const WavFixture& wav) {
    ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(wav.path())));
    Idle();
  }
  wxWindow* EditButton(int id) { return frame_->edit_view()->edit_panel()->FindWindow(id); }
  VeWaveform* waveform() { return frame_->edit_view()->waveform(); }
  VeMainBar* bar() { return frame_->main_bar(); }
  void Mouse(wxEventType type, int x) {
    wxMouseEvent event(type);
    event.m_x = x;
    event.m_y = 5;
    event.m_leftDown = type != wxEVT_LEFT_UP;
    event.SetEventObject(waveform());
    waveform()->GetEventHandler()->ProcessEvent(event);
  }

  MainFrame* frame_ = nullptr;
  WaveOutTest* device_ = nullptr;
  wxString opened_;
};

TEST_F(MainFrameTest, EmptyDocumentShowsTheStartPageAndOnlyOpenWebsiteAndPause) {
  Idle();
  EXPECT_EQ("Voxtrelle", frame_->GetTitle());
  EXPECT_TRUE(frame_->home_view()->IsShown());
  EXPECT_FALSE(frame_->edit_view()->IsShown());
  EXPECT_TRUE(bar()->IsToolEnabled(cmd::kOpen));
  EXPECT_TRUE(bar()->IsToolEnabled(cmd::kWebsite));
  EXPECT_TRUE(bar()->IsToolEnabled(cmd::kPause));
  for (int id : {cmd::kSave, cmd::kPlay, cmd::kStop, cmd::kSetStart, cmd::kSetEnd, cmd::kSelectAll,
                 cmd::kDeselect}) {
    EXPECT_FALSE(bar()->IsToolEnabled(id)) << id;
  }
  EXPECT_TRUE(bar()->IsToolShown(cmd::kPlay));
  EXPECT_FALSE(bar()->IsToolShown(cmd::kPause));
  for (int id = 1; id <= 4; ++id) EXPECT_EQ("", frame_->time_display()->GetPaneText(id)) << id;
}

TEST_F(MainFrameTest, WindowCannotBeMadeSmallerThanItsFirstSize) {
  Idle();
  const wxSize first = frame_->GetSize();
  EXPECT_EQ(first, frame_->GetMinSize());
  EXPECT_EQ(MainFrame::kContentWidth, frame_->GetClientSize().x);
  // Menu bar, toolbar strip, view and status bar share the 355 pixels.
  EXPECT_EQ(MainFrame::kContentHeight, frame_->GetMenuBar()->GetSize().y +
                                           frame_->GetClientSize().y +
                                           frame_->time_display()->GetSize().y);
}

TEST_F(MainFrameTest, OpenStereoFileEnablesItsCommandsAndNamesItInTheTitle) {
  WavFixture wav("song.wav", 2, 44100, 44100, HalfLoud);
  Open(wav);
  EXPECT_EQ("Voxtrelle - [song.wav]", frame_->GetTitle());
  EXPECT_TRUE(frame_->edit_view()->IsShown());
  EXPECT_FALSE(frame_->home_view()->IsShown());
  EXPECT_FALSE(bar()->IsToolEnabled(cmd::kSave));  // not modified
  EXPECT_TRUE(bar()->IsToolEnabled(cmd::kPlay));
  EXPECT_FALSE(bar()->IsToolEnabled(cmd::kStop));
  EXPECT_TRUE(bar()->IsToolEnabled(cmd::kSelectAll));
  EXPECT_FALSE(bar()->IsToolEnabled(cmd::kDeselect));
  ASSERT_NE(nullptr, EditButton(cmd::kToMono));
  EXPECT_TRUE(EditButton(cmd::kToMono)->IsEnabled());
  EXPECT_FALSE(EditButton(cmd::kToStereo)->IsEnabled());
  EXPECT_TRUE(EditButton(cmd::kFadeIn)->IsEnabled());
  EXPECT_FALSE(EditButton(cmd::kDeleteSelected)->IsEnabled());  // nothing selected
  EXPECT_EQ("00:01.000", frame_->time_display()->GetPaneText(1));
  EXPECT_EQ("00:00.000", frame_->time_display()->GetPaneText(2));
  EXPECT_EQ("", frame_->time_display()->GetPaneText(3));
}

TEST_F(MainFrameTest, PlayingSwapsPlayForPauseAndDisablesEveryEdit) {
  WavFixture wav("mono.wav", 1, 44100, 44100, HalfLoud);
  Open(wav);
  EXPECT_TRUE(EditButton(cmd::kToStereo)->IsEnabled());
  EXPECT_FALSE(EditButton(cmd::kToMono)->IsEnabled());
  Command(cmd::kPlay);
  ASSERT_TRUE(frame_->player().is_open());
  EXPECT_TRUE(bar()->IsToolShown(cmd::kPause));
  EXPECT_FALSE(bar()->IsToolShown(cmd::kPlay));
  EXPECT_TRUE(bar()->IsToolEnabled(cmd::kStop));
  for (int id = cmd::kDeleteSelected; id <= cmd::kToStereo; ++id) {
    EXPECT_FALSE(EditButton(id)->IsEnabled()) << id;
  }
  device_->Advance(4410);
  Idle();
  EXPECT_EQ("00:00.100", frame_->time_display()->GetPaneText(2));
  Command(cmd::kPause);
  EXPECT_TRUE(bar()->IsToolShown(cmd::kPlay));
  EXPECT_FALSE(bar()->IsToolShown(cmd::kPause));
  EXPECT_TRUE(bar()->IsToolEnabled(cmd::kStop));
  EXPECT_FALSE(EditButton(cmd::kFadeIn)->IsEnabled());  // paused still holds the device
  Command(cmd::kStop);
  EXPECT_FALSE(frame_->player().is_open());
  EXPECT_TRUE(EditButton(cmd::kFadeIn)->IsEnabled());
  EXPECT_FALSE(bar()->IsToolEnabled(cmd::kStop));
}

TEST_F(MainFrameTest, DeleteSelectedMarksModifiedAndPutsThePositionAtTheFormerStart) {
  WavFixture wav("take.wav", 1, 44100 * 3, 44100, HalfLoud);
  Open(wav);
  frame_->player().SetSelectionStart(44100);
  frame_->player().SetSelectionEnd(88200);
  Idle();
  EXPECT_EQ("00:01.000", frame_->time_display()->GetPaneText(3));
  EXPECT_EQ("00:02.000", frame_->time_display()->GetPaneText(4));
  EXPECT_TRUE(EditButton(cmd::kDeleteSelected)->IsEnabled());
  frame_->RunCommand(cmd::kDeleteSelected);
  Idle();
  EXPECT_EQ(88200, frame_->document().current_clip().frames());
  EXPECT_EQ(44100, frame_->player().Position());
  EXPECT_EQ(-1, frame_->player().selection_start());
  EXPECT_EQ("Voxtrelle - [take.wav *]", frame_->GetTitle());
  EXPECT_TRUE(bar()->IsToolEnabled(cmd::kSave));
}

TEST_F(MainFrameTest, EditsAreRefusedWhilePlaying) {
  WavFixture wav("take.wav", 1, 44100, 44100, HalfLoud);
  Open(wav);
  Command(cmd::kPlay);
  ASSERT_TRUE(frame_->player().is_open());
  frame_->RunCommand(cmd::kFadeIn);
  EXPECT_FALSE(frame_->document().modified());
  Command(cmd::kStop);
}

TEST_F(MainFrameTest, WebsiteCommandsOpenTheSitesWithTheReferrer) {
  Command(cmd::kWebsite);
  EXPECT_EQ("https://voxtrelle.example/?ref=vxtl", opened_);
  Command(cmd::kConverterSite);
  EXPECT_EQ("https://bivandor.example/?ref=vxtl", opened_);
}

TEST_F(MainFrameTest, WaveformShowsSilenceLinesSeparatorSelectionAndCursor) {
  WavFixture wav("song.wav", 2, 44100, 44100, HalfLoud);
  Open(wav);
  VeWaveform* wave = waveform();
  const wxSize size = wave->GetClientSize();
  ASSERT_GT(size.x, 100);
  ASSERT_GT(size.y, 20);
  ASSERT_EQ(1, size.y % 2);  // odd, so both halves are equally tall
  const int mid = size.y / 2;
  const int half0 = mid / 2;  // middle row of channel 0's rows [0, mid)
  wxImage image = Snapshot(wave);
  // Channel 0 is silent: only its middle row is drawn.
  const int x = size.x / 4;
  EXPECT_EQ(VeWaveform::kPeak, At(image, x, half0));
  EXPECT_EQ(VeWaveform::kBackground, At(image, x, half0 - 1));
  EXPECT_EQ(VeWaveform::kBackground, At(image, x, half0 + 1));
  EXPECT_EQ(VeWaveform::kSeparator, At(image, x, mid));
  // Channel 1 is at 32767 / 32768 of full scale in the first half: its column runs from one
  // row under its top row down to its middle row...
  const int half1 = (size.y - mid - 1) / 2;
  EXPECT_EQ(VeWaveform::kBackground, At(image, x, mid + 1));
  for (int y = mid + 2; y <= mid + 1 + half1; ++y) EXPECT_EQ(VeWaveform::kPeak, At(image, x, y));
  EXPECT_EQ(VeWaveform::kBackground, At(image, x, mid + 2 + half1));
  // ... and it is silent in the second half.
  EXPECT_EQ(VeWaveform::kBackground, At(image, size.x * 3 / 4, mid + 2));
  EXPECT_EQ(VeWaveform::kPeak, At(image, size.x * 3 / 4, mid + 1 + half1));
  // The cursor is at frame 0.
  EXPECT_EQ(VeWaveform::kCursor, At(image, 0, 3));

  frame_->player().SetSelection(11025, 33075);
  frame_->player().Seek(22050);
  image = Snapshot(wave);
  const int s = wave->StartX();
  const int e = wave->EndX();
  const int cursor = geometry::CursorX(0.5, size.x);
  EXPECT_EQ(VeWaveform::kCursor, At(image, cursor, 1));
  EXPECT_NE(VeWaveform::kCursor, At(image, 0, 3));
  EXPECT_EQ(Inverted(VeWaveform::kBackground), At(image, s, half0 - 1));
  EXPECT_EQ(Inverted(VeWaveform::kBackground), At(image, e - 1, half0 - 1));
  EXPECT_EQ(VeWaveform::kBackground, At(image, e, half0 - 1));
  EXPECT_EQ(VeWaveform::kBackground, At(image, s - 1, half0 - 1));
  EXPECT_EQ(Inverted(VeWaveform::kSeparator), At(image, s + 1, mid));
}

TEST_F(MainFrameTest, PaintsCopyTheCachedPictureAndNeverRecomputePeaks) {
  WavFixture wav("song.wav", 2, 44100, 44100, HalfLoud);
  Open(wav);
  const int computed = frame_->peak_requests();
  ASSERT_GE(computed, 1);
  Command(cmd::kPlay);
  for (int i = 0; i < 10; ++i) {
    device_->Advance(441);
    frame_->player().OnTimer();  // what each cursor tick does
    Snapshot(waveform());
    Idle();
  }
  EXPECT_EQ(computed, frame_->peak_requests());
  Command(cmd::kStop);
  // A new width brings one new computation at the next idle pass.
  frame_->SetSize(frame_->GetSize() + wxSize(40, 0));
  test::Pump();
  wxIdleEvent idle;
  waveform()->GetEventHandler()->ProcessEvent(idle);
  EXPECT_EQ(computed + 1, frame_->peak_requests());
  EXPECT_EQ(static_cast<size_t>(waveform()->GetClientSize().x), waveform()->peaks().first.size());
}

TEST_F(MainFrameTest, DraggingTheStartMarkerPastTheEndSwapsTheirRoles) {
  WavFixture wav("song.wav", 1, 44100, 44100, HalfLoud);
  Open(wav);
  frame_->player().SetSelection(11025, 22050);
  const int s = waveform()->StartX();
  const int e = waveform()->EndX();
  Mouse(wxEVT_LEFT_DOWN, s + 1);
  EXPECT_EQ(0, frame_->player().Position());  // a marker press does not seek
  const int x = e + 40;
  Mouse(wxEVT_MOTION, x);
  Mouse(wxEVT_LEFT_UP, x);
  EXPECT_EQ(waveform()->XToFrame(e), frame_->player().selection_start());
  EXPECT_EQ(waveform()->XToFrame(x), frame_->player().selection_end());
  // The old end is now the start marker.
  Mouse(wxEVT_LEFT_DOWN, waveform()->EndX());
  Mouse(wxEVT_MOTION, waveform()->EndX() - 10);
  Mouse(wxEVT_LEFT_UP, waveform()->EndX() - 10);
  EXPECT_EQ(waveform()->XToFrame(e), frame_->player().selection_start());
  EXPECT_EQ(waveform()->XToFrame(x - 10), frame_->player().selection_end());
}

TEST_F(MainFrameTest, NewDragSelectsFromThePointerToThePressPoint) {
  WavFixture wav("song.wav", 1, 44100, 44100, HalfLoud);
  Open(wav);
  frame_->player().SetSelection(4410, 8820);
  const int press = waveform()->GetClientSize().x - 20;
  Mouse(wxEVT_LEFT_DOWN, press);
  Mouse(wxEVT_MOTION, 50);
  Mouse(wxEVT_LEFT_UP, 50);
  EXPECT_EQ(waveform()->XToFrame(50), frame_->player().selection_start());
  EXPECT_EQ(waveform()->XToFrame(press), frame_->player().selection_end());
  EXPECT_EQ(waveform()->XToFrame(50), frame_->player().Position());
  Idle();
  EXPECT_NE("", frame_->time_display()->GetPaneText(3));
}

TEST_F(MainFrameTest, ClickWithoutMarkersNearbyOnlySeeks) {
  WavFixture wav("song.wav", 1, 44100, 44100, HalfLoud);
  Open(wav);
  frame_->player().SetSelection(4410, 8820);
  const int width = waveform()->GetClientSize().x;
  Mouse(wxEVT_LEFT_DOWN, width / 2);
  Mouse(wxEVT_LEFT_UP, width / 2);
  EXPECT_EQ(4410, frame_->player().selection_start());
  EXPECT_EQ(8820, frame_->player().selection_end());
  EXPECT_EQ(waveform()->XToFrame(width / 2), frame_->player().Position());
}

TEST_F(MainFrameTest, SelectionBarDrawsMarksAndTheGreenBarOnlyForAValidSelection) {
  WavFixture wav("song.wav", 1, 44100, 44100, HalfLoud);
  Open(wav);
  VeSelectionBar* selection = frame_->edit_view()->selection_bar();
  const wxSize size = selection->GetClientSize();
  ASSERT_EQ(geometry::kSelectionBarHeight, size.y);
  wxImage image = Snapshot(selection);
  for (int x = 0; x < size.x; ++x) ASSERT_NE(VeSelectionBar::kBar, At(image, x, 4)) << x;

  frame_->player().SetSelectionStart(11025);  // only a start: a mark, no bar
  image = Snapshot(selection);
  for (int x = 0; x < size.x; ++x) ASSERT_NE(VeSelectionBar::kBar, At(image, x, 4)) << x;

  frame_->player().SetSelectionEnd(33075);
  image = Snapshot(selection);
  const int left = geometry::MarkX(waveform()->StartX(), size.x);
  const int right = geometry::MarkX(waveform()->EndX(), size.x);
  EXPECT_EQ(VeSelectionBar::kBar, At(image, left, 1));
  EXPECT_EQ(VeSelectionBar::kBar, At(image, right - 1, size.y - 3));
  EXPECT_NE(VeSelectionBar::kBar, At(image, right - 1, size.y - 2));
  EXPECT_NE(VeSelectionBar::kBar, At(image, right + 8, 4));
  EXPECT_NE(VeSelectionBar::kBar, At(image, left - 8, 4));
}

TEST_F(MainFrameTest, SaveStopsPlaybackBeforeTheJobReadsTheClip) {
  WavFixture wav("song.wav", 1, 44100, 44100, HalfLoud);
  Open(wav);
  Command(cmd::kPlay);
  ASSERT_TRUE(frame_->player().is_open());
  const std::string target = wav.path() + ".copy.wav";
  frame_->document().set_saved_path(target);
  EXPECT_TRUE(frame_->SaveDocument());
  EXPECT_TRUE(frame_->player().stop_requested() || !frame_->player().is_open());
  test::Pump();
  EXPECT_FALSE(frame_->player().is_open());
  std::remove(target.c_str());
}

}  // namespace
}  // namespace voxtrelle

namespace voxtrelle {
namespace {

// Runs the event loop for about ms milliseconds.
void RunFor(int ms) {
  const wxLongLong end = wxGetLocalTimeMillis() + ms;
  while (wxGetLocalTimeMillis() < end) {
    test::Pump();
    wxMilliSleep(5);
  }
}

TEST_F(MainFrameTest, DeviceOpeningDuringASaveDoesNotReadTheClip) {
  WavFixture wav("song.wav", 1, 44100, 44100, HalfLoud);
  Open(wav);
  frame_->player().Play();  // the device's open notification is still on its way
  ASSERT_FALSE(frame_->player().is_open());
  const std::string target = wav.path() + ".copy.wav";
  frame_->document().set_saved_path(target);
  EXPECT_TRUE(frame_->SaveDocument());
  test::Pump();
  EXPECT_FALSE(frame_->player().device_open());
  EXPECT_EQ(0u, device_->queued());
  EXPECT_TRUE(device_->played().empty());
  std::remove(target.c_str());
}

TEST_F(MainFrameTest, MessageGoesBackToReadyAfterItsTimeButNotDuringMenuHelp) {
  TimeDisplay* times = frame_->time_display();
  times->ShowMessage("Loaded in 1.25 seconds", 60);
  EXPECT_EQ("Loaded in 1.25 seconds", times->GetMessageText());
  times->SetMenuHelpShown(true);
  RunFor(200);
  EXPECT_TRUE(times->message_timer_running());
  times->SetMenuHelpShown(false);
  RunFor(200);
  EXPECT_EQ("Ready", times->GetMessageText());
  EXPECT_FALSE(times->message_timer_running());
}

TEST_F(MainFrameTest, UnknownPaneIdsAreIgnored) {
  TimeDisplay* times = frame_->time_display();
  times->SetPaneText(7, "x");
  for (int id : TimeDisplay::kPaneIds) EXPECT_NE("x", times->GetPaneText(id));
  EXPECT_EQ(6, times->GetFieldsCount());
}

}  // namespace
}  // namespace voxtrelle
