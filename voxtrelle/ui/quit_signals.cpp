// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/quit_signals.h"

#include <glib-unix.h>

#include <csignal>

#include "voxtrelle/ui/main_frame.h"

namespace voxtrelle {

QuitSignals::QuitSignals(MainFrame* frame) : frame_(frame) {
  for (const int signal_number : {SIGTERM, SIGHUP, SIGINT}) {
    sources_.push_back(g_unix_signal_add(signal_number, &QuitSignals::OnSignal, this));
  }
}

QuitSignals::~QuitSignals() {
  for (const unsigned source : sources_) g_source_remove(source);
}

int QuitSignals::OnSignal(void* self) {
  auto* signals = static_cast<QuitSignals*>(self);
  // Runs as a wx event, so that what it destroys is reaped at the loop's next idle time.
  if (MainFrame* frame = signals->frame_.get()) frame->CallAfter(&MainFrame::QuitWithoutAsking);
  return G_SOURCE_CONTINUE;
}

}  // namespace voxtrelle
