// SPDX-License-Identifier: GPL-3.0-or-later
// MainFrame: taking over the unsaved audio of an editor that died.
#include <vector>

#include "voxtrelle/audio/document_names.h"
#include "voxtrelle/audio/recovery_record.h"
#include "voxtrelle/ui/format_time.h"
#include "voxtrelle/ui/main_frame.h"
#include "voxtrelle/ui/ve_view.h"

namespace voxtrelle {

namespace {

wxString RecoveryQuestion(const RecoveryInfo& info) {
  const std::string name = display_name_for(info.loaded_path, info.saved_path);
  const double ms = info.format.nSamplesPerSec == 0
                        ? 0.0
                        : 1000.0 * info.frames / static_cast<double>(info.format.nSamplesPerSec);
  return wxString::Format(
      "Voxtrelle ended without saving the changes to \"%s\".\n"
      "Length of the unsaved audio: %s\n\n"
      "Do you want to recover it?",
      wxString::FromUTF8(name), wxString::FromUTF8(FormatTime(ms)));
}

}  // namespace

void MainFrame::RecoverUnsavedAudio() {
  if (!document_.is_empty() || document_busy()) return;
  std::vector<StaleDocument> stale = collect_stale_documents();
  for (StaleDocument& candidate : stale) {
    const int answer =
        file_hooks_.message(this, RecoveryQuestion(candidate.info()), wxYES_NO | wxICON_QUESTION);
    if (answer != wxYES || !document_.adopt_recovered(candidate)) {
      candidate.discard();
      continue;
    }
    // Others left for the next start: one document at a time.
    player_.Clear();
    edit_view_->PrepareNow();
    ShowEditView(true);
    UpdateAll();
    return;
  }
}

}  // namespace voxtrelle
