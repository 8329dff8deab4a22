// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/string.h>

#include <string>

// The web addresses the editor shows and opens; the only place that names them.
namespace voxtrelle::web {

// The maker's website (Help "Website", the start page's link).
inline constexpr const char* kMakerSite = "https://voxtrelle.example/";
// The sibling mono-to-stereo converter's website (Tools "Bivandor", the start page's second
// button, the Convert to Stereo dialog).
inline constexpr const char* kConverterSite = "https://bivandor.example/";
// Added to every address the program opens, so the sites can tell where a visitor came from.
inline constexpr const char* kReferrerQuery = "ref=vxtl";

// site + "?ref=vxtl".
std::string WithReferrer(const char* site);
std::string MakerUrl();
std::string ConverterUrl();

// Opens url in the desktop's browser; true when one took it. A failure shows and prints
// nothing: a missing browser is the desktop's business.
bool OpenWebAddress(const wxString& url);

// The texts the links show: the host names without scheme and path.
inline constexpr const char* kMakerSiteText = "voxtrelle.example";
inline constexpr const char* kConverterSiteText = "bivandor.example";

}  // namespace voxtrelle::web
