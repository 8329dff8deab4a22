// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/resource_data.h"

namespace zentora {

std::span<const unsigned char> ResourceBytes(int id) {
  for (const ResourceBlob& blob : AllResourceBlobs())
    if (blob.id == id) return {blob.data, blob.size};
  return {};
}

}  // namespace zentora
