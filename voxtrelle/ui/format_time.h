// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace voxtrelle {

// A time for the status bar: "mm:ss.fff" below an hour, "h:mm:ss.fff" from an hour on, the
// empty text for a negative time (no selection boundary).
std::string FormatTime(double ms);

}  // namespace voxtrelle
