// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/image_button.h"

#include <wx/dcbuffer.h>

#include "voxtrelle/ui/focus_repaint.h"

namespace voxtrelle {

ImageButton::ImageButton(wxWindow* parent, wxWindowID id, const wxString& label)
    : wxControl(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE) {
  SetLabel(label);
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetCursor(wxCursor(wxCURSOR_HAND));
  SetInitialSize();
  Bind(wxEVT_PAINT, &ImageButton::OnPaint, this);
  for (auto type :
       {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_MOTION, wxEVT_ENTER_WINDOW, wxEVT_LEAVE_WINDOW}) {
    Bind(type, &ImageButton::OnMouse, this);
  }
  Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
    pressed_ = false;
    Refresh();
  });
  Bind(wxEVT_KEY_DOWN, &ImageButton::OnKeyDown, this);
  RepaintOnFocusChange(this);
}

void ImageButton::SetImages(const wxBitmap& normal, const wxBitmap& pressed,
                            const wxBitmap& hover) {
  images_[kNormal] = normal;
  images_[kPressed] = pressed.IsOk() ? pressed : normal;
  images_[kHover] = hover.IsOk() ? hover : normal;
  InvalidateBestSize();
  SetSize(GetBestSize());
  SetMinSize(GetBestSize());
  Refresh();
}

ImageButton::State ImageButton::CurrentState() const {
  if (pressed_ && pointerIn_) return kPressed;
  if (hover_ || HasFocus()) return kHover;
  return kNormal;
}

wxSize ImageButton::DoGetBestClientSize() const {
  if (HasImages()) return images_[0].GetSize();
  const wxSize text = GetTextExtent(GetLabel());
  return wxSize(text.x + 24, text.y + 16);
}

void ImageButton::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
  dc.Clear();
  const wxBitmap& image = images_[CurrentState()];
  if (image.IsOk()) {
    dc.DrawBitmap(image, 0, 0);
  } else {
    dc.SetFont(GetFont());
    dc.SetTextForeground(GetForegroundColour());
    dc.DrawLabel(GetLabel(), GetClientRect(), wxALIGN_CENTRE);
  }
}

void ImageButton::OnMouse(wxMouseEvent& event) {
  event.Skip();
  const bool inside = GetClientRect().Contains(event.GetPosition());
  const State before = CurrentState();
  if (event.Entering()) hover_ = true;
  if (event.Leaving()) hover_ = false;
  pointerIn_ = inside && !event.Leaving();
  if (event.LeftDown()) {
    pressed_ = true;
    if (!HasCapture()) CaptureMouse();
  } else if (event.LeftUp() && pressed_) {
    pressed_ = false;
    if (HasCapture()) ReleaseMouse();
    if (inside) Click();
  }
  if (event.Moving() || event.Dragging()) hover_ = inside;
  if (CurrentState() != before) Refresh();
}

void ImageButton::OnKeyDown(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key == WXK_SPACE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
    Click();
    return;
  }
  event.Skip();
}

void ImageButton::Click() {
  Refresh();
  wxCommandEvent click(wxEVT_BUTTON, GetId());
  click.SetEventObject(this);
  ProcessWindowEvent(click);
}

}  // namespace voxtrelle
