// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/media_codec.h"

namespace voxtrelle {
namespace {
// Set once at start-up, before any worker thread exists, then only read.
MediaCodec* g_codec = nullptr;
}  // namespace

void install_media_codec(MediaCodec* codec) {
  g_codec = codec;
}
MediaCodec* installed_media_codec() {
  return g_codec;
}

}  // namespace voxtrelle
