// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures compiled into the program, by resource number.
#include <cstddef>
#include <span>

namespace zentora {

struct ResourceBlob {
  int id;
  const unsigned char* data;
  std::size_t size;
};

// Every embedded picture file (PNG or GIF), ordered by file name.
std::span<const ResourceBlob> AllResourceBlobs();

// The bytes of resource `id`; empty when there is no such resource.
std::span<const unsigned char> ResourceBytes(int id);

}  // namespace zentora
