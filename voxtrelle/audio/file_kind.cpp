// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/file_kind.h"

#include <sys/stat.h>

#include <cctype>

namespace voxtrelle {
namespace {

bool is_blank(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool names_directory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string normalize_path(std::string_view path) {
  while (!path.empty() && is_blank(path.front())) path.remove_prefix(1);
  while (!path.empty() && is_blank(path.back())) path.remove_suffix(1);
  std::string result(path);
  if (!result.empty() && result.back() != '/' && names_directory(result)) result += '/';
  return result;
}

std::string path_extension(std::string_view path) {
  const std::string normal = normalize_path(path);
  const size_t slash = normal.rfind('/');
  const size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = normal.rfind('.');
  if (dot == std::string::npos || dot < name_start) return {};
  std::string extension = normal.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

std::string path_folder(std::string_view path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  return slash == 0 ? "/" : std::string(path.substr(0, slash));
}

FileKind file_kind(std::string_view path) {
  const std::string extension = path_extension(path);
  if (extension == "wav") return FileKind::kWav;
  if (extension == "wma") return FileKind::kWma;
  return FileKind::kOther;
}

}  // namespace voxtrelle
