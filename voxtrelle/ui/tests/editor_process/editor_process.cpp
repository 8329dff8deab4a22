// SPDX-License-Identifier: GPL-3.0-or-later
// The editor as window tests start it in a process of its own: the main frame with the
// program's signal handling, which opens argv[1], runs the edit command argv[2] (0 for none)
// and then creates the file argv[3] to say it is ready. Ends like the editor: by its window
// closing or by a signal.
#include <wx/wx.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "voxtrelle/playback/wave_out_test.h"
#include "voxtrelle/ui/main_frame.h"
#include "voxtrelle/ui/quit_signals.h"

namespace voxtrelle {

class EditorProcessApp : public wxApp {
 public:
  bool OnInit() override {
    if (argc != 4) return false;
    const wxString input = argv[1];
    const int command = std::atoi(argv[2].utf8_str());
    const std::string ready = argv[3].utf8_string();
    frame_ = new MainFrame(std::make_unique<WaveOutTest>(
        [this](std::function<void()> call) { frame_->CallAfter(std::move(call)); }));
    frame_->Show();
    signals_ = std::make_unique<QuitSignals>(frame_);
    frame_->CallAfter([this, input, command, ready] {
      if (!frame_->LoadFile(input)) std::exit(3);
      if (command != 0) frame_->RunCommand(command);
      if (std::FILE* file = std::fopen(ready.c_str(), "w")) std::fclose(file);
    });
    return true;
  }
  int OnExit() override {
    signals_.reset();
    return wxApp::OnExit();
  }

 private:
  MainFrame* frame_ = nullptr;
  std::unique_ptr<QuitSignals> signals_;
};

}  // namespace voxtrelle

wxIMPLEMENT_APP(voxtrelle::EditorProcessApp);
