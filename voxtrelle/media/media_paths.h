// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace voxtrelle {

// The kind of a media source by its lower-cased extension: 1 for "wav" and "pcm", 2 for "wma",
// -1 for anything else.
int source_kind(const std::string& path);

// 1 when a file could be written at path (target_is_writable of replace_file.h): an existing
// target must be a regular file (or a link to one) we may write; a new one needs a folder that
// lets us create it.
int file_is_writable(const std::string& path);

// A new file beside a target, named "~Ve001.tmp", ... in the folder of the file it replaces
// (or in the temporary folder when that folder takes no new file: replace_file.h). Until
// commit() puts it in place, the target stays untouched; the destructor removes an
// uncommitted file. Saving through a symbolic link replaces the file it points to, keeping the
// link, and a replaced file keeps its permissions.
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Creates the empty file (exclusive, mode 0666 less the umask). Returns 1/0.
  int create(const std::string& target);
  const std::string& path() const { return path_; }
  // Puts the file in the target's place (replace_file). Returns 1/0; on 0 the file is removed.
  int commit();
  // Removes the file now.
  void discard();

 private:
  std::string target_;
  std::string path_;
};

}  // namespace voxtrelle
