// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the classification of the update server's answer: only a marker at the very start of
// the body counts, whatever bytes (zeros included) surround it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "zentora/core/update_client.h"

namespace {

bool starts_with(const uint8_t* data, size_t size, const char* marker) {
  const size_t n = std::strlen(marker);
  return size >= n && std::memcmp(data, marker, n) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  const zentora::UpdateAnswer answer = zentora::ClassifyUpdateAnswer(body);
  zentora::UpdateAnswer expected = zentora::UpdateAnswer::None;
  if (starts_with(data, size, "_tell")) {
    expected = zentora::UpdateAnswer::Notice;
  } else if (starts_with(data, size, "_must")) {
    expected = zentora::UpdateAnswer::Required;
  }
  if (answer != expected) {
    std::fprintf(stderr, "update_answer_fuzz: answer %d, expected %d\n", static_cast<int>(answer),
                 static_cast<int>(expected));
    std::abort();
  }
  return 0;
}
