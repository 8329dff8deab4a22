// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace voxtrelle::cli {

// Sequential writes of a new file from its start through two aligned buffers: while one is
// filled, a writer thread writes the other. Whole blocks go to the disk directly (O_DIRECT)
// where the file system allows it: the output then takes no page cache, whose freshly
// allocated pages cost more to fill on some virtual machines than the whole edit costs to
// compute. Elsewhere the writes are ordinary ones.
class StreamOutput {
 public:
  // fd: an empty file open for writing, owned by the caller.
  explicit StreamOutput(int fd);
  ~StreamOutput();
  StreamOutput(const StreamOutput&) = delete;
  StreamOutput& operator=(const StreamOutput&) = delete;

  // Room for n more bytes (n <= kMaxReserve), to be filled and then committed; nullptr when a
  // write failed.
  static constexpr size_t kMaxReserve = size_t{1} << 17;
  uint8_t* reserve(size_t n);
  void commit(size_t n) { used_ += n; }
  bool write(const void* bytes, size_t n);
  // Writes what is left and waits for it. Returns false when any write failed.
  bool finish();

 private:
  using Buffer = std::unique_ptr<uint8_t, void (*)(void*)>;

  // Hands the first `bytes` of the current buffer (whole blocks) to the writer and goes on in
  // the other buffer with the rest.
  bool hand_over(size_t bytes);
  // Waits until the writer is idle; false when its last write failed.
  bool wait_idle();
  void writer_loop();
  bool write_now(const uint8_t* data, size_t bytes, uint64_t offset);

  int fd_;
  bool direct_ = false;
  Buffer buffers_[2];
  int current_ = 0;
  size_t used_ = 0;
  uint64_t offset_ = 0;  // file bytes handed to the writer so far

  std::mutex mutex_;
  std::condition_variable changed_;
  const uint8_t* job_ = nullptr;  // guarded by mutex_: the writer's next piece, if any
  size_t job_bytes_ = 0;
  uint64_t job_offset_ = 0;
  bool failed_ = false;
  bool stopping_ = false;
  std::thread writer_;
};

}  // namespace voxtrelle::cli
