// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/asf_length.h"

#include <taglib/asfproperties.h>

#include "voxtrelle/media/asf_header.h"

namespace voxtrelle {

double asf_declared_seconds(const std::string& path) {
  if (path.empty()) return 0.0;
  AsfHeader header(path, true);
  const TagLib::ASF::Properties* properties =
      header.file() != nullptr ? header.file()->audioProperties() : nullptr;
  if (properties == nullptr) return 0.0;
  return properties->lengthInMilliseconds() / 1000.0;
}

}  // namespace voxtrelle
