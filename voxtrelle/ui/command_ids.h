// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Command identifiers of the editor's menu, toolbar, accelerators and edit panel. The menu and
// toolbar send them as wxEVT_MENU / wxEVT_TOOL; the edit panel's buttons as wxEVT_BUTTON.
namespace voxtrelle::cmd {

// wx refuses menu ids above 0x7FFF, so the file, play, selection and help commands keep the
// low 15 bits of their designed numbers (57601 -> 24833, 33131 -> 363, ...).
constexpr int MenuId(int designed) {
  return designed & 0x7FFF;
}

inline constexpr int kOpen = MenuId(57601);
inline constexpr int kSave = MenuId(57603);
inline constexpr int kSaveAs = MenuId(57604);
inline constexpr int kExit = MenuId(57665);
inline constexpr int kAbout = MenuId(57664);
inline constexpr int kPlay = MenuId(33131);
inline constexpr int kPause = MenuId(33132);
inline constexpr int kStop = MenuId(33114);
inline constexpr int kSetStart = MenuId(33118);
inline constexpr int kSetEnd = MenuId(33119);
inline constexpr int kSelectAll = MenuId(33120);
inline constexpr int kDeselect = MenuId(33133);
inline constexpr int kConverterSite = MenuId(33136);
inline constexpr int kWebsite = MenuId(33068);

// The edit panel's buttons.
inline constexpr int kDeleteSelected = 1000;
inline constexpr int kDeleteUnselected = 1001;
inline constexpr int kFadeIn = 1002;
inline constexpr int kFadeOut = 1003;
inline constexpr int kChangeVolume = 1004;
inline constexpr int kMaximizeVolume = 1005;
inline constexpr int kToMono = 1006;
inline constexpr int kToStereo = 1007;

// The window identifiers of the toolbar strip and the status bar (0xE800, 0xE801).
inline constexpr int kToolBarId = MenuId(0xE800);
inline constexpr int kStatusBarId = MenuId(0xE801);

}  // namespace voxtrelle::cmd
