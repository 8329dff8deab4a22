// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace voxtrelle {

inline constexpr const char* kTempPrefix = "~Ve";

// The user's temporary directory: $TMPDIR, else /tmp; without a trailing separator. Empty when
// the value is unusable (longer than 32,758 characters).
std::string temp_directory();

// Creates a new, empty, private (mode 0600) file with a unique name and returns its path, or
// "" on failure. The file is created exclusively and never through a symbolic link, so no other
// user can pre-create or redirect it.
//   extension and directory both empty: temp_directory()/ + the first three characters of
//     prefix + four hexadecimal digits + ".tmp".
//   otherwise: directory (default temp_directory(), which must exist; a given directory is
//     created with missing parents) / prefix +
//     n as "%03X" for n = 1, 2, ... + "." + extension (default "tmp"), the first free name.
// An empty prefix means "~Ve".
std::string UniqueTempPath(const std::string& extension = {}, const std::string& prefix = {},
                           const std::string& directory = {});

// The same, but keeps the new file open: returns its read-write descriptor (O_CLOEXEC) in *fd.
// mode is the creation mode before the umask.
std::string UniqueTempPathOpen(const std::string& extension, const std::string& prefix,
                               const std::string& directory, int* fd, unsigned mode = 0600);

// The same, and the file is locked (flock, exclusive) through *fd before the path is returned:
// a starting editor treats an unlocked "~Ve" file of the temporary folder as left behind by a
// dead process and deletes it. Should such a clean-up take the new file away between its
// creation and the lock, another name is tried.
std::string LockedTempPathOpen(const std::string& extension, const std::string& prefix,
                               const std::string& directory, int* fd);

// True when the open file fd is still the one at path (not deleted or replaced).
bool is_file_at(int fd, const std::string& path);

// A named temporary file that is deleted when this object is destroyed.
class TempFile {
 public:
  // Holds nothing until open().
  TempFile() = default;
  // Creates a unique file at once (UniqueTempPath) and holds its path; path() is empty when
  // that failed.
  explicit TempFile(const std::string& extension, const std::string& prefix = kTempPrefix,
                    const std::string& directory = {});
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // Only while no descriptor is open and no path is held: a given directory must already exist.
  // Creates a unique file and keeps it open with `flags` (O_RDONLY, O_WRONLY or O_RDWR, plus
  // O_APPEND if wanted). Returns 1/0.
  int open(int flags);
  const std::string& path() const { return path_; }
  int fd() const { return fd_; }
  // Closes the descriptor and deletes the file; the path is forgotten only when the file is
  // gone. Returns 1 when no file is left behind.
  int remove();

 private:
  int fd_ = -1;
  std::string path_;
  std::string extension_;
  std::string prefix_ = kTempPrefix;
  std::string directory_;
};

}  // namespace voxtrelle
