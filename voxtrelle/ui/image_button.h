// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/bitmap.h>
#include <wx/control.h>

namespace voxtrelle {

// A push button drawn only from three pictures: normal, pressed (while the mouse is held down on
// it) and hover (while the pointer is over it or it has the keyboard focus). Releasing the mouse
// over it, or Space / Enter, sends wxEVT_BUTTON with its id. No border, no focus rectangle.
class ImageButton : public wxControl {
 public:
  enum State { kNormal = 0, kPressed = 1, kHover = 2 };

  ImageButton(wxWindow* parent, wxWindowID id, const wxString& label);

  // Sets the three pictures and resizes the button to them. Without pictures the button draws
  // its label on the parent's background.
  void SetImages(const wxBitmap& normal, const wxBitmap& pressed, const wxBitmap& hover);
  bool HasImages() const { return images_[0].IsOk(); }

  State CurrentState() const;

 protected:
  wxSize DoGetBestClientSize() const override;
  bool AcceptsFocusFromKeyboard() const override { return IsEnabled(); }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnMouse(wxMouseEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void Click();

  wxBitmap images_[3];
  bool hover_ = false;
  bool pressed_ = false;    // the mouse went down on the button and is still held
  bool pointerIn_ = false;  // the pointer is over the button
};

}  // namespace voxtrelle
