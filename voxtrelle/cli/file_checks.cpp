// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/cli/file_checks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "voxtrelle/audio/file_kind.h"
#include "voxtrelle/audio/replace_file.h"
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

std::string kind_problem(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return describe_errno(EISDIR);
  return file_kind(path) == FileKind::kOther ? "not a WAV or WMA file" : "";
}

std::string write_problem(const std::string& path) {
  if (path.empty() || path.back() == '/') return "not a file name";
  // A symbolic link (even a dangling one) is saved through: the file it leads to counts.
  const std::string target = replacement_target(path);
  const std::string folder = path_folder(target);
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) {
    return errno == ENOENT ? "the folder \"" + folder + "\" does not exist" : describe_errno(errno);
  }
  if (!S_ISDIR(info.st_mode)) return "\"" + folder + "\" is not a folder";
  if (::stat(target.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) return describe_errno(EISDIR);
    if (!S_ISREG(info.st_mode)) return "not a regular file";
    // An existing file is written in place when its folder takes no new file.
    if (::access(target.c_str(), W_OK) != 0) return "the file is read-only";
    return {};
  }
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    return "cannot write in the folder \"" + folder + "\": " + describe_errno(errno);
  }
  return {};
}

namespace {

uint32_t le32(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
unsigned le16(const unsigned char* p) {
  return p[0] | (p[1] << 8);
}

// Reads exactly `bytes` at `offset`.
bool read_at(int fd, uint64_t offset, unsigned char* out, size_t bytes) {
  return ::pread(fd, out, bytes, static_cast<off_t>(offset)) == static_cast<ssize_t>(bytes);
}

// What the chunks of an open RIFF/WAVE file say is wrong with it.
std::string chunk_problem(int fd) {
  unsigned char header[16];
  if (!read_at(fd, 0, header, 12) || std::memcmp(header, "RIFF", 4) != 0 ||
      std::memcmp(header + 8, "WAVE", 4) != 0) {
    return "not a RIFF/WAVE file";
  }
  bool have_format = false;
  unsigned tag = 0;
  unsigned block_align = 0;
  for (uint64_t at = 12; read_at(fd, at, header, 8);) {
    const uint32_t size = le32(header + 4);
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (size < 16) return "the format chunk is too short (" + std::to_string(size) + " bytes)";
      if (!read_at(fd, at + 8, header, 16)) return "the format chunk is cut short";
      tag = le16(header);
      block_align = le16(header + 12);
      const unsigned bits = le16(header + 14);
      if (tag == 1 && bits != 8 && bits != 16) {
        return std::to_string(bits) + "-bit samples are not supported (8 or 16 only)";
      }
      have_format = true;
    } else if (std::memcmp(header, "data", 4) == 0) {
      if (!have_format) return "the data chunk comes before the format chunk";
      if (size == 0 || (tag == 1 && block_align != 0 && size < block_align)) {
        return "the file holds no audio";
      }
      if (tag != 1)
        return "its encoding (format tag " + std::to_string(tag) + ") cannot be decoded";
      return {};
    }
    at += 8 + uint64_t{size} + (size & 1);
  }
  return have_format ? "the file holds no audio" : std::string();
}

}  // namespace

std::string wav_content_problem(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return describe_errno(errno);
  const std::string problem = chunk_problem(fd);
  ::close(fd);
  return problem.empty() ? "damaged or unsupported WAV data" : problem;
}

}  // namespace voxtrelle::cli
