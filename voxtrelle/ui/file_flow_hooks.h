// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>

#include "voxtrelle/ui/file_dialogs.h"
#include "voxtrelle/ui/message_box.h"

namespace voxtrelle {

// The questions the file flows ask the user. The main frame uses the real dialogs; window tests
// put their own answers in.
struct FileFlowHooks {
  // A message box over owner; returns wxOK, wxYES, wxNO or wxCANCEL.
  std::function<int(wxWindow* owner, const wxString& text, long style)> message =
      ShowCentredMessage;
  // The Open dialog; empty when cancelled.
  std::function<wxString(wxWindow* owner)> chooseOpen = ChooseOpenPath;
  // The Save As dialog; nothing when cancelled.
  std::function<std::optional<SaveAsChoice>(wxWindow* owner, const wxString& suggested,
                                            int filterIndex)>
      chooseSave = ChooseSavePath;
};

}  // namespace voxtrelle
