// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "voxtrelle/audio/progress.h"

namespace voxtrelle::cli {

// The root progress sink of one load or save: draws a bar on standard error when it is a
// terminal (nothing otherwise) and reports a cancel request once an interrupt arrived.
class TerminalProgress : public ProgressSink {
 public:
  // label: what is being done ("Loading in.wav").
  explicit TerminalProgress(std::string label);
  ~TerminalProgress() override;

  int is_cancel_requested() override;
  void position_changed() override;
  // A command-line run has no desktop of its own to keep responsive: it never pauses, and a
  // user who wants it to run gently starts it with nice.
  bool yields_cpu() const override { return false; }

  // Removes the bar from the terminal line.
  void finish();

 private:
  void draw();

  std::string label_;
  bool visible_;
  bool drawn_ = false;
  int32_t last_percent_ = -1;
};

}  // namespace voxtrelle::cli
