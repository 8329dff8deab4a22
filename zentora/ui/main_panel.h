// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's client area above the status bar: settings band, tip strip, time panel,
// position bar and the bottom toolbar, laid out by hand on each size change.
#include <wx/panel.h>

#include <map>

#include "zentora/core/cutter_tables.h"

class wxToolBar;

namespace zentora {

class CutterApp;
class PlayView;
class PositionBar;
class SettingsPanel;
class TimePanel;
class TipStrip;

class MainPanel : public wxPanel {
 public:
  MainPanel(wxWindow* parent, CutterApp& app, PlayView& view);

  SettingsPanel* Settings() const { return settings_; }
  TipStrip* Tip() const { return tip_; }
  TimePanel* Time() const { return time_; }
  PositionBar* Bar() const { return bar_; }
  wxToolBar* Toolbar() const { return toolbar_; }

  // Loads the image strip, the enabled buttons and the tooltips that match the state.
  void UpdateToolbar(const CutterSnapshot& state);
  // The resource number of the strip now in the toolbar (139..145).
  int LoadedStrip() const { return loadedStrip_; }
  void LayoutChildren();
  // The least client size the layout fits in: the toolbar's full width, and room for the
  // fixed bands above and below the time panel.
  wxSize SmallestLayoutSize() const;

 private:
  void LoadStrip(int strip);

  SettingsPanel* settings_;
  TipStrip* tip_;
  TimePanel* time_;
  PositionBar* bar_;
  wxToolBar* toolbar_;
  int loadedStrip_ = 0;
};

}  // namespace zentora
