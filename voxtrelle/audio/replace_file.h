// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "voxtrelle/audio/progress.h"

namespace voxtrelle {

// Saving without risking the user's file: the new file is written under a temporary name in
// the target's folder and renamed over the target only when it is complete. A target that is
// a symbolic link is saved through: the file it points to is replaced and the link stays.

// The file a save at path replaces: the file a symbolic link points to, else path itself.
std::string replacement_target(const std::string& path);

// 1 when a file may be written at target: its folder exists and, when target exists, it is a
// regular file (or a link to one) that we may write.
int target_is_writable(const std::string& target);

// A new, empty, uniquely named file ("~Ve001.EXT", ...) in the replaced file's folder, created
// with the permissions of any new file, or "".
std::string sibling_temp_path(const std::string& target, const std::string& extension);

// Flushes temp to the disk, gives it the old file's permissions (when there is one), then
// renames it over the replaced file. Returns 1/0; on 0 both files are as they were. A cancel
// request on progress that arrives before the rename (also while the data goes to the disk)
// is honoured: the rename is not done and the result is 0.
int replace_file(const std::string& temp, const std::string& target,
                 ProgressSink* progress = nullptr);

}  // namespace voxtrelle
