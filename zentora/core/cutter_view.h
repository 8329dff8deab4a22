// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace zentora {

// What CutterApp asks of the window. Every call comes from the user-interface thread except
// postGraphError, which comes from a streaming thread.
class CutterView {
 public:
  virtual ~CutterView() = default;

  // Repaint TimePanel and PositionBar (refresh commands 1013 and 1012).
  virtual void refreshPanels() = 0;
  // Status bar part 0..2.
  virtual void setStatusText(int part, const std::string& text) = 0;
  virtual void setTitle(const std::string& title) = 0;
  // Re-read ToolbarStrip / ToolbarButtonEnabled (cutter_tables.h) from app.snapshot().
  virtual void updateToolbar() = 0;
  virtual void hideTooltip() = 0;
  // End a thumb drag on PositionBar (its capture-changed handling).
  virtual void endThumbDrag() = 0;
  // Error box: caption string 103, error icon, owned by the main window.
  virtual void showError(const std::string& text) = 0;
  // The repair runner (dialog 131): runs `mp3val -f path` and returns when the tool ended.
  virtual void runRepair(const std::string& path) = 0;
  // The cut flow (save dialog, dialog 153, dialog 129) for a valid cut request.
  virtual void beginCut(const std::string& path, int32_t pointA, int32_t pointB) = 0;
  // THREAD-SAFE: post CutterApp::onGraphEvent(serial, text) to the user-interface thread.
  virtual void postGraphError(uint64_t serial, const std::string& text) = 0;
};

// The 25 ms playback tick (timer 1000 of the main window).
class TickTimer {
 public:
  virtual ~TickTimer() = default;
  virtual void start(int intervalMs) = 0;
  virtual void stop() = 0;
};

}  // namespace zentora
