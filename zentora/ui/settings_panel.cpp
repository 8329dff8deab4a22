// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/settings_panel.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/slider.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include "zentora/core/cutter_app.h"
#include "zentora/core/settings.h"
#include "zentora/ui/html_page_host.h"
#include "zentora/ui/step_dialog.h"

namespace zentora {

SettingsPanel::SettingsPanel(wxWindow* parent, CutterApp& app)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxSize(720, 98),
              wxBORDER_NONE | wxTAB_TRAVERSAL),
      app_(app),
      windowDrag_(this) {
  const Settings& settings = app_.settings();
  new wxStaticText(this, wxID_ANY, L"播放音量：", wxPoint(10, 10));
  volume_ = new wxSlider(this, 1005, VolumeToSliderPosition(settings.volume), kVolumeSliderMin,
                         kVolumeSliderMax, wxPoint(4, 32), wxSize(122, -1), wxSL_HORIZONTAL);
  volume_->SetThumbLength(kVolumeSliderThumb);
  mute_ = new wxCheckBox(this, 1006, L"静音", wxPoint(10, 66));
  mute_->SetValue(settings.mute != 0);

  new wxStaticText(this, wxID_ANY, L"跳跃一次：", wxPoint(142, 10));
  jumpValue_ = new wxStaticText(this, 1027, wxString(), wxPoint(152, 38), wxSize(24, -1),
                                wxALIGN_RIGHT | wxST_NO_AUTORESIZE);
  new wxStaticText(this, wxID_ANY, L"秒", wxPoint(180, 38));
  auto* jumpButton = new wxButton(this, 1007, L"修改…", wxPoint(142, 62), wxSize(80, 28));

  new wxStaticText(this, wxID_ANY, L"ab点微调一次：", wxPoint(247, 10));
  fineTuneValue_ = new wxStaticText(this, 1010, wxString(), wxPoint(252, 38), wxSize(36, -1),
                                    wxALIGN_RIGHT | wxST_NO_AUTORESIZE);
  new wxStaticText(this, wxID_ANY, L"毫秒", wxPoint(292, 38));
  auto* fineTuneButton = new wxButton(this, 1008, L"修改…", wxPoint(247, 62), wxSize(80, 28));

  for (int i = 0; i < 5; ++i)
    lines_[i] = new wxStaticLine(this, 1000 + i, wxDefaultPosition, wxSize(2, 2),
                                 i < 2 ? wxLI_HORIZONTAL : wxLI_VERTICAL);
  ShowSteps();

  volume_->Bind(wxEVT_SLIDER,
                [this](wxCommandEvent&) { app_.onVolumeSlider(volume_->GetValue()); });
  mute_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { app_.setMute(mute_->GetValue()); });
  jumpButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (auto step = AskJumpSeconds(wxGetTopLevelParent(this), app_.settings().jumpSeconds)) {
      app_.settings().jumpSeconds = *step;
      ShowSteps();
    }
  });
  fineTuneButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (auto step = AskFineTuneMs(wxGetTopLevelParent(this), app_.settings().fineTuneMs)) {
      app_.settings().fineTuneMs = *step;
      ShowSteps();
    }
  });
  Bind(wxEVT_SIZE, &SettingsPanel::OnSize, this);
  Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) { windowDrag_.Begin(e); });
}

void SettingsPanel::CreatePageHost(const wxString& address, bool allowWebView) {
  pageHost_ = new HtmlPageHost(this, address, allowWebView);
  wxSizeEvent resize(GetSize(), GetId());
  OnSize(resize);
}

void SettingsPanel::ShowSteps() {
  jumpValue_->SetLabel(wxString::Format("%d", app_.settings().jumpSeconds));
  fineTuneValue_->SetLabel(wxString::Format("%d", app_.settings().fineTuneMs));
}

void SettingsPanel::OnSize(wxSizeEvent& event) {
  const wxSize size = GetClientSize();
  const int w = size.x, h = size.y;
  lines_[0]->SetSize(0, 0, w + 1, 2);
  lines_[1]->SetSize(0, h - 2, w + 1, 2);
  const int columns[] = {130, 235, 350};
  for (int i = 0; i < 3; ++i) lines_[2 + i]->SetSize(columns[i], 0, 2, h);
  if (pageHost_) {
    pageHost_->SetSize(355, 5, std::max(w - 358, 0), std::max(h - 10, 0));
    pageHost_->Refresh();
  }
  event.Skip();
}

}  // namespace zentora
