// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/file_util.h"

#include <sys/stat.h>

#include <cstring>

namespace zentora {

void MakeWritable(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return;
  if ((st.st_mode & S_IWUSR) == 0) ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  if (suffix.size() > text.size()) return false;
  return AsciiLower(text.substr(text.size() - suffix.size())) == AsciiLower(suffix);
}

std::string ErrnoText(int error) {
  return std::strerror(error);
}

}  // namespace zentora
