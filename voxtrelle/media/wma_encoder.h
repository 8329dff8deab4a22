// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "voxtrelle/audio/progress.h"

namespace voxtrelle {

// Encodes source (a .wav/.pcm or .wma file) into a WMA file at target with the offered format
// WmaProfileBuilder chooses for the source's channels and rate, at most bit_rate_cap bits per
// second. The file is written beside target and put in its place only when complete
// (replace_file.h), so on failure an existing target is untouched. Progress: 30 % opening, the rest
// by encoded length. Returns 1/0; completes or fails progress. Runs on any one thread.
int encode_wav_to_wma(const std::string& source, const std::string& target, ProgressSink* progress,
                      uint32_t bit_rate_cap = UINT32_MAX);

}  // namespace voxtrelle
