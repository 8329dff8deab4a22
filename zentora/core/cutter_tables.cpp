// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/cutter_tables.h"

#include "zentora/core/text_table.h"

namespace zentora {
namespace {

// The A-B sub-state: 0 none set, 1 only A, 2 both.
int PointsSet(const CutterSnapshot& s) {
  if (s.pointA < 0) return 0;
  return s.pointB < 0 ? 1 : 2;
}

bool Active(const CutterSnapshot& s) {
  return s.loaded && s.playState != PlayState::Stopped;
}

}  // namespace

MenuItemState OperationMenuItem(int commandId, const CutterSnapshot& s) {
  switch (commandId) {
    case kCmdPlayPause:
      return {LoadText(s.playState == PlayState::Playing ? kTextMenuPause : kTextMenuPlay),
              s.loaded};
    case kCmdOnTop:
      return {LoadText(s.onTop ? kTextMenuOffTop : kTextMenuOnTop), true};
    case kCmdABKey: {
      static constexpr int kTexts[] = {kTextMenuSetA, kTextMenuSetB, kTextMenuClearAB};
      return {LoadText(kTexts[PointsSet(s)]), Active(s)};
    }
    case kCmdStop:
    case kCmdJumpForward:
    case kCmdJumpBack:
    case kCmdHome:
    case kCmdEnd:
      return {nullptr, Active(s)};
    case kCmdCut:
      return {nullptr, PointsSet(s) == 2};
    case kCmdAPlus:
    case kCmdAMinus:
      return {nullptr, PointsSet(s) >= 1};
    case kCmdBPlus:
    case kCmdBMinus:
      return {nullptr, PointsSet(s) == 2};
    default:
      return {nullptr, true};
  }
}

int ToolbarStrip(const CutterSnapshot& s) {
  if (!Active(s)) return 143;
  static constexpr int kPaused[] = {143, 144, 145};
  static constexpr int kPlaying[] = {140, 141, 139};
  const int points = PointsSet(s);
  return s.playState == PlayState::Playing ? kPlaying[points] : kPaused[points];
}

bool ToolbarButtonEnabled(int commandId, const CutterSnapshot& s) {
  if (commandId == kCmdOpen) return true;
  if (!s.loaded) return false;
  if (commandId == kCmdPlayPause) return true;
  if (s.playState == PlayState::Stopped) return false;
  const int points = PointsSet(s);
  switch (commandId) {
    case kCmdJumpBack:
    case kCmdJumpForward:
    case kCmdABKey:
      return true;
    case kCmdCut:
    case kCmdBPlus:
    case kCmdBMinus:
      return points == 2;
    case kCmdAPlus:
    case kCmdAMinus:
      return points >= 1;
    default:
      return false;
  }
}

int ToolbarTooltip(int commandId, const CutterSnapshot& s) {
  switch (commandId) {
    case kCmdOpen:
      return kTipOpen;
    case kCmdPlayPause:
      return s.playState == PlayState::Playing ? kTipPause : kTipPlay;
    case kCmdJumpForward:
      return kTipJumpForward;
    case kCmdJumpBack:
      return kTipJumpBack;
    case kCmdABKey: {
      static constexpr int kTips[] = {kTipSetA, kTipSetB, kTipClearAB};
      return kTips[PointsSet(s)];
    }
    case kCmdCut:
      return kTipCut;
    case kCmdAPlus:
      return kTipAPlus;
    case kCmdAMinus:
      return kTipAMinus;
    case kCmdBPlus:
      return kTipBPlus;
    case kCmdBMinus:
      return kTipBMinus;
    default:
      return 0;
  }
}

int StatusTextFor(const CutterSnapshot& s) {
  if (!s.loaded) return kTextNotLoaded;
  switch (s.playState) {
    case PlayState::Playing:
      return kTextPlaying;
    case PlayState::Paused:
      return kTextPaused;
    default:
      return kTextStopped;
  }
}

}  // namespace zentora
