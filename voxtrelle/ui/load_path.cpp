// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/load_path.h"

#include <unistd.h>

#include <vector>

#include "voxtrelle/audio/file_kind.h"

namespace voxtrelle {

std::string AbsoluteLoadPath(std::string_view path, std::string_view currentDir) {
  std::string full;
  if (!path.empty() && path.front() == '/') {
    full = path;
  } else {
    full = std::string(currentDir) + "/" + std::string(path);
  }
  // Split into parts; empty and "." parts vanish, ".." drops the part before it (never above
  // the root).
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= full.size()) {
    size_t end = full.find('/', start);
    if (end == std::string::npos) end = full.size();
    const std::string part = full.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result;
  for (const std::string& part : parts) result += "/" + part;
  return result.empty() ? "/" : result;
}

std::string AbsoluteLoadPath(std::string_view path) {
  std::vector<char> buffer(4096);
  const char* cwd = ::getcwd(buffer.data(), buffer.size());
  return AbsoluteLoadPath(path, cwd != nullptr ? cwd : "/");
}

bool IsShortcutPath(std::string_view path) {
  const std::string extension = path_extension(path);
  return extension == "lnk" || extension == "desktop";
}

}  // namespace voxtrelle
