// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace zentora {

// Plays the warning sound file `path` ("chord.wav" of the program's data) on a short-lived
// thread of its own, when the file is there and smaller than 1 MiB; otherwise does nothing.
// Never waits. True when the sound was started.
bool PlayWarningSound(const std::string& path);

}  // namespace zentora
