// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cutter's main window. It owns the application object, answers what CutterApp asks of a
// window, routes menu, toolbar and key commands, and keeps the panels in step with the state.
#include <wx/frame.h>
#include <wx/timer.h>

#include <memory>
#include <mutex>

#include "zentora/core/cutter_app.h"
#include "zentora/core/gst_mp3_player.h"
#include "zentora/core/update_client.h"
#include "zentora/ui/frame_hooks.h"
#include "zentora/ui/modal_dialogs.h"
#include "zentora/ui/play_view.h"

class wxMenu;

namespace zentora {

class MainPanel;

// Hands answers of worker threads to the window while it exists; once the window is gone
// they are dropped.
class WindowMailbox {
 public:
  explicit WindowMailbox(wxEvtHandler* target) : target_(target) {}
  void Post(std::function<void()> call);
  void Close();

 private:
  std::mutex mutex_;
  wxEvtHandler* target_;
};

class MainFrame : public wxFrame, private CutterView, private TickTimer, private PlayView {
 public:
  // Builds the window with its status bar, panels and web page (start-up steps 5 to 10);
  // the page comes from `serverBase`.
  MainFrame(const Settings& settings, FrameHooks hooks, const std::string& serverBase);
  ~MainFrame() override;

  CutterApp& App() { return *app_; }
  MainPanel* Panel() const { return panel_; }
  const FrameHooks& Hooks() const { return hooks_; }

  // A command of the menu, the toolbar or the accelerator table.
  void RunCommand(int commandId);
  // A key as the accelerator table 109 sees it; true when it was one of its keys.
  bool HandleAccelerator(int keyCode, int modifiers);
  // Opens a file as the open command, a drop or the sample do.
  void OpenPath(const wxString& path);
  // Files dropped on the window: the first one opens when it is an MP3 file.
  void OnFilesDropped(const wxArrayString& files);
  // Sets the texts and enabling of the "操作(&O)" popup for the state (done when it opens).
  void UpdateOperationMenu();
  wxMenu* OperationMenu() const { return operationMenu_; }

  // The required-files check of start-up: shows the message and answers false on failure.
  bool PassesRequiredFilesCheck();
  // Starts the update check and the usage report on threads of their own.
  void StartBackgroundRequests(const std::string& serverBase);
  void HandleUpdateAnswer(UpdateAnswer answer);

  // Writes the settings file; a failure is shown.
  void SaveSettings();
  // Exit: close the file, save the settings, destroy the window.
  void Exit();
  // The desktop's own position for the window: centred, never above or left of the screen.
  static wxPoint CentredPosition(const wxSize& windowSize, const wxSize& desktop);

 private:
  // CutterView
  void refreshPanels() override;
  void setStatusText(int part, const std::string& text) override;
  void setTitle(const std::string& title) override;
  void updateToolbar() override;
  void hideTooltip() override;
  void endThumbDrag() override;
  void showError(const std::string& text) override;
  void runRepair(const std::string& path) override;
  void beginCut(const std::string& path, int32_t pointA, int32_t pointB) override;
  void postGraphError(uint64_t serial, const std::string& text) override;
  // TickTimer
  void start(int intervalMs) override { tick_.Start(intervalMs); }
  void stop() override { tick_.Stop(); }
  // PlayView
  bool IsLoaded() const override { return app_->loaded(); }
  bool IsStopped() const override { return app_->playState() == PlayState::Stopped; }
  bool IsPlaying() const override { return app_->playState() == PlayState::Playing; }
  int32_t PointAMs() const override { return app_->pointA(); }
  int32_t PointBMs() const override { return app_->pointB(); }
  int32_t CurrentMs() const override { return app_->currentMs(); }
  int32_t DurationMs() const override { return app_->durationMs(); }
  void SeekTo(int32_t ms) override { app_->seekTo(ms); }
  void TogglePlay() override { app_->playPause(); }

  void BuildMenus();
  // Lays the main panel over the client area (the frame's size message).
  void PlacePanel();
  void RepaintPage();
  void OpenWithDialog();
  void ToggleOnTop();

  FrameHooks hooks_;
  GstPlayerBackend backend_;
  wxTimer tick_;  // timer 1000: the playback tick
  std::unique_ptr<CutterApp> app_;
  std::shared_ptr<WindowMailbox> mailbox_;
  ModalDialogs modalDialogs_{this};
  MainPanel* panel_ = nullptr;
  wxMenu* operationMenu_ = nullptr;
};

}  // namespace zentora
