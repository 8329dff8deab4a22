// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/voxtrelle_app.h"

#include <wx/frame.h>

namespace voxtrelle {

bool VoxtrelleApp::OnInit() {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "Voxtrelle");
  frame->SetClientSize(600, 355);
  frame->Show();
  return true;
}

int VoxtrelleApp::OnExit() { return wxApp::OnExit(); }

}  // namespace voxtrelle
