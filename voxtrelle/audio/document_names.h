// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace voxtrelle {

// The first free name "DIR/BASE (N).EXT", N = 1, 2, ..., beside the loaded file, for the Save
// As dialog; "Untitled" when nothing was loaded. A name without extension gets "BASE (N)".
std::string suggested_save_name_for(const std::string& loaded_path);

// The file-name part of the saved path, or of the loaded path while nothing was saved; empty
// when nothing was loaded.
std::string display_name_for(const std::string& loaded_path, const std::string& saved_path);

}  // namespace voxtrelle
