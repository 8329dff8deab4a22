// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace voxtrelle::cli {

// Why path cannot be opened for reading ("no such file", "permission denied", ...), or "" when
// it can.
std::string read_problem(const std::string& path);

// Why path names nothing this program reads or writes ("it is a folder", "not a WAV or WMA
// file"), or "" for a .wav or .wma name.
std::string kind_problem(const std::string& path);

// Why a file cannot be written at path (missing folder, read-only file, ...), or "".
std::string write_problem(const std::string& path);

// Why a WAV file that opened but did not load is not usable, from its chunks ("not a RIFF/WAVE
// file", "the format chunk is too short (14 bytes)", "the file holds no audio", ...).
std::string wav_content_problem(const std::string& path);

// Why the temporary folder cannot take work that adds `needed` bytes to it (missing, not
// writable, too little space: named with the folder and the sizes), or "".
std::string temp_folder_problem(uint64_t needed);

}  // namespace voxtrelle::cli
