// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace voxtrelle::cli {

// Installs handlers for SIGINT, SIGTERM and SIGHUP that only raise a flag, so that a long load
// or save stops at its next progress check and cleans up instead of dying with temporary files
// and a half-written output behind it.
void install_interrupt_handlers();

// True once one of those signals arrived.
bool interrupted();

}  // namespace voxtrelle::cli
