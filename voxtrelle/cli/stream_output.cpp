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

uint8_t* aligned_buffer(size_t bytes) {
  return static_cast<uint8_t*>(std::aligned_alloc(kAlign, bytes));
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

}  // namespace

StreamOutput::StreamOutput(int fd)
    : fd_(fd), buffer_(aligned_buffer(kWriteBytes + kMaxReserve), std::free) {
  const int flags = fcntl(fd_, F_GETFL);
  direct_ = flags >= 0 && fcntl(fd_, F_SETFL, flags | O_DIRECT) == 0;
  failed_ = buffer_ == nullptr;
}

StreamOutput::~StreamOutput() = default;

uint8_t* StreamOutput::reserve(size_t n) {
  if (failed_ || n > kMaxReserve) return nullptr;
  if (used_ + n > kWriteBytes + kMaxReserve || used_ >= kWriteBytes) {
    if (!write_blocks(used_ / kAlign * kAlign)) return nullptr;
  }
  return buffer_.get() + used_;
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

// Writes the first `bytes` of the buffer (a multiple of the alignment) and keeps the rest.
bool StreamOutput::write_blocks(size_t bytes) {
  if (bytes == 0) return true;
  bool ok = write_all(fd_, buffer_.get(), bytes, offset_);
  if (!ok && direct_ && errno == EINVAL) {
    // Some file systems accept the flag and refuse the writes: write as everyone else does.
    direct_ = false;
    const int flags = fcntl(fd_, F_GETFL);
    ok = flags >= 0 && fcntl(fd_, F_SETFL, flags & ~O_DIRECT) == 0 &&
         write_all(fd_, buffer_.get(), bytes, offset_);
  }
  if (!ok) {
    failed_ = true;
    return false;
  }
  offset_ += bytes;
  used_ -= bytes;
  std::memmove(buffer_.get(), buffer_.get() + bytes, used_);
  return true;
}

bool StreamOutput::finish() {
  if (failed_ || !write_blocks(used_ / kAlign * kAlign)) return false;
  if (used_ == 0) return true;
  // The last partial block goes through the page cache.
  if (direct_) {
    const int flags = fcntl(fd_, F_GETFL);
    if (flags < 0 || fcntl(fd_, F_SETFL, flags & ~O_DIRECT) != 0) return false;
    direct_ = false;
  }
  return write_blocks(used_) && used_ == 0;
}

}  // namespace voxtrelle::cli
