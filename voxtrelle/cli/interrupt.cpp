// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/cli/interrupt.h"

#include <csignal>
#include <initializer_list>

namespace voxtrelle::cli {
namespace {
// The one thing a signal handler may safely touch.
volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void on_signal(int) {
  g_interrupted = 1;
}
}  // namespace

void install_interrupt_handlers() {
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal_number, &action, nullptr);
}

bool interrupted() {
  return g_interrupted != 0;
}

}  // namespace voxtrelle::cli
