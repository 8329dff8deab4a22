// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

#include "zentora/core/commands.h"
#include "zentora/core/play_state.h"

namespace zentora {

// What the per-state tables look at; CutterApp::snapshot() fills it.
struct CutterSnapshot {
  bool loaded = false;
  PlayState playState = PlayState::Stopped;
  int32_t pointA = -1;  // ms, -1 = not set
  int32_t pointB = -1;  // ms, -1 = not set
  bool onTop = false;
};

// One item of the "操作(&O)" popup as it is set each time the popup opens.
struct MenuItemState {
  const char* text;  // nullptr: the text stays as it is
  bool enabled;
};
// For the ids of that popup (32773..32779, 32781..32784, 32792, 32793, 32795); other ids get
// {nullptr, true}.
MenuItemState OperationMenuItem(int commandId, const CutterSnapshot& s);

// Toolbar bitmap strip (139..145) that matches the state.
int ToolbarStrip(const CutterSnapshot& s);
// Whether a toolbar button (by command id) is enabled in the state.
bool ToolbarButtonEnabled(int commandId, const CutterSnapshot& s);
// String id of a toolbar button's tooltip (128..140), 0 for none.
int ToolbarTooltip(int commandId, const CutterSnapshot& s);

// Toolbar buttons in order: command id and image index, or {0, -1} for a separator.
struct ToolbarSlot {
  int command;
  int image;
};
inline constexpr std::array<ToolbarSlot, 13> kToolbarLayout = {{
    {kCmdOpen, 0},
    {0, -1},
    {kCmdPlayPause, 1},
    {kCmdJumpForward, 2},
    {kCmdJumpBack, 3},
    {0, -1},
    {kCmdABKey, 4},
    {kCmdCut, 5},
    {0, -1},
    {kCmdAPlus, 6},
    {kCmdAMinus, 7},
    {kCmdBPlus, 8},
    {kCmdBMinus, 9},
}};
inline constexpr int kToolbarButtonWidth = 45;
inline constexpr int kToolbarButtonHeight = 32;
inline constexpr int kToolbarInitialStrip = 143;

// Status bar part 0 for a loaded file in the state (118/119/120); 116 when nothing is loaded.
int StatusTextFor(const CutterSnapshot& s);

}  // namespace zentora
