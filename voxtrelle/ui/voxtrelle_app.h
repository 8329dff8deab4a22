// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/app.h>

namespace voxtrelle {

// The editor's application object: start-up checks, then the main frame.
class VoxtrelleApp : public wxApp {
 public:
  bool OnInit() override;
  int OnExit() override;
};

}  // namespace voxtrelle
