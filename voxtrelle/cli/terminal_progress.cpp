// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/cli/terminal_progress.h"

#include <unistd.h>

#include <cstdio>

#include "voxtrelle/cli/interrupt.h"

namespace voxtrelle::cli {
namespace {
constexpr uint32_t kTotal = 1000;
constexpr int kBarWidth = 30;
}  // namespace

TerminalProgress::TerminalProgress(std::string label)
    : ProgressSink(kTotal), label_(std::move(label)), visible_(isatty(STDERR_FILENO) == 1) {
  draw();
}

TerminalProgress::~TerminalProgress() {
  finish();
}

int TerminalProgress::is_cancel_requested() {
  if (interrupted()) request_cancel();
  return ProgressSink::is_cancel_requested();
}

void TerminalProgress::position_changed() {
  draw();
}

void TerminalProgress::draw() {
  if (!visible_) return;
  const int32_t now = static_cast<int32_t>(percent());
  if (now == last_percent_) return;
  last_percent_ = now;
  char bar[kBarWidth + 1];
  const int filled = now * kBarWidth / 100;
  for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '-';
  bar[kBarWidth] = '\0';
  std::fprintf(stderr, "\r\033[K%s [%s] %3d%%", label_.c_str(), bar, now);
  std::fflush(stderr);
  drawn_ = true;
}

void TerminalProgress::finish() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace voxtrelle::cli
