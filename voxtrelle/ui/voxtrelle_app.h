// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/app.h>

#include <memory>

namespace voxtrelle {

class FfmpegMediaCodec;
class MainFrame;
class QuitSignals;

// The editor's application object: checks that the media libraries offer what loading and
// saving need, installs the codec, then builds the main frame and opens the command line's
// FILE, if any.
class VoxtrelleApp : public wxApp {
 public:
  VoxtrelleApp();
  ~VoxtrelleApp() override;

  bool OnInit() override;
  int OnRun() override;
  int OnExit() override;

 private:
  void OpenFromCommandLine(MainFrame* frame);

  std::unique_ptr<FfmpegMediaCodec> codec_;
  std::unique_ptr<QuitSignals> quit_signals_;
  bool not_installed_ = false;
};

}  // namespace voxtrelle
