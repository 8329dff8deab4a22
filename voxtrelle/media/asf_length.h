// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace voxtrelle {

// The play length an ASF file's header declares, in seconds (preroll excluded); 0 when the
// file is not ASF or does not say. FFmpeg's demuxer stops trusting that figure once the file's
// size departs from the size recorded beside it (which tag editors do not update), so the
// header is read here instead.
double asf_declared_seconds(const std::string& path);

}  // namespace voxtrelle
