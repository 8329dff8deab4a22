// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/timer.h>
#include <wx/weakref.h>

#include <memory>
#include <vector>

namespace zentora {

class MainFrame;

// While it lives, SIGTERM, SIGHUP and SIGINT (a kill, a closed terminal, Ctrl+C, a desktop
// logout) end the cutter as its Exit command does: open dialogs are cancelled, the file is
// closed, the settings are saved and the window goes. GLib's unix signal sources carry the
// signal to the main loop; nothing runs inside the handler itself.
class QuitSignals {
 public:
  explicit QuitSignals(MainFrame* frame);
  ~QuitSignals();
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

 private:
  static int OnSignal(void* self);
  void Quit();

  wxWeakRef<MainFrame> frame_;
  std::vector<unsigned> sources_;
  std::unique_ptr<wxTimer> retry_;  // retries while dialogs are still closing
};

}  // namespace zentora
