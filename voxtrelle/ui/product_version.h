// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project_version.h"

namespace voxtrelle {

// The program's product version, as the About box reads it ("major.minor.patch.build").
inline constexpr const char* kProductVersion = PROJECT_VERSION_TEXT "." VOXTRELLE_BUILD_NUMBER_TEXT;

}  // namespace voxtrelle
