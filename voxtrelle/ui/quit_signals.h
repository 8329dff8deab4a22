// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/weakref.h>

#include <vector>

namespace voxtrelle {

class MainFrame;

// While it lives, SIGTERM, SIGHUP and SIGINT (a kill, a closed terminal, Ctrl+C, a desktop
// logout) end the editor through MainFrame::QuitWithoutAsking. The signals reach the main loop
// through GLib's unix signal sources, which only wake the loop from the handler; all the work
// runs on the interface thread.
class QuitSignals {
 public:
  explicit QuitSignals(MainFrame* frame);
  ~QuitSignals();
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

 private:
  static int OnSignal(void* self);

  wxWeakRef<MainFrame> frame_;
  std::vector<unsigned> sources_;
};

}  // namespace voxtrelle
