// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/statusbr.h>
#include <wx/timer.h>

#include <array>

namespace voxtrelle {

class WavePlayer;

// The main frame's status bar: a message pane on the left and, right-aligned, the clip's
// length, the play position, the selection start and end, and a last pane that stays empty.
class TimeDisplay : public wxStatusBar {
 public:
  // Pane ids in bar order.
  static constexpr std::array<int, 6> kPaneIds = {0, 1, 2, 3, 4, 9};

  explicit TimeDisplay(wxWindow* parent);

  // Sets the text of the pane with the given id; unknown ids are ignored.
  void SetPaneText(int id, const wxString& text);
  wxString GetPaneText(int id) const;
  // Panes 1 to 4 from the player; empty texts while no file is open.
  void UpdateTimes(WavePlayer& player, bool document_empty);
  // Shows text in the message pane and puts "Ready" back after ms milliseconds (later while
  // menu help is shown).
  void ShowMessage(const wxString& text, int ms);
  wxString GetMessageText() const { return GetPaneText(0); }
  // Told by the frame while a menu shows its help in the message pane.
  void SetMenuHelpShown(bool shown) { menu_help_shown_ = shown; }
  bool message_timer_running() const { return message_timer_.IsRunning(); }

 private:
  void OnMessageTimer(wxTimerEvent& event);

  wxTimer message_timer_;
  bool menu_help_shown_ = false;
};

}  // namespace voxtrelle
