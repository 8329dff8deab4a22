// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "voxtrelle/cli/command_line.h"

namespace voxtrelle {
class AudioDocument;
}

namespace voxtrelle::cli {

// Turns a typed range into the clip's frame range the way the window program turns its
// selection into one: the end is limited to the clip; the deletions need a proper selection.
// `frames` is the clip's length as it stands when the operation runs. Returns "" and sets
// begin/end ((-1, -1) without a range), or the reason the range is refused.
std::string resolve_range(const EditRequest& edit, int32_t frames, int32_t& begin, int32_t& end);

// Runs one edit on the document over the resolved range; returns the document's 1/0.
int apply_edit(AudioDocument& document, const EditRequest& edit, int32_t begin, int32_t end);

}  // namespace voxtrelle::cli
