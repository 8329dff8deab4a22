// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/settings.h"

#include <wx/fileconf.h>
#include <wx/log.h>
#include <wx/sstream.h>
#include <wx/wfstream.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "zentora/core/file_util.h"
#include "zentora/core/play_state.h"
#include "zentora/core/text_table.h"

namespace fs = std::filesystem;

namespace zentora {
namespace {

constexpr uintmax_t kMaxSettingsBytes = 1048576;
constexpr int32_t kVolumeStoredOffset = 10000;

wxString Wx(const std::string& utf8) {
  return wxString::FromUTF8(utf8.c_str());
}

int32_t Clamp(long value, int32_t low, int32_t high) {
  if (value > high) return high;
  if (value < low) return low;
  return static_cast<int32_t>(value);
}

}  // namespace

std::string SettingsFolder() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    base = std::string(home) + "/.config";
  } else {
    base = ".config";
  }
  return base + "/Zentora";
}

std::string SettingsFilePath() {
  return SettingsFolder() + "/options.ini";
}

Settings LoadSettings(const std::string& filePath, std::string* errorText) {
  Settings settings;
  if (errorText != nullptr) errorText->clear();
  std::error_code ec;
  const fs::path path(filePath);
  const bool isFolder = fs::is_directory(path, ec);
  if (!isFolder && fs::is_regular_file(path, ec) && fs::file_size(path, ec) >= kMaxSettingsBytes) {
    MakeWritable(filePath);
    fs::remove(path, ec);
  }
  FILE* probe = std::fopen(filePath.c_str(), "rb");
  if (probe == nullptr) {
    const int error = errno;
    if (fs::exists(path, ec) && !fs::is_directory(path, ec) && errorText != nullptr) {
      *errorText = FormatText(kTextReadFailed, {filePath, ErrnoText(error)});
    }
    return settings;
  }
  std::fclose(probe);
  if (isFolder) return settings;

  wxLogNull quiet;  // failures are ours to report, never wx's log windows
  // Streams keep wxFileConfig away from the standard paths (and from needing a wxApp).
  wxFileInputStream in(Wx(filePath));
  if (!in.IsOk()) return settings;
  const auto config = std::make_unique<wxFileConfig>(in);
  long value = 0;
  config->Read("/options/bMute", &value, 0L);
  settings.mute = static_cast<int32_t>(value);
  config->Read("/options/volume", &value, 9500L);
  const long volume = value - kVolumeStoredOffset;
  settings.volume =
      (volume < kVolumeSilence || volume > 0) ? kVolumeDefault : static_cast<int32_t>(volume);
  config->Read("/options/eachJump", &value, 3L);
  settings.jumpSeconds = Clamp(value, 1, 9);
  config->Read("/options/fineTuning", &value, 200L);
  settings.fineTuneMs = Clamp(value, 30, 900);
  return settings;
}

int SaveSettings(const std::string& filePath, const Settings& settings, std::string* errorText) {
  if (errorText != nullptr) errorText->clear();
  std::error_code ec;
  const fs::path path(filePath);
  const fs::path folder = path.parent_path();
  // A plain file where the folder belongs is removed so the folder can be made.
  if (!folder.empty() && fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
    MakeWritable(folder.string());
    fs::remove(folder, ec);
  }
  const bool fileIsFolder = fs::is_directory(path, ec);
  if (!fileIsFolder) MakeWritable(filePath);
  if (!folder.empty()) fs::create_directories(folder, ec);  // errors show up at the open below

  FILE* probe = std::fopen(filePath.c_str(), "wb");
  if (probe == nullptr) {
    if (errorText != nullptr)
      *errorText = FormatText(kTextWriteFailed, {filePath, ErrnoText(errno)});
    return 0;  // a folder or a read-only place: nothing can be written there
  }
  std::fclose(probe);

  wxLogNull quiet;
  wxStringInputStream empty(wxString{});
  const auto config = std::make_unique<wxFileConfig>(empty);
  config->Write("/options/bMute", static_cast<long>(settings.mute));
  config->Write("/options/volume", static_cast<long>(settings.volume) + kVolumeStoredOffset);
  config->Write("/options/eachJump", static_cast<long>(settings.jumpSeconds));
  config->Write("/options/fineTuning", static_cast<long>(settings.fineTuneMs));
  wxFileOutputStream out(Wx(filePath));
  if (!out.IsOk() || !config->Save(out) || !out.Close()) {
    if (errorText != nullptr) *errorText = FormatText(kTextWriteFailed, {filePath, ErrnoText(EIO)});
    return 0;
  }
  return 1;
}

uint32_t ParseDialogNumber(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return 0;
  size_t end = text.find_last_not_of(" \t") + 1;
  uint64_t value = 0;
  for (size_t i = begin; i < end; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return 0;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > UINT32_MAX) return 0;
  }
  return static_cast<uint32_t>(value);
}

int32_t JumpFromDialog(uint32_t typed) {
  if (typed == 0) return 3;
  return typed > 9 ? 9 : static_cast<int32_t>(typed);
}

int32_t FineTuneFromDialog(uint32_t typed) {
  if (typed == 0) return 200;
  if (typed > 900) return 900;
  return typed < 30 ? 30 : static_cast<int32_t>(typed);
}

int VolumeToSliderPosition(int32_t volume) {
  return static_cast<int>(std::pow(10.0, volume / 5000.0 + 2.0));
}

int32_t SliderPositionToVolume(int position) {
  return static_cast<int32_t>((std::log10(static_cast<double>(position)) - 2.0) * 5000.0);
}

}  // namespace zentora
