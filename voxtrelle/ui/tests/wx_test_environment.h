// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/dialog.h>

#include <functional>

// Window tests run inside one wx application created before the first test (see
// wx_test_environment.cpp); they need a display (xvfb-run).
namespace voxtrelle::test {

// Handles everything queued for the windows, including posted events and CallAfter calls.
void Pump();

// Shows dialog modally and runs steps inside its modal loop; returns ShowModal's result. A
// dialog that the steps do not end is closed with wxID_ABORT after timeoutMs.
int RunModal(wxDialog& dialog, std::function<void()> steps, int timeoutMs = 5000);

// Sends a key-down (and nothing else) straight to window.
void SendKeyDown(wxWindow* window, int keyCode);

}  // namespace voxtrelle::test
