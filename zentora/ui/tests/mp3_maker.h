// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

namespace zentora::test {

// Writes a sine tone of `seconds` as a 44.1 kHz stereo MP3 with GStreamer's LAME encoder.
void MakeMp3(const std::string& path, double seconds);

}  // namespace zentora::test
