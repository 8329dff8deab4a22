// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "voxtrelle/audio/file_kind.h"
#include "voxtrelle/audio/temp_file.h"

namespace voxtrelle {
namespace {

// The kernel's own limit on links followed while resolving one path.
constexpr int kMaxLinkSteps = 40;

// The data reaches the disk before the name does, so a crash never leaves an empty file where
// the user's file was.
bool flush_to_disk(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

bool write_all(int fd, const char* data, size_t bytes) {
  while (bytes > 0) {
    const ssize_t wrote = ::write(fd, data, bytes);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    data += wrote;
    bytes -= static_cast<size_t>(wrote);
  }
  return true;
}

// Overwrites the existing file target with the content of source; the target keeps its inode,
// owner and permissions.
bool copy_into(const std::string& source, const std::string& target) {
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  const int out = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  bool ok = out >= 0;
  std::vector<char> buffer(1 << 20);
  while (ok) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    ok = write_all(out, buffer.data(), static_cast<size_t>(got));
  }
  if (out >= 0) ok = ::fsync(out) == 0 && ok;
  if (out >= 0 && ::close(out) != 0) ok = false;
  ::close(in);
  return ok;
}

bool is_writable_file(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), W_OK) == 0;
}

}  // namespace

std::string replacement_target(const std::string& path) {
  std::string current = path;
  for (int step = 0; step < kMaxLinkSteps; ++step) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::vector<char> link(4096);
    const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
    if (length <= 0 || static_cast<size_t>(length) >= link.size()) return path;
    const std::string next(link.data(), static_cast<size_t>(length));
    current = next.front() == '/' ? next : path_folder(current) + "/" + next;
  }
  return path;  // a loop of links: saving will fail on it
}

int target_is_writable(const std::string& target) {
  if (target.empty() || target.back() == '/') return 0;
  const std::string replaced = replacement_target(target);
  struct stat folder {};
  const std::string directory = path_folder(replaced);
  if (::stat(directory.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) return 0;
  struct stat existing {};
  if (::stat(replaced.c_str(), &existing) != 0) {
    return errno == ENOENT && ::access(directory.c_str(), W_OK | X_OK) == 0;
  }
  return is_writable_file(replaced) ? 1 : 0;
}

std::string sibling_temp_path(const std::string& target, const std::string& extension) {
  const std::string replaced = replacement_target(target);
  int fd = -1;
  std::string path = UniqueTempPathOpen(extension, kTempPrefix, path_folder(replaced), &fd, 0666);
  if (fd < 0 && is_writable_file(replaced)) {
    path = UniqueTempPathOpen(extension, kTempPrefix, temp_directory(), &fd, 0600);
  }
  if (fd < 0) return {};
  ::close(fd);
  return path;
}

int replace_file(const std::string& temp, const std::string& target, ProgressSink* progress) {
  const std::string replaced = replacement_target(target);
  if (path_folder(temp) != path_folder(replaced)) {
    if (cancel_requested(progress) || !copy_into(temp, replaced)) return 0;
    ::unlink(temp.c_str());
    return 1;
  }
  if (!flush_to_disk(temp)) return 0;
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
