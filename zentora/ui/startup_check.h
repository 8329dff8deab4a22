// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zentora {

// The required-files check of start-up: the splitter and the repair tool are found (beside
// the program or on PATH), and the player elements of both parser variants exist.
// 0 when everything is there, else the string id to show: 113, 114 or 115.
int CheckRequiredFiles();

}  // namespace zentora
