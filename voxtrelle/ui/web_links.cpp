// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/web_links.h"

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

}  // namespace voxtrelle::web
