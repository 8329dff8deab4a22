// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The top band of the window: volume and mute, the jump step, the fine-tune step and the web
// page on the right.
#include <wx/panel.h>

#include "zentora/ui/window_drag.h"

class wxSlider;
class wxCheckBox;
class wxStaticText;

namespace zentora {

class CutterApp;
class HtmlPageHost;

class SettingsPanel : public wxPanel {
 public:
  SettingsPanel(wxWindow* parent, CutterApp& app);

  // Creates the web page host in its place on the right.
  void CreatePageHost(const wxString& address, bool allowWebView);
  HtmlPageHost* PageHost() const { return pageHost_; }
  // Shows the steps held in the settings.
  void ShowSteps();
  wxSlider* VolumeSlider() const { return volume_; }
  wxCheckBox* MuteBox() const { return mute_; }

 private:
  void OnSize(wxSizeEvent& event);

  CutterApp& app_;
  WindowDragger windowDrag_;
  wxSlider* volume_;
  wxCheckBox* mute_;
  wxStaticText* jumpValue_;      // 1027
  wxStaticText* fineTuneValue_;  // 1010
  wxWindow* lines_[5];           // 1000..1004
  HtmlPageHost* pageHost_ = nullptr;
};

}  // namespace zentora
