// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/asf_length.h"

#include <taglib/asffile.h>
#include <taglib/asfproperties.h>

namespace voxtrelle {

double asf_declared_seconds(const std::string& path) {
  if (path.empty()) return 0.0;
  TagLib::ASF::File file(path.c_str(), true, TagLib::AudioProperties::Fast);
  const TagLib::ASF::Properties* properties = file.isValid() ? file.audioProperties() : nullptr;
  if (properties == nullptr) return 0.0;
  return properties->lengthInMilliseconds() / 1000.0;
}

}  // namespace voxtrelle
