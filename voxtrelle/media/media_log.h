// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace voxtrelle {

// FFmpeg's own log lines ("[adpcm_ima_wav @ ...] Multiple frames in a packet.") go through the
// program instead of straight to standard error: they are dropped unless the program names a
// sink for them (a command line's --verbose). Lines may arrive on any thread.
using MediaLogSink = void (*)(const char* line);

// Takes over FFmpeg's log for the process; until a sink is set, its lines are dropped.
// Idempotent; FfmpegMediaCodec calls it when it is created.
void install_media_log();
// Installs the log (as above) and sends FFmpeg's lines, up to its current log level, to sink;
// nullptr drops them again.
void set_media_log_sink(MediaLogSink sink);

}  // namespace voxtrelle
