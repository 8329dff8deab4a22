// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/imaging/embedded_picture.h"

#include <algorithm>

namespace voxtrelle {

const EmbeddedPicture* FindPicture(PictureTable table, std::string_view name) {
  auto it = std::find_if(table.begin(), table.end(),
                         [name](const EmbeddedPicture& p) { return p.name == name; });
  return it == table.end() ? nullptr : &*it;
}

}  // namespace voxtrelle
