// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/button.h>
#include <wx/panel.h>

namespace voxtrelle {

// The eight edit buttons below the waveform, two rows of four. A click is sent on to the main
// frame as wxEVT_BUTTON with the button's id (cmd::kDeleteSelected ...); the frame enables and
// disables them.
class EditPanel : public wxPanel {
 public:
  explicit EditPanel(wxWindow* parent);

  // The button of one edit command, or nullptr.
  wxButton* Button(int command) const;

 private:
  void OnButton(wxCommandEvent& event);
};

}  // namespace voxtrelle
