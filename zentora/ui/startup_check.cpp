// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/startup_check.h"

#include "zentora/core/gst_mp3_player.h"
#include "zentora/core/text_table.h"
#include "zentora/core/tool_process.h"

namespace zentora {

int CheckRequiredFiles() {
  for (const char* tool : {kRepairName, kSplitterName})
    if (FindTool(tool).empty()) return kTextFilesMissing;
  return CheckPlayerElements();
}

}  // namespace zentora
