// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/button.h>
#include <wx/panel.h>

#include <vector>

namespace voxtrelle {

// The 33-pixel strip under the menu bar: a row of flat buttons with 24 x 24 images, some with
// their text beside the image. A click is forwarded to the frame as the button's menu command;
// the frame sets the buttons' states at idle time. Play and Pause share one place.
class VeMainBar : public wxPanel {
 public:
  static constexpr int kHeight = 33;

  explicit VeMainBar(wxWindow* parent);

  // Shows Pause in the shared place (true) or Play (false).
  void ShowPause(bool pause);
  bool showing_pause() const { return showing_pause_; }
  // Enables a button; does nothing when the state is unchanged.
  void EnableTool(int id, bool enable);
  bool IsToolEnabled(int id) const;
  bool IsToolShown(int id) const;
  wxButton* Tool(int id) const;
  // The height the strip needs: 33 pixels, or more when the desktop's buttons are taller.
  int StripHeight() const;

 private:
  void OnButton(wxCommandEvent& event);

  std::vector<wxButton*> tools_;
  bool showing_pause_ = false;
};

}  // namespace voxtrelle
