// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Command identifiers of the editor's menu, toolbar, accelerators and edit panel. The menu and
// toolbar send them as wxEVT_MENU / wxEVT_TOOL; the edit panel's buttons as wxEVT_BUTTON.
namespace voxtrelle::cmd {

inline constexpr int kOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kExit = 57665;
inline constexpr int kAbout = 57664;
inline constexpr int kPlay = 33131;
inline constexpr int kPause = 33132;
inline constexpr int kStop = 33114;
inline constexpr int kSetStart = 33118;
inline constexpr int kSetEnd = 33119;
inline constexpr int kSelectAll = 33120;
inline constexpr int kDeselect = 33133;
inline constexpr int kConverterSite = 33136;
inline constexpr int kWebsite = 33068;

// The edit panel's buttons.
inline constexpr int kDeleteSelected = 1000;
inline constexpr int kDeleteUnselected = 1001;
inline constexpr int kFadeIn = 1002;
inline constexpr int kFadeOut = 1003;
inline constexpr int kChangeVolume = 1004;
inline constexpr int kMaximizeVolume = 1005;
inline constexpr int kToMono = 1006;
inline constexpr int kToStereo = 1007;

// The window identifiers of the toolbar and the status bar.
inline constexpr int kToolBarId = 0xE800;
inline constexpr int kStatusBarId = 0xE801;

}  // namespace voxtrelle::cmd
