// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/frame.h>
#include <wx/timer.h>

#include <functional>
#include <memory>

#include "voxtrelle/audio/audio_document.h"
#include "voxtrelle/playback/player_host.h"
#include "voxtrelle/playback/wave_out.h"
#include "voxtrelle/playback/wave_player.h"
#include "voxtrelle/ui/file_flow_hooks.h"

namespace voxtrelle {

class TimeDisplay;
class VeMainBar;
class VeView;

// The editor's one window. It owns the document, the player (which also holds the selection),
// the start page and the editing view, the toolbar strip and the status bar; it routes every
// command and brings the title, the toolbar, the edit buttons and the time panes up to date
// whenever the event queue runs empty.
class MainFrame : public wxFrame, public PlayerHost {
 public:
  // The client area of the window (menu bar, toolbar strip, view and status bar together) at
  // start; the window never gets smaller than that.
  static constexpr int kContentWidth = 600;
  static constexpr int kContentHeight = 355;

  // device is the sound output; nullptr means the system's (SDL).
  explicit MainFrame(std::unique_ptr<WaveOut> device = nullptr);
  ~MainFrame() override;

  // Title, toolbar states, edit-button states and time panes, in this order.
  void UpdateAll();

  // The file flows (main_frame_files.cpp).
  bool LoadFile(const wxString& path);
  bool PromptSave();
  bool CloseDocument();
  bool SaveDocument();
  bool Save();
  bool SaveAs();

  // Runs the document's load (mode 1) or save (mode 0) on the job worker; returns 1 done,
  // 2 cancelled, 3 failed. While it runs the views leave the document alone.
  int RunFileJob(int mode);
  bool document_busy() const { return document_busy_ > 0; }
  // How often the waveform asked the document for peaks (tests check that paints do not).
  int peak_requests() const { return peak_requests_; }

  AudioDocument& document() { return document_; }
  WavePlayer& player() { return player_; }
  VeView* edit_view() const { return edit_view_; }
  wxWindow* home_view() const { return home_view_; }
  wxWindow* active_view() const { return active_view_; }
  VeMainBar* main_bar() const { return main_bar_; }
  TimeDisplay* time_display() const { return time_display_; }
  // Replaces how web addresses are opened (tests keep the browser closed).
  void set_url_opener(std::function<bool(const wxString&)> opener) {
    url_opener_ = std::move(opener);
  }
  // The Open and Save As dialogs and the message boxes of the file flows (tests answer them).
  FileFlowHooks& file_hooks() { return file_hooks_; }
  // Shows the editing view (true) or the start page.
  void ShowEditView(bool edit);

  // PlayerHost.
  int WaveformWidth() override;
  void RepaintWaveform() override;
  int ArmTimer(uint32_t interval_ms) override;
  void KillTimer() override;

  // The commands of the edit panel (main_frame_commands.cpp); also run by tests.
  void RunCommand(int id);

  // At start-up: offers the unsaved audio of editors that died, newest first, until one is
  // taken; deletes what nobody needs (main_frame_recovery.cpp).
  void RecoverUnsavedAudio();
  // Ends the program as closing the window would, but without any question: a running job is
  // cancelled, open dialogs are closed, playback stops and the sample files are deleted
  // (main_frame_quit.cpp). For SIGTERM, SIGHUP and SIGINT.
  void QuitWithoutAsking();

 private:
  void BuildMenuBar();
  void FitContent();
  void LayOutChildren();
  void UpdateTitle();
  void UpdateToolbar();
  void UpdateEditPanel();
  bool Editable();
  // (start, end) of a valid selection, else (-1, -1).
  std::pair<int32_t, int32_t> Range();
  void OpenUrl(const std::string& url);

  void OnIdle(wxIdleEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnSetFocus(wxFocusEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnCursorTimer(wxTimerEvent& event);
  void OnMenuCommand(wxCommandEvent& event);
  void OnPanelButton(wxCommandEvent& event);
  void OnMenuOpen(wxMenuEvent& event);
  void OnMenuClose(wxMenuEvent& event);
  void OnOpen();
  void InstallDropTarget();

  void RunEdit(int id);
  void EditDelete(bool keep_outside);
  void EditChangeVolume();
  void EditSimple(int id);
  void EditToStereo();
  void ShowAbout();

  AudioDocument document_;
  std::unique_ptr<WaveOut> wave_out_;
  WavePlayer player_;
  VeMainBar* main_bar_ = nullptr;
  wxWindow* home_view_ = nullptr;
  VeView* edit_view_ = nullptr;
  wxWindow* active_view_ = nullptr;
  TimeDisplay* time_display_ = nullptr;
  wxTimer cursor_timer_;
  bool first_idle_ = true;
  int document_busy_ = 0;
  int peak_requests_ = 0;
  std::function<bool(const wxString&)> url_opener_;
  FileFlowHooks file_hooks_;
  std::unique_ptr<wxTimer> quit_timer_;  // retries a quit while dialogs are still closing
};

}  // namespace voxtrelle
