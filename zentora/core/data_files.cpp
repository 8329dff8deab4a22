// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/data_files.h"

#include <filesystem>

#include "zentora/core/tool_process.h"

namespace zentora {

std::string DataFilePath(const std::string& name, const std::string& programFolder) {
  namespace fs = std::filesystem;
  const fs::path folder =
      programFolder.empty() ? fs::path(ProgramFolder()) : fs::path(programFolder);
  const fs::path beside = folder / name;
  const fs::path shared = (folder.parent_path() / "share" / "zentora").lexically_normal();
  std::error_code error;
  if (fs::is_regular_file(beside, error)) return beside.string();
  if (fs::is_regular_file(shared / name, error)) return (shared / name).string();
  return fs::is_directory(shared, error) ? (shared / name).string() : beside.string();
}

}  // namespace zentora
