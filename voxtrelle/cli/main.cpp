// SPDX-License-Identifier: GPL-3.0-or-later
// voxtrelle-cli: the editor's load, edits and save from the command line.
#include <string>
#include <vector>

#include "voxtrelle/audio/media_codec.h"
#include "voxtrelle/cli/cli_main.h"
#include "voxtrelle/cli/interrupt.h"

#ifdef VOXTRELLE_CLI_HAS_MEDIA
#include "voxtrelle/media/ffmpeg_media_codec.h"
#endif

int main(int argc, char** argv) {
  voxtrelle::cli::install_interrupt_handlers();
#ifdef VOXTRELLE_CLI_HAS_MEDIA
  voxtrelle::FfmpegMediaCodec codec;
  voxtrelle::install_media_codec(&codec);
#endif
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int status = voxtrelle::cli::run_command_line(args);
  voxtrelle::install_media_codec(nullptr);
  return status;
}
