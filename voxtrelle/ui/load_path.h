// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace voxtrelle {

// The absolute form of a path given to Open or dropped on the window: a relative path is taken
// from the current folder, runs of "/" become one, "." and ".." parts are resolved by the text
// alone. Symbolic links are left in place; opening the file follows them.
std::string AbsoluteLoadPath(std::string_view path, std::string_view currentDir);
std::string AbsoluteLoadPath(std::string_view path);

// A desktop shortcut rather than a file to open (".desktop", or ".lnk" from another system).
bool IsShortcutPath(std::string_view path);

}  // namespace voxtrelle
