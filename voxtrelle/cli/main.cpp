// SPDX-License-Identifier: GPL-3.0-or-later
// voxtrelle-cli: the editor's load, edits and save from the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "voxtrelle/audio/media_codec.h"
#include "voxtrelle/cli/cli_main.h"
#include "voxtrelle/cli/command_line.h"
#include "voxtrelle/cli/interrupt.h"

#ifdef VOXTRELLE_CLI_HAS_MEDIA
#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/media_log.h"
#endif

#ifdef VOXTRELLE_CLI_HAS_MEDIA
namespace {
void print_media_log(const char* line) {
  std::fputs(line, stderr);
}
}  // namespace
#endif

int main(int argc, char** argv) {
  voxtrelle::cli::install_interrupt_handlers();
  std::vector<std::string> args(argv + 1, argv + argc);
  [[maybe_unused]] const bool verbose = voxtrelle::cli::take_verbose_option(args);
#ifdef VOXTRELLE_CLI_HAS_MEDIA
  voxtrelle::FfmpegMediaCodec codec;
  voxtrelle::install_media_codec(&codec);
  if (verbose) voxtrelle::set_media_log_sink(print_media_log);
#endif
  const int status = voxtrelle::cli::run_command_line(args);
  voxtrelle::install_media_codec(nullptr);
  return status;
}
