// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "zentora/core/mp3_player.h"

namespace zentora {

// GStreamer backend. The pipeline holds four elements named "source" (filesrc), "mp3Parser"
// (variant 1: mpegaudioparse; variant 2: a bin of id3demux and mpegaudioparse), "decoder"
// (mpg123audiodec) and "renderer" (a bin ending in autoaudiosink, or in the sink that the
// environment variable ZENTORA_AUDIO_SINK describes, e.g. "fakesink sync=true"), linked
// directly. gst_init is called on first use.
class GstPlayerBackend : public PlayerBackend {
 public:
  std::unique_ptr<Mp3Player> createPlayer() override;
  int checkRenderer(std::string* errorText) override;
};

// Start-up check of the elements both variants need: 0 when all exist, else the string id
// to show: 114 (decoder or first parser missing) or 115 (second parser, file source or the
// renderer's converters missing).
int CheckPlayerElements();

// The sink description the renderer uses: $ZENTORA_AUDIO_SINK or "autoaudiosink".
std::string AudioSinkDescription();

}  // namespace zentora
