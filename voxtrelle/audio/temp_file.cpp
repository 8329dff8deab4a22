// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/temp_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace voxtrelle {
namespace {

constexpr size_t kMaxTempDirectory = 32758;

std::string join(const std::string& directory, const std::string& name) {
  if (!directory.empty() && directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

bool is_directory(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// mkdir -p: every missing parent is created; an existing directory is success.
bool make_directories(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i != path.size() && path[i] != '/') continue;
    const std::string part = path.substr(0, i);
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return is_directory(path);
}

// Creates path exclusively, never through a symbolic link. Returns the descriptor, -1 with
// errno set on failure.
int create_exclusive(const std::string& path, unsigned mode) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                static_cast<mode_t>(mode));
}

// prefix (three characters at most) + four hexadecimal digits + ".tmp", starting from a
// clock-derived number and counting up until a name is free.
std::string numbered_tmp_name(const std::string& directory, const std::string& prefix, int* fd,
                              unsigned mode) {
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  unsigned unique = static_cast<unsigned>(ticks ^ getpid()) & 0xFFFFu;
  const std::string pre = prefix.substr(0, 3);
  for (unsigned tries = 0; tries < 0x10000u; ++tries, unique = (unique + 1) & 0xFFFFu) {
    if (unique == 0) continue;
    char number[8];
    std::snprintf(number, sizeof number, "%04X", unique);
    const std::string path = join(directory, pre + number + ".tmp");
    const int handle = create_exclusive(path, mode);
    if (handle >= 0) {
      *fd = handle;
      return path;
    }
    if (errno != EEXIST) return {};
  }
  return {};
}

}  // namespace

std::string temp_directory() {
  const char* value = std::getenv("TMPDIR");
  std::string directory = (value != nullptr && *value != '\0') ? value : "/tmp";
  if (directory.size() > kMaxTempDirectory) return {};
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  return directory;
}

std::string UniqueTempPathOpen(const std::string& extension, const std::string& prefix,
                               const std::string& directory, int* fd, unsigned mode) {
  *fd = -1;
  const std::string pre = prefix.empty() ? std::string(kTempPrefix) : prefix;
  if (extension.empty() && directory.empty()) {
    const std::string temp = temp_directory();
    if (temp.empty()) return {};
    return numbered_tmp_name(temp, pre, fd, mode);
  }

  const std::string folder = directory.empty() ? temp_directory() : directory;
  if (folder.empty()) return {};
  struct stat st {};
  if (stat(folder.c_str(), &st) == 0) {
    if (!S_ISDIR(st.st_mode)) return {};
  } else if (directory.empty() || errno != ENOENT || !make_directories(folder)) {
    // A missing $TMPDIR is the user's setting to mend, never a path to build as a side effect.
    return {};
  }

  const std::string ext = extension.empty() ? std::string("tmp") : extension;
  for (unsigned long long n = 1;; ++n) {
    char number[24];
    std::snprintf(number, sizeof number, "%03llX", n);
    const std::string path = join(folder, pre + number + "." + ext);
    struct stat probe {};
    if (lstat(path.c_str(), &probe) == 0) continue;
    const int handle = create_exclusive(path, mode);
    if (handle >= 0) {
      *fd = handle;
      return path;
    }
    // Someone else took the name between the probe and the creation: try the next one.
    if (errno != EEXIST) return {};
  }
}

bool is_file_at(int fd, const std::string& path) {
  struct stat held {};
  struct stat named {};
  return fstat(fd, &held) == 0 && lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

std::string LockedTempPathOpen(const std::string& extension, const std::string& prefix,
                               const std::string& directory, int* fd) {
  for (int tries = 0; tries < 16; ++tries) {
    std::string path = UniqueTempPathOpen(extension, prefix, directory, fd);
    if (*fd < 0) return {};
    int locked = -1;
    do {
      locked = flock(*fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked == 0 && is_file_at(*fd, path)) return path;
    ::close(*fd);
    *fd = -1;
  }
  return {};
}

std::string UniqueTempPath(const std::string& extension, const std::string& prefix,
                           const std::string& directory) {
  int fd = -1;
  std::string path = UniqueTempPathOpen(extension, prefix, directory, &fd);
  if (fd >= 0) ::close(fd);
  return path;
}

TempFile::TempFile(const std::string& extension, const std::string& prefix,
                   const std::string& directory)
    : extension_(extension),
      prefix_(prefix.empty() ? std::string(kTempPrefix) : prefix),
      directory_(directory) {
  path_ = UniqueTempPath(extension_, prefix_, directory_);
}

TempFile::~TempFile() {
  remove();
}

int TempFile::open(int flags) {
  if (fd_ >= 0 || !path_.empty()) return 0;
  if (!directory_.empty() && !is_directory(directory_)) return 0;
  int fd = -1;
  std::string path = UniqueTempPathOpen(extension_, prefix_, directory_, &fd);
  if (fd < 0) return 0;
  if ((flags & O_ACCMODE) != O_RDWR || (flags & ~O_ACCMODE) != 0) {
    // Reopen the file we just created with the caller's access; never follow a link.
    const int reopened =
        ::open(path.c_str(), (flags & ~(O_CREAT | O_EXCL | O_TRUNC)) | O_NOFOLLOW | O_CLOEXEC);
    ::close(fd);
    if (reopened < 0) {
      unlink(path.c_str());
      return 0;
    }
    fd = reopened;
  }
  fd_ = fd;
  path_ = std::move(path);
  return 1;
}

int TempFile::remove() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (path_.empty()) return 1;
  if (unlink(path_.c_str()) != 0 && errno != ENOENT) return 0;
  path_.clear();
  return 1;
}

}  // namespace voxtrelle
