// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/document_names.h"

#include <sys/stat.h>

#include <filesystem>

#include "voxtrelle/audio/file_kind.h"

namespace voxtrelle {
namespace {

// Repeated separators collapsed and "." / ".." steps resolved by text, as a user would read
// the name; the text is kept as it is when it cannot be simplified.
std::string tidy_path(const std::string& path) {
  std::string collapsed;
  for (char c : path) {
    if (c == '/' && !collapsed.empty() && collapsed.back() == '/') continue;
    collapsed += c;
  }
  std::string tidy = std::filesystem::path(collapsed).lexically_normal().string();
  return tidy.empty() ? collapsed : tidy;
}

bool exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

std::string suggested_save_name_for(const std::string& loaded_path) {
  const std::string path = normalize_path(loaded_path);
  if (path.empty()) return "Untitled";

  const size_t slash = path.rfind('/');
  const std::string directory = path_folder(path);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string dotted_extension = dot == std::string::npos ? "" : name.substr(dot);

  for (unsigned long n = 1;; ++n) {
    const std::string candidate =
        tidy_path(directory + "/" + base + " (" + std::to_string(n) + ")" + dotted_extension);
    if (!exists(candidate)) return candidate;
  }
}

std::string display_name_for(const std::string& loaded_path, const std::string& saved_path) {
  if (loaded_path.empty()) return {};
  const std::string path = normalize_path(saved_path.empty() ? loaded_path : saved_path);
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace voxtrelle
