// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace zentora {

struct Settings {
  int32_t mute = 0;          // non-zero = muted
  int32_t volume = -500;     // hundredths of a dB, -10000..0
  int32_t jumpSeconds = 3;   // 1..9
  int32_t fineTuneMs = 200;  // 30..900
};

// $XDG_CONFIG_HOME (else ~/.config) joined with "Zentora", and that joined with "options.ini".
std::string SettingsFolder();
std::string SettingsFilePath();

// Loads "options.ini" (section "options": bMute, volume + 10000, eachJump, fineTuning) with
// defaults and bounds. A file of 1 MiB or more is deleted first. An unreadable file gives
// defaults and *errorText = text 153; a missing file is silent (errorText left empty).
Settings LoadSettings(const std::string& filePath, std::string* errorText);
// Writes the four keys in order into an emptied file, creating missing folders and removing
// a plain file that stands where the folder belongs. 1 on success; 0 with text 154.
int SaveSettings(const std::string& filePath, const Settings& settings, std::string* errorText);

// The step dialogs: the edit's text read as an unsigned number (non-numbers read as 0).
uint32_t ParseDialogNumber(const std::string& text);
int32_t JumpFromDialog(uint32_t typed);      // 0 -> 3, above 9 -> 9
int32_t FineTuneFromDialog(uint32_t typed);  // 0 -> 200, below 30 -> 30, above 900 -> 900

// Volume slider 1005 (range 1..100) <-> volume in hundredths of a dB.
int VolumeToSliderPosition(int32_t volume);    // 10^(v/5000 + 2), truncated
int32_t SliderPositionToVolume(int position);  // (log10(p) - 2) * 5000, truncated
inline constexpr int kVolumeSliderMin = 1;
inline constexpr int kVolumeSliderMax = 100;
inline constexpr int kVolumeSliderThumb = 13;

}  // namespace zentora
