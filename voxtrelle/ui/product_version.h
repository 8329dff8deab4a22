// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace voxtrelle {

// The program's product version, as the About box reads it ("major.minor.patch.build").
inline constexpr const char* kProductVersion = "2.6.0.1874";

}  // namespace voxtrelle
