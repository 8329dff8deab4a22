// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/about_dialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <boost/regex.hpp>
#include <cstdlib>
#include <vector>

#include "voxtrelle/ui/link_label.h"
#include "voxtrelle/ui/product_version.h"
#include "voxtrelle/ui/web_links.h"

namespace voxtrelle {

namespace {

std::string Trim(const std::string& text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

std::string AboutVersionText(std::string_view productVersion) {
  const std::string version(productVersion);
  static const boost::regex separator("\\.|,");
  std::vector<std::string> parts;
  for (boost::sregex_token_iterator it(version.begin(), version.end(), separator, -1), end;
       it != end; ++it) {
    parts.push_back(Trim(*it));
  }
  if (parts.size() != 4) return {};
  int numbers[4];
  for (int i = 0; i < 4; ++i)
    numbers[i] = static_cast<int>(std::strtol(parts[i].c_str(), nullptr, 10));
  char text[96];
  std::snprintf(text, sizeof text, "Version %d.%d.%d  (Build %d)", numbers[0], numbers[1],
                numbers[2], numbers[3]);
  return text;
}

AboutDialog::AboutDialog(wxWindow* parent) : AboutDialog(parent, kProductVersion) {}

AboutDialog::AboutDialog(wxWindow* parent, std::string_view productVersion)
    : wxDialog(parent, wxID_ANY, "About Pellumio", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  auto* name = new wxStaticText(this, wxID_ANY, "Voxtrelle");
  name->SetFont(GetFont().Bold().Scaled(1.4f));
  version_ = new wxStaticText(this, 1126, wxString::FromUTF8(AboutVersionText(productVersion)));
  auto* about = new wxStaticText(
      this, wxID_ANY, "A simple editor for WAV and WMA files: cut, fade and change the volume.");
  about->Wrap(FromDIP(320));
  auto* copyright =
      new wxStaticText(this, wxID_ANY, "Free software under the GNU GPL, version 3 or later.");
  link_ = new LinkLabel(this, 1127, web::kMakerSite);
  link_->SetUnderline(LinkLabel::Underline::kHover);
  link_->SetShowTooltip(true);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  ok->SetDefault();
  ok->SetFocus();
  SetEscapeId(wxID_OK);

  const int margin = FromDIP(16);
  const int gap = FromDIP(6);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->AddSpacer(margin);
  top->Add(name, wxSizerFlags().Border(wxLEFT | wxRIGHT, margin));
  top->AddSpacer(gap);
  top->Add(version_, wxSizerFlags().Border(wxLEFT | wxRIGHT, margin));
  top->AddSpacer(2 * gap);
  top->Add(about, wxSizerFlags().Border(wxLEFT | wxRIGHT, margin));
  top->AddSpacer(gap);
  top->Add(copyright, wxSizerFlags().Border(wxLEFT | wxRIGHT, margin));
  top->AddSpacer(2 * gap);
  top->Add(link_, wxSizerFlags().Border(wxLEFT | wxRIGHT, margin));
  top->AddSpacer(margin);
  top->Add(ok, wxSizerFlags().Right().Border(wxLEFT | wxRIGHT | wxBOTTOM, margin));
  SetSizerAndFit(top);
  CentreOnParent();
}

wxString AboutDialog::VersionText() const {
  return version_->GetLabel();
}

}  // namespace voxtrelle
