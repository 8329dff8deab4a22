// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/media_paths.h"

#include <unistd.h>

#include "voxtrelle/audio/file_kind.h"
#include "voxtrelle/audio/replace_file.h"

namespace voxtrelle {

int source_kind(const std::string& path) {
  const std::string ext = path_extension(path);
  if (ext == "wav" || ext == "pcm") return 1;
  if (ext == "wma") return 2;
  return -1;
}

int file_is_writable(const std::string& path) {
  return target_is_writable(path);
}

ReplacementFile::~ReplacementFile() {
  discard();
}

int ReplacementFile::create(const std::string& target) {
  discard();
  if (target.empty()) return 0;
  path_ = sibling_temp_path(target, "tmp");
  if (path_.empty()) return 0;
  target_ = target;
  return 1;
}

int ReplacementFile::commit() {
  if (path_.empty() || replace_file(path_, target_) == 0) {
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
