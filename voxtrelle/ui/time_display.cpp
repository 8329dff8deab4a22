// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/time_display.h"

#include <wx/dcclient.h>

#include <algorithm>

#include "voxtrelle/playback/wave_player.h"
#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/command_strings.h"
#include "voxtrelle/ui/format_time.h"

namespace voxtrelle {

namespace {

// The widest text each pane must hold (the message pane stretches).
const char* PaneSample(int id) {
  return id == 9 ? "000" : "00:00:00.000";
}

// Shown at set-up, a form the formatter never produces; the first idle update replaces it.
constexpr const char* kInitialTime = "0:00:00.000";

}  // namespace

TimeDisplay::TimeDisplay(wxWindow* parent)
    : wxStatusBar(parent, cmd::kStatusBarId, wxSTB_DEFAULT_STYLE), message_timer_(this) {
  std::array<int, kPaneIds.size()> widths{};
  wxClientDC dc(this);
  dc.SetFont(GetFont());
  for (size_t i = 0; i < kPaneIds.size(); ++i) {
    // The message pane takes whatever the time panes leave.
    widths[i] = kPaneIds[i] == 0 ? -1 : dc.GetTextExtent(PaneSample(kPaneIds[i])).x + 6 + 4;
  }
  SetFieldsCount(static_cast<int>(widths.size()), widths.data());
  SetPaneText(0, kReadyText);
  for (int id = 1; id <= 4; ++id) SetPaneText(id, kInitialTime);
  Bind(wxEVT_TIMER, &TimeDisplay::OnMessageTimer, this, message_timer_.GetId());
}

void TimeDisplay::SetPaneText(int id, const wxString& text) {
  const auto it = std::find(kPaneIds.begin(), kPaneIds.end(), id);
  if (it == kPaneIds.end()) return;
  const int index = static_cast<int>(it - kPaneIds.begin());
  if (GetStatusText(index) != text) SetStatusText(text, index);
}

wxString TimeDisplay::GetPaneText(int id) const {
  const auto it = std::find(kPaneIds.begin(), kPaneIds.end(), id);
  if (it == kPaneIds.end()) return wxString();
  return GetStatusText(static_cast<int>(it - kPaneIds.begin()));
}

void TimeDisplay::UpdateTimes(WavePlayer& player, bool document_empty) {
  if (document_empty) {
    for (int id = 1; id <= 4; ++id) SetPaneText(id, wxString());
    return;
  }
  SetPaneText(1, FormatTime(player.LengthMs()));
  SetPaneText(2, FormatTime(player.PositionMs()));
  SetPaneText(3, FormatTime(player.selection_start() < 0 ? -1 : player.SelectionStartMs()));
  SetPaneText(4, FormatTime(player.selection_end() < 0 ? -1 : player.SelectionEndMs()));
}

void TimeDisplay::ShowMessage(const wxString& text, int ms) {
  SetPaneText(0, text);
  message_timer_.Start(std::max(ms, 10));
}

void TimeDisplay::OnMessageTimer(wxTimerEvent&) {
  // While a menu's help is in the pane, try again at the next tick.
  if (menu_help_shown_) return;
  message_timer_.Stop();
  SetPaneText(0, kReadyText);
}

}  // namespace voxtrelle
