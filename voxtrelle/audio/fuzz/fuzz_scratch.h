// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The working folder of one fuzz program. $TMPDIR points into it, so every temporary file the
// code under test makes lands there and a leftover is caught after the input that left it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "voxtrelle/audio/progress.h"

namespace voxtrelle::fuzz {

// A progress sink that never sleeps between pages: a fuzz run waits for nothing else.
class BatchProgress : public ProgressSink {
 public:
  BatchProgress() : ProgressSink(1000) {}
  bool yields_cpu() const override { return false; }
};

class FuzzScratch {
 public:
  // Makes the folder, points $TMPDIR at it and caps the size of any file the process writes
  // at `file_limit` bytes (a larger write fails with EFBIG as on a full disk, without SIGXFSZ),
  // so a header that claims gigabytes cannot fill the machine's disk.
  explicit FuzzScratch(uint64_t file_limit = 16u << 20);
  ~FuzzScratch();
  FuzzScratch(const FuzzScratch&) = delete;
  FuzzScratch& operator=(const FuzzScratch&) = delete;

  // Writes data into the folder as `name` and returns its path.
  std::string write_input(const std::string& name, const uint8_t* data, size_t size) const;
  // Aborts when the input was changed or anything else is left in the folder.
  void expect_only_input(const std::string& path, const uint8_t* data, size_t size) const;
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};

// The one scratch folder of the program, made at first use.
FuzzScratch& scratch();

}  // namespace voxtrelle::fuzz
