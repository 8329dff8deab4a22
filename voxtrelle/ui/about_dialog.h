// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/dialog.h>

#include <string>
#include <string_view>

namespace voxtrelle {

class LinkLabel;

// "Version %d.%d.%d  (Build %d)" from a product version split at every "." or ","; empty unless
// the version has exactly four parts.
std::string AboutVersionText(std::string_view productVersion);

// "About Pellumio": program name, version line, a line about the program and the maker's link.
class AboutDialog : public wxDialog {
 public:
  AboutDialog(wxWindow* parent, std::string_view productVersion);
  explicit AboutDialog(wxWindow* parent);

  wxString VersionText() const;
  LinkLabel* Link() const { return link_; }

 private:
  wxWindow* version_ = nullptr;
  LinkLabel* link_ = nullptr;
};

}  // namespace voxtrelle
