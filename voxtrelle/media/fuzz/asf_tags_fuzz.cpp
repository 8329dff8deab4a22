// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the ASF tag reader and writer on a file made from the input: read the tags, write them
// back into a copy and read that again.
#include <cstdio>
#include <cstdlib>

#include "voxtrelle/audio/fuzz/fuzz_scratch.h"
#include "voxtrelle/audio/media_tags.h"
#include "voxtrelle/media/ffmpeg_media_codec.h"

namespace {

void check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "asf_tags_fuzz: %s\n", what);
    std::abort();
  }
}

void check_bounds(const voxtrelle::MediaTags& tags) {
  check(tags.rating < 100, "a rating of 100 or more was kept");
  check(tags.year <= 9999, "a year of more than four digits");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& scratch = voxtrelle::fuzz::scratch();
  voxtrelle::FfmpegMediaCodec codec;
  const std::string path = scratch.write_input("input.wma", data, size);
  voxtrelle::MediaTags tags;
  if (codec.read_tags(path, tags)) {
    check(tags.loaded, "read tags are not marked loaded");
    check_bounds(tags);
    const std::string copy = scratch.write_input("copy.wma", data, size);
    if (codec.write_tags(copy, tags)) {
      voxtrelle::MediaTags again;
      if (codec.read_tags(copy, again)) check_bounds(again);
    }
    std::remove(copy.c_str());
  } else {
    check(!tags.loaded && !tags.has_values(), "a failed read left tags behind");
  }
  scratch.expect_only_input(path, data, size);
  return 0;
}
