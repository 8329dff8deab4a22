// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/iconbndl.h>

namespace voxtrelle {

// The program's icon (icon group 125) at 16, 32, 48 and 64 px: the pictures rendered from
// data/icons/voxtrelle.svg, the same the desktop entry shows.
wxIconBundle ProgramIcons();

}  // namespace voxtrelle
