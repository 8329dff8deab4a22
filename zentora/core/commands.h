// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

namespace zentora {

// Command ids of the menu, the accelerator table and the toolbar.
enum CommandId : int {
  kCmdAbout = 104,
  kCmdExit = 105,
  kCmdOpen = 32771,
  kCmdPlayPause = 32773,
  kCmdStop = 32774,
  kCmdJumpForward = 32775,
  kCmdJumpBack = 32776,
  kCmdHome = 32778,
  kCmdEnd = 32779,
  kCmdAMinus = 32781,
  kCmdAPlus = 32782,
  kCmdBMinus = 32783,
  kCmdBPlus = 32784,
  kCmdProductSite = 32789,
  kCmdBlog = 32790,
  kCmdSample = 32791,
  kCmdABKey = 32792,
  kCmdCut = 32793,
  kCmdTools = 32794,
  kCmdOnTop = 32795,
  kCmdNewBrand = 32799,
};

// The menu resource's own item texts (before any per-state change); nullptr for ids without
// a fixed text (32791 carries the sample's title, 32794 the tools' names).
const char* MenuText(int commandId);

// Submenu and popup titles.
inline constexpr const char* kMenuOperation = "操作(&O)";
inline constexpr const char* kMenuFineTune = "ab点微调";
inline constexpr const char* kMenuTools = "工具(&T)";
inline constexpr const char* kMenuSample = "试听";

// Accelerator table 109: plain keys, no modifiers.
enum class AccelKey { Down, End, F4, Home, Left, Right, Tab, Up };
struct Accelerator {
  AccelKey key;
  int command;
};
inline constexpr std::array<Accelerator, 8> kAccelerators = {{
    {AccelKey::Down, kCmdPlayPause},
    {AccelKey::End, kCmdEnd},
    {AccelKey::F4, kCmdStop},
    {AccelKey::Home, kCmdHome},
    {AccelKey::Left, kCmdJumpBack},
    {AccelKey::Right, kCmdJumpForward},
    {AccelKey::Tab, kCmdCut},
    {AccelKey::Up, kCmdABKey},
}};

}  // namespace zentora
