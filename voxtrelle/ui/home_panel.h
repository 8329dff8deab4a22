// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/image.h>
#include <wx/panel.h>

#include <array>

namespace voxtrelle {

class ImageButton;
class LinkLabel;

// The three 355 x 60 pictures of a start page button: 0 = the picture and its label on white,
// 1 = 0 with the pressed frame over it, 2 = 1 with the hover frame over it. An invalid picture
// leaves the pictures invalid (the button then draws its plain label).
std::array<wxImage, 3> BuildHomeButtonImages(const wxImage& picture, const wxString& label,
                                             const wxFont& font);

// The white panel in the middle of the start page: "Open a File for Editing", "Convert Mono Music
// to Stereo" and the maker's link. The buttons send Open (57601) and the converter's website
// (33136) to the main frame as menu commands.
class HomePanel : public wxPanel {
 public:
  static constexpr int kImageWidth = 355;
  static constexpr int kImageHeight = 60;

  explicit HomePanel(wxWindow* parent);

  ImageButton* OpenButton() const { return open_; }
  ImageButton* StereoButton() const { return stereo_; }
  LinkLabel* Link() const { return link_; }

 private:
  void OnButton(wxCommandEvent& event);

  ImageButton* open_ = nullptr;
  ImageButton* stereo_ = nullptr;
  LinkLabel* link_ = nullptr;
};

}  // namespace voxtrelle
