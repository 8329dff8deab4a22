// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/dialog.h>

namespace voxtrelle {

class LinkLabel;

// "Convert to Stereo": explains that the conversion duplicates the mono track and points to the
// sibling converter. ShowModal() returns wxID_OK for "Proceed to Convert", else wxID_CANCEL.
class StereoDialog : public wxDialog {
 public:
  explicit StereoDialog(wxWindow* owner);
  LinkLabel* Link() const { return link_; }

 private:
  LinkLabel* link_ = nullptr;
};

}  // namespace voxtrelle
