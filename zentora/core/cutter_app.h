// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "zentora/core/cutter_tables.h"
#include "zentora/core/cutter_view.h"
#include "zentora/core/mp3_player.h"
#include "zentora/core/play_state.h"
#include "zentora/core/settings.h"

namespace zentora {

// The cutter's application object: the open file, the transport, the A-B points and the
// settings. Lives on the user-interface thread; the window forwards commands, the 25 ms tick
// and posted graph errors to it and reads its state back.
class CutterApp {
 public:
  CutterApp(PlayerBackend& backend, CutterView& view, TickTimer& timer);
  ~CutterApp();
  CutterApp(const CutterApp&) = delete;
  CutterApp& operator=(const CutterApp&) = delete;

  // Open flow with a chosen path (the window shows the open dialog first when needed).
  // 1 when the file is loaded and playing.
  int open(const std::string& path);
  void close();

  // Dispatches a transport, A-B or cut command id (32773..32793); false for other ids.
  bool command(int commandId);
  void playPause();
  void stop();
  void jumpForward();
  void jumpBack();
  void seekHome();
  void seekEnd();
  // Seek from PositionBar (only while loaded and not Stopped).
  void seekTo(int32_t ms);
  void abKey();
  void aPlus();
  void aMinus();
  void bPlus();
  void bMinus();
  void cutRequest();
  // The 25 ms tick.
  void onTick();
  // A posted error-abort of the player; stale serials (an earlier player) are ignored.
  void onGraphEvent(uint64_t serial, const std::string& text);

  // SettingsPanel: slider 1005 positions 1..100, mute box 1006.
  void onVolumeSlider(int position);
  void setMute(bool mute);
  void toggleOnTop() { onTop_ = !onTop_; }

  CutterSnapshot snapshot() const;
  bool loaded() const { return player_ != nullptr; }
  PlayState playState() const { return playState_; }
  int32_t pointA() const { return pointA_; }
  int32_t pointB() const { return pointB_; }
  bool onTop() const { return onTop_; }
  int toolbarStrip() const { return toolbarStrip_; }
  // Position and duration of the open file, 0 when nothing is loaded.
  int32_t currentMs() const;
  int32_t durationMs() const;
  const std::string& currentPath() const { return currentPath_; }
  // The window title for the state: "name - caption" or the caption.
  std::string title() const;
  Settings& settings() { return settings_; }
  const Settings& settings() const { return settings_; }

 private:
  int tryBuild(Mp3Player& player, const std::string& path, std::string* errorText);
  void refreshToolbar();
  bool active() const { return loaded() && playState_ != PlayState::Stopped; }

  PlayerBackend& backend_;
  CutterView& view_;
  TickTimer& timer_;
  std::unique_ptr<Mp3Player> player_;
  uint64_t playerSerial_ = 0;
  PlayState playState_ = PlayState::Stopped;
  int32_t pointA_ = -1;  // ms
  int32_t pointB_ = -1;  // ms
  // The repeat sought back to A and the position has not yet moved past A.
  bool turnPending_ = false;
  std::string currentPath_;
  int toolbarStrip_ = kToolbarInitialStrip;
  bool onTop_ = false;
  Settings settings_;
};

}  // namespace zentora
