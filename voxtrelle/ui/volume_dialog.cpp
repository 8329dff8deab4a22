// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/volume_dialog.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>

#include "voxtrelle/ui/value_changed_event.h"

namespace voxtrelle {

namespace {

constexpr int kSliderId = 1103;
constexpr int kComboId = 1334;
constexpr int kTrackLength = 200;  // pixels
const char* const kPresets[] = {"10",  "20",  "30",  "40",  "50",  "75", "85",
                                "100", "125", "150", "200", "300", "500"};

}  // namespace

int VolumePercentFromSlider(int p) {
  int percent;
  if (p < -100) {
    percent = 0;
  } else if (p <= 0) {
    percent = p + 100;
  } else if (p <= 100) {
    percent = 4 * p + 100;
  } else {
    percent = 500;
  }
  return std::clamp(percent, 0, 500);
}

int VolumeSliderFromPercent(int v) {
  int position;
  if (v < 0) {
    position = -100;
  } else if (v <= 100) {
    position = v - 100;
  } else if (v <= 500) {
    position = static_cast<int>(std::trunc((v - 100) * 0.25 + 0.5));
  } else {
    position = 100;
  }
  return std::clamp(position, -100, 100);
}

VolumeDialog::VolumeDialog(wxWindow* owner)
    : wxDialog(owner, wxID_ANY, "Change Volume", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  reentrant_ = true;  // the set-up below must not bounce values between the two controls

  auto* label = new wxStaticText(this, wxID_ANY, "Volume (%):");
  slider_ = new VolumeSlider(this, kSliderId, -100, 100, kTrackLength);
  slider_->SetChannelStyle(VolumeSlider::kHorizontalGradient);
  slider_->SetCentreMark(true);
  slider_->SetValue(0);
  const int sliderHeight =
      std::max(ConvertDialogToPixels(wxSize(0, 11)).y, VolumeSlider::kThumbHeight);
  slider_->SetMinClientSize(wxSize(kTrackLength + 2 * VolumeSlider::kMargin, sliderHeight));

  wxArrayString presets;
  for (const char* preset : kPresets) presets.Add(preset);
  combo_ =
      new wxComboBox(this, kComboId, "", wxDefaultPosition, wxDefaultSize, presets, wxCB_DROPDOWN);
  // Wide enough for "500" and the drop-down button in any theme.
  combo_->SetMinSize(wxSize(combo_->GetTextExtent("5000").x + 48, -1));

  NumberEdit::Options options;
  options.minimum = 0;
  options.maximum = 500;
  options.defaultValue = 100;
  options.step = 1;
  options.maxLength = 3;
  numbers_ = std::make_unique<NumberEdit>(combo_, this, options);
  combo_->SetValue("100");

  ok_ = new wxButton(this, wxID_OK, "OK");
  auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");
  ok_->SetDefault();

  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(label, wxSizerFlags().CentreVertical());
  row->AddSpacer(FromDIP(6));
  row->Add(slider_, wxSizerFlags().CentreVertical());
  row->AddSpacer(FromDIP(6));
  row->Add(combo_, wxSizerFlags().CentreVertical());
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(ok_);
  buttons->AddSpacer(FromDIP(12));
  buttons->Add(cancel);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(row, wxSizerFlags().Border(wxALL, FromDIP(14)));
  top->Add(buttons, wxSizerFlags().Centre().Border(wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(14)));
  SetSizerAndFit(top);
  CentreOnParent();

  combo_->SetFocus();  // most people type the percentage
  Bind(EVT_VALUE_CHANGED, &VolumeDialog::OnValueChanged, this);
  Bind(wxEVT_BUTTON, &VolumeDialog::OnOk, this, wxID_OK);
  reentrant_ = false;
}

VolumeDialog::~VolumeDialog() = default;

void VolumeDialog::OnValueChanged(wxCommandEvent& event) {
  if (reentrant_) return;
  reentrant_ = true;
  if (event.GetEventObject() == slider_) {
    combo_->SetValue(wxString::Format("%d", VolumePercentFromSlider(event.GetInt())));
    combo_->SelectAll();
  } else if (event.GetEventObject() == combo_) {
    slider_->SetValue(VolumeSliderFromPercent(event.GetInt()));
    ok_->Enable(!combo_->GetValue().empty());
  }
  reentrant_ = false;
}

void VolumeDialog::OnOk(wxCommandEvent&) {
  // The slider follows the field through a queued event, which may not have run yet when the
  // last digit and Enter arrive together: bring it up to the field's number first.
  if (combo_->GetValue().empty()) return;  // OK is disabled for an empty field
  reentrant_ = true;
  slider_->SetValue(VolumeSliderFromPercent(numbers_->Value()));
  reentrant_ = false;
  percentage_ = VolumePercentFromSlider(slider_->GetValue());
  EndModal(wxID_OK);
}

}  // namespace voxtrelle
