// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/cli/stream_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace voxtrelle::cli {
namespace {

// Direct writes need the buffer, the length and the file offset aligned to the device's
// block; 4 KiB suits every common device.
constexpr size_t kAlign = 4096;
// Bytes gathered before a write.
constexpr size_t kWriteBytes = size_t{1} << 20;
constexpr size_t kBufferBytes = kWriteBytes + StreamOutput::kMaxReserve;

uint8_t* aligned_buffer() {
  return static_cast<uint8_t*>(std::aligned_alloc(kAlign, kBufferBytes));
}

bool write_all(int fd, const uint8_t* p, size_t n, uint64_t offset) {
  while (n > 0) {
    const ssize_t put = pwrite(fd, p, n, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    p += put;
    n -= static_cast<size_t>(put);
    offset += static_cast<uint64_t>(put);
  }
  return true;
}

bool set_direct(int fd, bool on) {
  const int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && fcntl(fd, F_SETFL, on ? flags | O_DIRECT : flags & ~O_DIRECT) == 0;
}

}  // namespace

StreamOutput::StreamOutput(int fd)
    : fd_(fd),
      direct_(set_direct(fd, true)),
      buffers_{Buffer(aligned_buffer(), std::free), Buffer(aligned_buffer(), std::free)},
      failed_(buffers_[0] == nullptr || buffers_[1] == nullptr),
      writer_([this] { writer_loop(); }) {}

StreamOutput::~StreamOutput() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  writer_.join();
}

void StreamOutput::writer_loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return job_ != nullptr || stopping_; });
    if (job_ == nullptr) return;
    const uint8_t* data = job_;
    const size_t bytes = job_bytes_;
    const uint64_t offset = job_offset_;
    lock.unlock();
    const bool ok = write_now(data, bytes, offset);
    lock.lock();
    failed_ = failed_ || !ok;
    job_ = nullptr;
    changed_.notify_all();
  }
}

// Only the writer thread writes, one piece at a time, so direct_ needs no lock.
bool StreamOutput::write_now(const uint8_t* data, size_t bytes, uint64_t offset) {
  if (write_all(fd_, data, bytes, offset)) return true;
  if (!direct_ || errno != EINVAL) return false;
  // Some file systems accept the flag and refuse the writes: write as everyone else does.
  direct_ = false;
  return set_direct(fd_, false) && write_all(fd_, data, bytes, offset);
}

bool StreamOutput::wait_idle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return job_ == nullptr; });
  return !failed_;
}

bool StreamOutput::hand_over(size_t bytes) {
  if (!wait_idle()) return false;
  uint8_t* full = buffers_[current_].get();
  current_ = 1 - current_;
  used_ -= bytes;
  std::memcpy(buffers_[current_].get(), full + bytes, used_);
  if (bytes == 0) return true;
  {
    std::lock_guard lock(mutex_);
    job_ = full;
    job_bytes_ = bytes;
    job_offset_ = offset_;
  }
  changed_.notify_all();
  offset_ += bytes;
  return true;
}

uint8_t* StreamOutput::reserve(size_t n) {
  if (n > kMaxReserve) return nullptr;
  if (used_ + n > kBufferBytes || used_ >= kWriteBytes) {
    if (!hand_over(used_ / kAlign * kAlign)) return nullptr;
  }
  return buffers_[current_].get() + used_;
}

bool StreamOutput::write(const void* bytes, size_t n) {
  const auto* p = static_cast<const uint8_t*>(bytes);
  while (n > 0) {
    const size_t piece = n < kMaxReserve ? n : kMaxReserve;
    uint8_t* room = reserve(piece);
    if (room == nullptr) return false;
    std::memcpy(room, p, piece);
    commit(piece);
    p += piece;
    n -= piece;
  }
  return true;
}

bool StreamOutput::finish() {
  if (!hand_over(used_ / kAlign * kAlign) || !wait_idle()) return false;
  if (used_ == 0) return true;
  // The last partial block goes through the page cache: direct writes take whole blocks only.
  if (direct_ && !set_direct(fd_, false)) return false;
  direct_ = false;
  if (!write_all(fd_, buffers_[current_].get(), used_, offset_)) return false;
  offset_ += used_;
  used_ = 0;
  return true;
}

}  // namespace voxtrelle::cli
