// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zentora {

// "Set the attributes to normal": gives the owner write permission when something exists at
// path; nothing otherwise.
void MakeWritable(const std::string& path);
// Lower-cases ASCII letters only (paths are UTF-8; other characters compare as they are).
std::string AsciiLower(std::string text);
bool EndsWithNoCase(const std::string& text, const std::string& suffix);
// The C runtime's text for errno value error.
std::string ErrnoText(int error);

}  // namespace zentora
