// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zentora {

// The path of the run-time data file `name` (the sample recording, the warning sound): beside
// the program first (the build tree), then in ../share/zentora/ relative to it (the installed
// tree). When neither has it, the path where it belongs: the share folder when that exists,
// else beside the program, so a message about the missing file names the right place.
// `programFolder` defaults to the running program's folder.
std::string DataFilePath(const std::string& name, const std::string& programFolder = std::string());

}  // namespace zentora
