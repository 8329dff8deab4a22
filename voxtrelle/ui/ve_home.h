// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/image.h>
#include <wx/window.h>

namespace voxtrelle {

class HomePanel;

// The start page shown while no file is open: a white page inside a 14-pixel picture frame with
// the HomePanel kept in its middle.
class VeHome : public wxWindow {
 public:
  static constexpr int kFrameCorner = 14;

  VeHome(wxWindow* parent, wxWindowID id = wxID_ANY);

  HomePanel* Panel() const { return panel_; }
  // The page as it is painted at the current size.
  wxImage Render() const;

 private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);

  HomePanel* panel_ = nullptr;
  wxImage frame_;
};

}  // namespace voxtrelle
