// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "voxtrelle/audio/file_kind.h"
#include "voxtrelle/audio/temp_file.h"

namespace voxtrelle {
namespace {

// The data reaches the disk before the name does, so a crash never leaves an empty file where
// the user's file was.
bool flush_to_disk(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

}  // namespace

std::string replacement_target(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (real != nullptr) return real.get();
  }
  return path;
}

int target_is_writable(const std::string& target) {
  if (target.empty() || target.back() == '/') return 0;
  const std::string replaced = replacement_target(target);
  struct stat folder {};
  const std::string directory = path_folder(replaced);
  if (::stat(directory.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) return 0;
  if (::access(directory.c_str(), W_OK | X_OK) != 0) return 0;
  struct stat existing {};
  if (::stat(replaced.c_str(), &existing) != 0) return 1;
  return S_ISREG(existing.st_mode) && ::access(replaced.c_str(), W_OK) == 0;
}

std::string sibling_temp_path(const std::string& target, const std::string& extension) {
  int fd = -1;
  const std::string path = UniqueTempPathOpen(extension, kTempPrefix,
                                              path_folder(replacement_target(target)), &fd, 0666);
  if (fd >= 0) ::close(fd);
  return path;
}

int replace_file(const std::string& temp, const std::string& target, ProgressSink* progress) {
  if (!flush_to_disk(temp)) return 0;
  const std::string replaced = replacement_target(target);
  // A replaced file keeps its permissions; a new one has those of any new file.
  struct stat existing {};
  if (::stat(replaced.c_str(), &existing) == 0 &&
      ::chmod(temp.c_str(), existing.st_mode & 07777) != 0) {
    return 0;
  }
  // The last moment a cancel can still keep the old file: the sync may take seconds.
  if (cancel_requested(progress)) return 0;
  return std::rename(temp.c_str(), replaced.c_str()) == 0 ? 1 : 0;
}

}  // namespace voxtrelle
