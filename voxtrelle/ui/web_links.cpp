// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/web_links.h"

#include <wx/log.h>
#include <wx/utils.h>

namespace voxtrelle::web {

std::string WithReferrer(const char* site) {
  std::string url(site);
  url += '?';
  url += kReferrerQuery;
  return url;
}

std::string MakerUrl() {
  return WithReferrer(kMakerSite);
}
std::string ConverterUrl() {
  return WithReferrer(kConverterSite);
}

bool OpenWebAddress(const wxString& url) {
  // wx reports a failure as an error box with a system error number; the result is enough.
  wxLogNull quiet;
  return wxLaunchDefaultBrowser(url);
}

}  // namespace voxtrelle::web
