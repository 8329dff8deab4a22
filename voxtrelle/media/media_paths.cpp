// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/media_paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <random>

namespace voxtrelle {
namespace {

std::string lower_extension(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

std::string folder_of(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

int source_kind(const std::string& path) {
  const std::string ext = lower_extension(path);
  if (ext == "wav" || ext == "pcm") return 1;
  if (ext == "wma") return 2;
  return -1;
}

int file_is_writable(const std::string& path) {
  if (path.empty()) return 0;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode) || ::access(path.c_str(), W_OK) != 0) return 0;
  }
  return ::access(folder_of(path).c_str(), W_OK | X_OK) == 0 ? 1 : 0;
}

ReplacementFile::~ReplacementFile() {
  discard();
}

int ReplacementFile::create(const std::string& target) {
  discard();
  if (target.empty()) return 0;
  std::random_device seed;
  std::mt19937_64 random(seed());
  const std::string folder = folder_of(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "/~Ve%08llx.tmp",
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFull));
    const std::string candidate = folder + name;
    const int fd =
        ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      target_ = target;
      path_ = candidate;
      return 1;
    }
    if (errno != EEXIST) return 0;
  }
  return 0;
}

int ReplacementFile::commit() {
  if (path_.empty()) return 0;
  // The data reaches the disk before the name does, so a crash never leaves an empty file
  // where the user's file was.
  const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  const bool synced = fd >= 0 && ::fsync(fd) == 0;
  if (fd >= 0) ::close(fd);
  if (!synced || ::rename(path_.c_str(), target_.c_str()) != 0) {
    discard();
    return 0;
  }
  path_.clear();
  return 1;
}

void ReplacementFile::discard() {
  if (!path_.empty()) ::unlink(path_.c_str());
  path_.clear();
}

}  // namespace voxtrelle
