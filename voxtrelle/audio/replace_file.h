// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "voxtrelle/audio/progress.h"

namespace voxtrelle {

// Saving without risking the user's file: the new file is written under a temporary name in
// the target's folder and renamed over the target only when it is complete. A target that is
// a symbolic link is saved through: the file it points to is replaced (or, for a dangling
// link, created) and the link stays.
//
// When no file can be created in the target's folder but the target itself exists and may be
// written, the new file is written in the temporary folder instead and copied into the target
// once complete. A failure before the copy leaves the target as it was; a failure during the
// copy leaves it cut short, its old content gone.

// The file a save at path replaces: the end of the chain of symbolic links that starts at path
// (whether or not that file exists), else path itself.
std::string replacement_target(const std::string& path);

// 1 when a file may be written at target: an existing target (or the file its link leads to)
// must be a regular file that we may write; a new one needs a folder that lets us create it.
int target_is_writable(const std::string& target);

// A new, empty, uniquely named file ("~Ve001.EXT", ...) in the replaced file's folder, created
// with the permissions of any new file; when that folder refuses new files but the replaced
// file is writable, a private one in the temporary folder. "" when neither can be made.
std::string sibling_temp_path(const std::string& target, const std::string& extension);

// Puts the complete file temp in the target's place. A file beside the target is flushed to
// the disk, given the old file's permissions (when there is one) and renamed over it; on 0
// both files are as they were. A file from the temporary folder is copied into the target.
// A cancel request on progress that arrives before the rename or the copy (also while the
// data goes to the disk) is honoured: the target is left as it was and the result is 0.
// On success temp is gone; otherwise the caller removes it.
int replace_file(const std::string& temp, const std::string& target,
                 ProgressSink* progress = nullptr);

}  // namespace voxtrelle
