// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/dialog_title.h"

#include <wx/dialog.h>

#include <algorithm>

namespace zentora {
namespace {

// A title bar's window icon and three buttons with their margins, in pixels.
constexpr int kTitleBarExtras = 120;

}  // namespace

void MakeRoomForTitle(wxDialog& dialog) {
  // Title bars usually draw the title in bold; measuring it so leaves a little to spare.
  const wxFont bold = dialog.GetFont().Bold();
  int titleWidth = 0, titleHeight = 0;
  dialog.GetTextExtent(dialog.GetTitle(), &titleWidth, &titleHeight, nullptr, nullptr, &bold);
  const wxSize size = dialog.GetSize();
  const int width = std::max(size.x, titleWidth + kTitleBarExtras);
  if (width == size.x) return;
  dialog.SetMinSize(wxSize(width, size.y));
  dialog.SetSize(wxSize(width, size.y));
}

}  // namespace zentora
