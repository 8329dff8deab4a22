// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/volume_slider.h"

#include <wx/dcbuffer.h>
#include <wx/dialog.h>
#include <wx/settings.h>

#include <algorithm>

#include "voxtrelle/imaging/compose.h"
#include "voxtrelle/imaging/picture.h"
#include "voxtrelle/ui/focus_repaint.h"
#include "voxtrelle/ui/ui_pictures.h"
#include "voxtrelle/ui/value_changed_event.h"

namespace voxtrelle {

namespace {

// The slider sits on its dialog's background; light desktop themes give button shadows that are
// barely darker than that, so the channel's edge and fill are darkened enough to be seen.
wxColour Face(const wxWindow* self) {
  return self->GetParent() != nullptr ? self->GetParent()->GetBackgroundColour()
                                      : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
}
wxColour Shadow(const wxColour& face) {
  const wxColour system = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
  const int contrast =
      face.Red() + face.Green() + face.Blue() - system.Red() - system.Green() - system.Blue();
  return contrast >= 3 * 48 ? system : MixColours(face, *wxBLACK, 80);
}
wxColour Highlight() {
  return *wxWHITE;
}

// The flat channel colour: every component is (red of the face colour) / 3 + 170.
wxColour FlatColour(const wxColour& face) {
  const unsigned char v = static_cast<unsigned char>(face.Red() / 3 + 170);
  return wxColour(v, v, v);
}

}  // namespace

VolumeSlider::VolumeSlider(wxWindow* parent, wxWindowID id, int minimum, int maximum,
                           int trackLength)
    : wxControl(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxWANTS_CHARS),
      minimum_(minimum),
      maximum_(std::max(minimum, maximum)),
      position_(minimum),
      trackLength_(trackLength),
      thumb_(LoadPicture(UiPictures(), picture::kSliderThumb)) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetInitialSize(wxDefaultSize);
  Bind(wxEVT_PAINT, &VolumeSlider::OnPaint, this);
  Bind(wxEVT_LEFT_DOWN, &VolumeSlider::OnMouse, this);
  Bind(wxEVT_LEFT_UP, &VolumeSlider::OnMouse, this);
  Bind(wxEVT_MOTION, &VolumeSlider::OnMouse, this);
  Bind(wxEVT_MOUSEWHEEL, &VolumeSlider::OnMouse, this);
  Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent& e) {
    SetHot(false);
    e.Skip();
  });
  Bind(wxEVT_MOUSE_CAPTURE_LOST, [](wxMouseCaptureLostEvent&) {});
  Bind(wxEVT_KEY_DOWN, &VolumeSlider::OnKeyDown, this);
  RepaintOnFocusChange(this);
}

wxSize VolumeSlider::DoGetBestClientSize() const {
  return wxSize(trackLength_ + 2 * kMargin, kThumbHeight + 4);
}

void VolumeSlider::SetValue(int value) {
  value = std::clamp(value, minimum_, maximum_);
  if (value == position_) return;
  position_ = value;
  Refresh();
  wxCommandEvent changed(EVT_VALUE_CHANGED, GetId());
  changed.SetInt(position_);
  changed.SetEventObject(this);
  // Sent, not posted: the parent sees the new value before the next input is handled.
  if (GetParent() != nullptr) GetParent()->GetEventHandler()->ProcessEvent(changed);
}

void VolumeSlider::SetChannelStyle(ChannelStyle style) {
  style_ = style;
  Refresh();
}

void VolumeSlider::SetCentreMark(bool on) {
  centreMark_ = on;
  Refresh();
}

wxRect VolumeSlider::ThumbRect() const {
  const int height = GetClientSize().y;
  const int span = maximum_ - minimum_ + 1;
  const int left = static_cast<int>(double(position_ - minimum_) * trackLength_ / span + 0.5);
  return wxRect(left, (height - kThumbHeight) / 2, kThumbWidth, kThumbHeight);
}

wxRect VolumeSlider::ChannelRect() const {
  const wxSize size = GetClientSize();
  return wxRect(kMargin, (size.y - kChannelHeight) / 2, size.x - 2 * kMargin, kChannelHeight);
}

int VolumeSlider::PositionFromX(int x) const {
  if (x <= kMargin) return minimum_;
  if (x >= trackLength_ + kMargin) return maximum_;
  return static_cast<int>(double(maximum_ - minimum_) * (x - kMargin) / trackLength_ + minimum_ +
                          0.5);
}

wxImage VolumeSlider::Render() const {
  const wxSize size = GetClientSize();
  const wxColour face = Face(this);
  const wxColour shadow = Shadow(face);
  // The gradient starts half way to the shadow so that it shows on light themes too.
  const wxColour gradientStart = MixColours(face, shadow, 128);
  wxImage image = SolidImage(std::max(size.x, 1), std::max(size.y, 1), face);
  const wxRect channel = ChannelRect();
  const wxRect thumb = ThumbRect();
  if (channel.width > 2) {
    // Sunken outer edge: shadow on top and left, highlight on bottom and right.
    FillRect(image, wxRect(channel.x, channel.y, channel.width, 1), shadow);
    FillRect(image, wxRect(channel.x, channel.y, 1, channel.height), shadow);
    FillRect(image, wxRect(channel.x, channel.GetBottom(), channel.width, 1), Highlight());
    FillRect(image, wxRect(channel.GetRight(), channel.y, 1, channel.height), Highlight());
    SetCornerPixels(image, channel, face);

    const wxRect inside = channel.Deflate(1, 1);
    const int filledRight = std::min(thumb.x, inside.GetRight() + 1);
    for (int x = inside.x; x < filledRight; ++x) {
      wxColour colour;
      switch (style_) {
        case kFlat:
          colour = FlatColour(face);
          break;
        case kHorizontalGradient: {
          // 255 steps from the face colour to white, step h weighted h x h / 65025.
          const int h = std::min(254, (x - inside.x) * 255 / std::max(inside.width, 1));
          colour = MixColours(gradientStart, *wxWHITE, h * h * 255 / 65025);
          break;
        }
        case kVerticalGradient:
          colour = wxNullColour;
          break;
      }
      if (style_ == kVerticalGradient) {
        for (int y = inside.y; y <= inside.GetBottom(); ++y) {
          const int w = (y - inside.y) * 255 / std::max(inside.height - 1, 1);
          const wxColour c = MixColours(face, FlatColour(face), w);
          image.SetRGB(x, y, c.Red(), c.Green(), c.Blue());
        }
      } else {
        FillRect(image, wxRect(x, inside.y, 1, inside.height), colour);
      }
    }
    if (centreMark_) {
      FillRect(image, wxRect(trackLength_ / 2 + kMargin, inside.y, 1, inside.height), shadow);
    }
  }
  if (thumb_.IsOk()) {
    const int column = hot_ ? kThumbWidth : 0;
    StretchDraw(image, thumb, thumb_, wxRect(column, 0, kThumbWidth, kThumbHeight));
  } else {
    FillRect(image, thumb, Highlight());
  }
  SetCornerPixels(image, thumb, face);
  if (!IsEnabled()) BlendFill(image, wxRect(0, 0, size.x, size.y), face, 128);
  return image;
}

void VolumeSlider::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.DrawBitmap(wxBitmap(Render()), 0, 0);
  if (HasFocus()) {
    // A quiet dotted outline tells keyboard users where the arrows go.
    dc.SetPen(wxPen(Shadow(Face(this)), 1, wxPENSTYLE_DOT));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(ThumbRect().Inflate(1, 1));
  }
}

void VolumeSlider::OnMouse(wxMouseEvent& event) {
  if (!IsEnabled()) return;
  if (event.GetEventType() == wxEVT_MOUSEWHEEL) {
    const int rotation = event.GetWheelRotation();
    if (rotation > 0) SetValue(position_ + 1);
    if (rotation < 0) SetValue(position_ - 1);
    return;
  }
  if (event.LeftDown()) {
    if (!HasCapture()) CaptureMouse();
    SetFocus();
    SetValue(PositionFromX(event.GetX()));
  } else if (event.LeftUp()) {
    if (HasCapture()) ReleaseMouse();
  } else if (event.Dragging() && event.LeftIsDown() && HasCapture()) {
    SetValue(PositionFromX(event.GetX()));
  }
  SetHot(ThumbRect().Contains(event.GetPosition()));
  event.Skip();
}

void VolumeSlider::OnKeyDown(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_LEFT:
    case WXK_DOWN:
    case WXK_NUMPAD_LEFT:
    case WXK_NUMPAD_DOWN:
      SetValue(position_ - 1);
      return;
    case WXK_RIGHT:
    case WXK_UP:
    case WXK_NUMPAD_RIGHT:
    case WXK_NUMPAD_UP:
      SetValue(position_ + 1);
      return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      EndDialogWith(wxID_OK);
      return;
    case WXK_ESCAPE:
      EndDialogWith(wxID_CANCEL);
      return;
    case WXK_TAB:
      Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward
                                 : wxNavigationKeyEvent::IsForward);
      return;
    default:
      event.Skip();
  }
}

void VolumeSlider::SetHot(bool hot) {
  if (hot_ == hot) return;
  hot_ = hot;
  Refresh();
}

// Enter and Escape go to the dialog as its OK and Cancel buttons would.
void VolumeSlider::EndDialogWith(int id) {
  auto* dialog = wxDynamicCast(wxGetTopLevelParent(this), wxDialog);
  if (dialog == nullptr) return;
  const int buttonId = id == wxID_OK ? dialog->GetAffirmativeId() : dialog->GetEscapeId();
  wxWindow* button = dialog->FindWindow(buttonId == wxID_ANY ? id : buttonId);
  if (button != nullptr && !button->IsEnabled()) return;
  auto* click = new wxCommandEvent(wxEVT_BUTTON, buttonId == wxID_ANY ? id : buttonId);
  click->SetEventObject(button != nullptr ? button : dialog);
  dialog->GetEventHandler()->QueueEvent(click);
}

}  // namespace voxtrelle
