// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/string.h>

#include <cstdint>

namespace voxtrelle {

// A sentence that names the temporary folder as the cause of a failure when it is missing,
// not writable, full, or has less than `needed` bytes free (with both sizes); empty when the
// folder is fine.
wxString TempFolderText(uint64_t needed);

}  // namespace voxtrelle
