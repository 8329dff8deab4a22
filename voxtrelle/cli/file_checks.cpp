// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/cli/file_checks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "voxtrelle/audio/file_kind.h"
#include "voxtrelle/audio/temp_folder.h"

namespace voxtrelle::cli {
namespace {

std::string describe_errno(int error) {
  switch (error) {
    case ENOENT:
      return "no such file";
    case EACCES:
    case EPERM:
      return "permission denied";
    case EISDIR:
      return "it is a folder";
    case ENOTDIR:
      return "a part of the path is not a folder";
    case EROFS:
      return "the file system is read-only";
    default:
      return std::strerror(error);
  }
}

// "512 bytes", "3.5 MiB", "8.0 GiB".
std::string size_text(uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " bytes";
  const char* units[] = {"KiB", "MiB", "GiB", "TiB"};
  double value = static_cast<double>(bytes) / 1024.0;
  int unit = 0;
  while (value >= 1024.0 && unit < 3) {
    value /= 1024.0;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
  return text;
}

}  // namespace

std::string temp_folder_problem(uint64_t needed) {
  const TempFolderProblem problem = check_temp_folder(needed);
  const std::string folder = "the temporary folder \"" + problem.folder + "\"";
  switch (problem.kind) {
    case TempFolderProblem::Kind::kNone:
      return {};
    case TempFolderProblem::Kind::kMissing:
      return folder + " does not exist";
    case TempFolderProblem::Kind::kNotFolder:
      return folder + " is not a folder";
    case TempFolderProblem::Kind::kNotWritable:
      return "cannot write in " + folder;
    case TempFolderProblem::Kind::kNoSpace:
      if (problem.needed == 0) return folder + " is full";
      return "not enough space in " + folder + ": " + size_text(problem.needed) + " needed, " +
             size_text(problem.available) + " free";
  }
  return {};
}

std::string read_problem(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return describe_errno(errno);
  if (S_ISDIR(info.st_mode)) return describe_errno(EISDIR);
  if (!S_ISREG(info.st_mode)) return "not a regular file";
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return describe_errno(errno);
  ::close(fd);
  if (info.st_size == 0) return "the file is empty";
  return {};
}

std::string write_problem(const std::string& path) {
  if (path.empty() || path.back() == '/') return "not a file name";
  const std::string folder = path_folder(path);
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) {
    return errno == ENOENT ? "the folder \"" + folder + "\" does not exist" : describe_errno(errno);
  }
  if (!S_ISDIR(info.st_mode)) return "\"" + folder + "\" is not a folder";
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    return "cannot write in the folder \"" + folder + "\": " + describe_errno(errno);
  }
  if (::stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return describe_errno(EISDIR);
    if (!S_ISREG(info.st_mode)) return "not a regular file";
    if (::access(path.c_str(), W_OK) != 0) return "the file is read-only";
  }
  return {};
}

std::string wav_content_problem(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return describe_errno(errno);
  unsigned char header[36] = {};
  const ssize_t got = ::read(fd, header, sizeof header);
  ::close(fd);
  if (got < 12 || std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0) {
    return "not a RIFF/WAVE file";
  }
  if (got == 36 && std::memcmp(header + 12, "fmt ", 4) == 0) {
    const unsigned tag = header[20] | (header[21] << 8);
    const unsigned bits = header[34] | (header[35] << 8);
    if (tag == 1 && bits != 8 && bits != 16) {
      return std::to_string(bits) + "-bit samples are not supported (8 or 16 only)";
    }
    if (tag != 1) return "its encoding (format tag " + std::to_string(tag) + ") cannot be decoded";
  }
  return "damaged or unsupported WAV data";
}

}  // namespace voxtrelle::cli
