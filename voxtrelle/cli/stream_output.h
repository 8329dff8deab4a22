// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace voxtrelle::cli {

// Sequential writes of a new file from its start through one aligned buffer. Whole blocks go to
// the disk directly (O_DIRECT) where the file system allows it: the output then takes no page
// cache, whose freshly allocated pages cost more to fill on some virtual machines than the
// whole edit costs to compute. Elsewhere the writes are ordinary ones.
class StreamOutput {
 public:
  // fd: an empty file open for writing, owned by the caller.
  explicit StreamOutput(int fd);
  ~StreamOutput();
  StreamOutput(const StreamOutput&) = delete;
  StreamOutput& operator=(const StreamOutput&) = delete;

  // Room for n more bytes (n <= kMaxReserve), to be filled and then committed; nullptr when an
  // earlier write failed.
  static constexpr size_t kMaxReserve = size_t{1} << 17;
  uint8_t* reserve(size_t n);
  void commit(size_t n) { used_ += n; }
  bool write(const void* bytes, size_t n);
  // Writes what is left. Returns false when any write failed.
  bool finish();

 private:
  bool write_blocks(size_t bytes);

  int fd_;
  bool direct_ = false;
  bool failed_ = false;
  std::unique_ptr<uint8_t, void (*)(void*)> buffer_;
  size_t used_ = 0;
  uint64_t offset_ = 0;  // file bytes written so far
};

}  // namespace voxtrelle::cli
