// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The windows of cutting and repair: the save dialog and the checks of the chosen name, the
// cut-point method (153), the cutting dialog (129) and the repair dialog (131).
#include <wx/string.h>

#include <cstdint>
#include <optional>
#include <string>

#include "zentora/ui/frame_hooks.h"

class wxWindow;

namespace zentora {

// The save dialog of the cut flow: the chosen path, or an empty string on Cancel.
wxString AskCutOutput(wxWindow* owner);

// The cut flow for a valid cut request: asks for the output (through `hooks`), checks it,
// asks for the method and runs the splitter under the cutting dialog. Every result is shown
// to the user.
void RunCutFlow(wxWindow* owner, const FrameHooks& hooks, const std::string& inputPath,
                int32_t pointA, int32_t pointB);

// Dialog 153; true for "逐帧计算" (frame by frame), false for "位率估计". Only its OK button
// closes it; nothing is answered when the window ended it on its way out.
std::optional<bool> AskCutMethod(wxWindow* owner);

// Runs `mp3val -f path` under dialog 131 and returns when the tool has ended.
void RunRepairDialog(wxWindow* owner, const std::string& path);

// Shows `path` selected in the desktop's file manager, or its folder when that cannot be done.
void ShowInFileManager(const std::string& path);

}  // namespace zentora
