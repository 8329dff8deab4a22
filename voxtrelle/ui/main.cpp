// SPDX-License-Identifier: GPL-3.0-or-later
#include <wx/wx.h>

#include "voxtrelle/ui/program_options.h"
#include "voxtrelle/ui/voxtrelle_app.h"

wxIMPLEMENT_APP_NO_MAIN(voxtrelle::VoxtrelleApp);

// --help and --version are answered before the toolkit starts, so they need no display.
int main(int argc, char** argv) {
  int status = 0;
  if (!voxtrelle::AnswerWithoutWindow(argc, argv, status)) return status;
  return wxEntry(argc, argv);
}
