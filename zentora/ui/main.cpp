// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/program_options.h"
#include "zentora/ui/zentora_app.h"

wxIMPLEMENT_APP_NO_MAIN(zentora::ZentoraApp);

// --help and --version are answered before the toolkit starts, so they need no display.
int main(int argc, char** argv) {
  int status = 0;
  if (!zentora::AnswerWithoutWindow(argc, argv, status)) return status;
  return wxEntry(argc, argv);
}
