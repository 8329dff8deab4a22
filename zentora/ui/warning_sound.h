// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace zentora {

// Plays "chord.wav" from `folder` on a short-lived thread of its own, when the file is there
// and smaller than 1 MiB; otherwise does nothing. Never waits.
void PlayWarningSound(const std::string& folder);

}  // namespace zentora
