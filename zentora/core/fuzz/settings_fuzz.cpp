// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the settings reader on an "options.ini" made from the input: whatever the file holds,
// the values come out within their bounds, and saving them and reading them back gives the same.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "zentora/core/settings.h"

namespace {

void check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "settings_fuzz: %s\n", what);
    std::abort();
  }
}

// The program's own folder under $TMPDIR, removed at exit.
class Folder {
 public:
  Folder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/zt-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string file(const char* name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

const Folder& folder() {
  static Folder instance;
  return instance;
}

void check_bounds(const zentora::Settings& s) {
  check(s.volume >= -10000 && s.volume <= 0, "volume out of bounds");
  check(s.jumpSeconds >= 1 && s.jumpSeconds <= 9, "jump out of bounds");
  check(s.fineTuneMs >= 30 && s.fineTuneMs <= 900, "fine tune out of bounds");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = folder().file("options.ini");
  FILE* f = std::fopen(input.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size != 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);

  std::string error;
  const zentora::Settings loaded = zentora::LoadSettings(input, &error);
  check(error.empty(), "a readable file was reported unreadable");
  check_bounds(loaded);

  const std::string saved = folder().file("saved.ini");
  check(zentora::SaveSettings(saved, loaded, &error) == 1, "saving failed");
  const zentora::Settings again = zentora::LoadSettings(saved, &error);
  check(again.mute == loaded.mute && again.volume == loaded.volume &&
            again.jumpSeconds == loaded.jumpSeconds && again.fineTuneMs == loaded.fineTuneMs,
        "saved settings read back differently");
  return 0;
}
