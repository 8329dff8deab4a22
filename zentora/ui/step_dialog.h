// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two step dialogs of the settings panel: "跳跃一次大小" (135) and "ab点微调一次大小" (134).
#include <cstdint>
#include <optional>

class wxWindow;

namespace zentora {

// Dialog 135; the new jump step in seconds after OK, nothing after Cancel.
std::optional<int32_t> AskJumpSeconds(wxWindow* owner, int32_t current);
// Dialog 134; the new fine-tune step in ms after OK, nothing after Cancel.
std::optional<int32_t> AskFineTuneMs(wxWindow* owner, int32_t current);

}  // namespace zentora
