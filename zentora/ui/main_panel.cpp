// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/main_panel.h"

#include <wx/toolbar.h>
#include <wx/tooltip.h>

#include "zentora/core/cutter_app.h"
#include "zentora/core/text_table.h"
#include "zentora/ui/command_ids.h"
#include "zentora/ui/pictures.h"
#include "zentora/ui/position_bar.h"
#include "zentora/ui/settings_panel.h"
#include "zentora/ui/time_panel.h"
#include "zentora/ui/tip_strip.h"

namespace zentora {
namespace {

constexpr int kTooltipDelayMs = 50;

wxBitmap StripImage(int strip, int index) {
  static std::map<int, wxBitmap> strips;  // decoded once; the UI thread only
  wxBitmap& whole = strips[strip];
  if (!whole.IsOk()) whole = LoadPicture(strip);
  if (!whole.IsOk()) return wxBitmap(kToolbarButtonWidth, kToolbarButtonHeight);
  return whole.GetSubBitmap(
      wxRect(index * kToolbarButtonWidth, 0, kToolbarButtonWidth, kToolbarButtonHeight));
}

}  // namespace

MainPanel::MainPanel(wxWindow* parent, CutterApp& app, PlayView& view)
    : wxPanel(parent, 130, wxDefaultPosition, parent->GetClientSize(), wxBORDER_NONE) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);  // the children cover it all
  Bind(wxEVT_PAINT, [this](wxPaintEvent&) { wxPaintDC dc(this); });
  settings_ = new SettingsPanel(this, app);
  tip_ = new TipStrip(this, wxString::FromUTF8(LoadText(kTextUsageTip)));
  time_ = new TimePanel(this, view, wxString::FromUTF8(LoadText(kTextNotLoaded)));
  bar_ = new PositionBar(this, view);

  wxToolTip::SetDelay(kTooltipDelayMs);
  toolbar_ = new wxToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                           wxTB_HORIZONTAL | wxTB_FLAT | wxTB_BOTTOM | wxTB_NODIVIDER);
  toolbar_->SetToolBitmapSize(wxSize(kToolbarButtonWidth, kToolbarButtonHeight));
  for (const ToolbarSlot& slot : kToolbarLayout) {
    if (slot.command == 0)
      toolbar_->AddSeparator();
    else
      toolbar_->AddTool(WxId(slot.command), wxString(),
                        StripImage(kToolbarInitialStrip, slot.image));
  }
  toolbar_->Realize();
  loadedStrip_ = kToolbarInitialStrip;
  UpdateToolbar(app.snapshot());
  Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
    LayoutChildren();
    e.Skip();
  });
}

void MainPanel::LoadStrip(int strip) {
  if (strip == loadedStrip_) return;
  for (const ToolbarSlot& slot : kToolbarLayout)
    if (slot.command != 0)
      toolbar_->SetToolNormalBitmap(WxId(slot.command), StripImage(strip, slot.image));
  loadedStrip_ = strip;
  toolbar_->Refresh();
}

void MainPanel::UpdateToolbar(const CutterSnapshot& state) {
  LoadStrip(ToolbarStrip(state));
  for (const ToolbarSlot& slot : kToolbarLayout) {
    if (slot.command == 0) continue;
    toolbar_->EnableTool(WxId(slot.command), ToolbarButtonEnabled(slot.command, state));
    const int tip = ToolbarTooltip(slot.command, state);
    toolbar_->SetToolShortHelp(WxId(slot.command),
                               tip ? wxString::FromUTF8(LoadText(tip)) : wxString());
  }
}

wxSize MainPanel::SmallestLayoutSize() const {
  const wxSize toolbar = toolbar_->GetBestSize();
  return wxSize(toolbar.x, toolbar.y + 164);
}

void MainPanel::LayoutChildren() {
  const wxSize size = GetClientSize();
  const int toolbarHeight = toolbar_->GetBestSize().y;
  const int w = size.x, h = size.y - toolbarHeight;
  toolbar_->SetSize(0, h, w, toolbarHeight);
  settings_->SetSize(0, 0, w, 98);
  tip_->SetSize(0, 98, w, 26);
  time_->SetSize(0, 124, w, std::max(h - 164, 0));
  bar_->SetSize(0, h - 40, w, 40);
}

}  // namespace zentora
