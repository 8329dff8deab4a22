// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace voxtrelle {

// What keeps the temporary folder from taking more work, so that the interface can blame the
// folder rather than the user's file.
struct TempFolderProblem {
  enum class Kind { kNone, kMissing, kNotFolder, kNotWritable, kNoSpace };
  Kind kind = Kind::kNone;
  std::string folder;
  uint64_t needed = 0;     // bytes the work would add
  uint64_t available = 0;  // bytes free for an ordinary user

  explicit operator bool() const { return kind != Kind::kNone; }
};

// Checks that temp_directory() exists, is a folder we may write in, and has `needed` bytes
// free (statvfs). A full folder counts as a problem even when needed is 0.
TempFolderProblem check_temp_folder(uint64_t needed);

// Bytes of sample files that loading the PCM WAV at path reserves (4 per sample and channel),
// from its header alone; 0 when the header cannot be read or the samples need decoding.
uint64_t wav_sample_bytes(const std::string& path);

}  // namespace voxtrelle
