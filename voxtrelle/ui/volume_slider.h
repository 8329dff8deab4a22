// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/image.h>

namespace voxtrelle {

// The Change Volume dialog's slider: a 9-pixel channel with a gradient fill left of a 7 x 13
// thumb and a centre mark, drawn double-buffered. Mouse, arrow keys and wheel move it; Enter and
// Escape end the dialog it sits in with OK or Cancel. Every change of position is sent to the
// parent as EVT_VALUE_CHANGED.
class VolumeSlider : public wxControl {
 public:
  enum ChannelStyle { kFlat = 0, kHorizontalGradient = 1, kVerticalGradient = 2 };

  static constexpr int kThumbWidth = 7;
  static constexpr int kThumbHeight = 13;
  static constexpr int kChannelHeight = 9;
  static constexpr int kMargin = 3;  // from the control's sides to the channel

  VolumeSlider(wxWindow* parent, wxWindowID id, int minimum, int maximum, int trackLength);

  int GetValue() const { return position_; }
  // Limits value to [minimum, maximum]; on a change repaints and notifies the parent.
  void SetValue(int value);
  void SetChannelStyle(ChannelStyle style);
  void SetCentreMark(bool on);

  int GetMinimum() const { return minimum_; }
  int GetMaximum() const { return maximum_; }
  int GetTrackLength() const { return trackLength_; }

  // Geometry of the current client size, in client pixels.
  wxRect ThumbRect() const;
  wxRect ChannelRect() const;
  // The position a click at client x selects.
  int PositionFromX(int x) const;
  bool IsThumbHot() const { return hot_; }

  // The control as it looks now (the paint handler copies this to the screen).
  wxImage Render() const;

 protected:
  wxSize DoGetBestClientSize() const override;
  bool AcceptsFocus() const override { return IsEnabled(); }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnMouse(wxMouseEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void SetHot(bool hot);
  void EndDialogWith(int id);

  int minimum_;
  int maximum_;
  int position_;
  int trackLength_;
  ChannelStyle style_ = kFlat;
  bool centreMark_ = false;
  bool hot_ = false;
  wxImage thumb_;  // 14 x 13: normal thumb in columns 0-6, highlighted in 7-13
};

}  // namespace voxtrelle
