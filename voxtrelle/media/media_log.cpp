// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/media_log.h"

#include <atomic>
#include <cstdarg>
#include <mutex>

extern "C" {
#include <libavutil/log.h>
}

namespace voxtrelle {
namespace {

// FFmpeg's log is process-wide, so its sink is too.
std::atomic<MediaLogSink> g_sink{nullptr};

void forward(void* context, int level, const char* format, va_list args) {
  const MediaLogSink sink = g_sink.load(std::memory_order_acquire);
  if (sink == nullptr || level > av_log_get_level()) return;
  // A line may come in several calls; only the first of them gets the "[codec @ ...]" prefix.
  thread_local int print_prefix = 1;
  char line[1024];
  av_log_format_line2(context, level, format, args, line, sizeof line, &print_prefix);
  if (line[0] != '\0') sink(line);
}

}  // namespace

void install_media_log() {
  static std::once_flag installed;
  std::call_once(installed, [] { av_log_set_callback(forward); });
}

void set_media_log_sink(MediaLogSink sink) {
  install_media_log();
  g_sink.store(sink, std::memory_order_release);
}

}  // namespace voxtrelle
