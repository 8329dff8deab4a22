// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program: start-up in its fixed order, then the message loop.
#include <wx/app.h>

#include <memory>
#include <string>

#include "zentora/core/instance_lock.h"
#include "zentora/ui/frame_hooks.h"

namespace zentora {

class MainFrame;
class QuitSignals;

// Loads the settings, builds the window and runs the required-files check. On a failed check
// the settings are saved, the window destroyed and nullptr returned. Otherwise the update
// check and the usage report are started against `serverBase`.
MainFrame* StartUp(const FrameHooks& hooks, const std::string& serverBase);

class ZentoraApp : public wxApp {
 public:
  ZentoraApp();
  ~ZentoraApp() override;
  bool OnInit() override;
  int OnExit() override;

 private:
  // Opens the FILE named on the command line, if any, once the window is shown.
  void OpenFromCommandLine(MainFrame* frame);

  // Created at start and kept; a second copy of the program is not prevented.
  std::unique_ptr<InstanceLock> instanceLock_;
  std::unique_ptr<QuitSignals> quitSignals_;
};

}  // namespace zentora
