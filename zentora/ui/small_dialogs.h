// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box (103) and the update notice (138).
#include <functional>

#include <wx/string.h>

class wxWindow;

namespace zentora {

void ShowAboutDialog(wxWindow* owner);
// Dialog 138 with string `textId` in its edit; "下载最新版" calls `download` and closes it.
void ShowUpdateNotice(wxWindow* owner, int textId, const std::function<void()>& download);

}  // namespace zentora
