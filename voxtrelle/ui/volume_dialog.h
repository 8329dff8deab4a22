// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dialog.h>

#include <memory>

#include "voxtrelle/ui/number_edit.h"
#include "voxtrelle/ui/volume_slider.h"

namespace voxtrelle {

// Slider position (-100..100) to volume percentage (0..500): 1 % a step below the centre,
// 4 % a step above it.
int VolumePercentFromSlider(int position);
// Volume percentage to slider position; values between two steps go to the nearer one.
int VolumeSliderFromPercent(int percent);

// "Change Volume": a slider and a combo box with presets, kept in step with each other.
// ShowModal() returns wxID_OK with Percentage() set, or wxID_CANCEL.
class VolumeDialog : public wxDialog {
 public:
  explicit VolumeDialog(wxWindow* owner);
  ~VolumeDialog() override;

  // The percentage chosen, 0..500; 100 until OK was pressed.
  int Percentage() const { return percentage_; }

  VolumeSlider* Slider() const { return slider_; }
  wxComboBox* Field() const { return combo_; }
  NumberEdit* FieldNumbers() const { return numbers_.get(); }
  wxButton* OkButton() const { return ok_; }

 private:
  void OnValueChanged(wxCommandEvent& event);
  void OnOk(wxCommandEvent& event);

  VolumeSlider* slider_ = nullptr;
  wxComboBox* combo_ = nullptr;
  wxButton* ok_ = nullptr;
  std::unique_ptr<NumberEdit> numbers_;
  int percentage_ = 100;
  bool reentrant_ = false;
};

}  // namespace voxtrelle
