// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "voxtrelle/audio/wav_file.h"

namespace voxtrelle {

namespace {
// Initial mapping of a file opened for writing.
constexpr uint64_t kInitialWriteBytes = 4096;

uint64_t round_up(uint64_t n, uint64_t unit) {
  return (n + unit - 1) / unit * unit;
}

// Resolves seek(offset, origin) against position and size; false when negative.
bool seek_target(uint64_t position, uint64_t size, int64_t offset, int origin, uint64_t* out) {
  int64_t base = 0;
  if (origin == 1) {
    base = static_cast<int64_t>(position);
  } else if (origin == 2) {
    base = static_cast<int64_t>(size);
  } else if (origin != 0) {
    return false;
  }
  if (offset < 0 && base + offset < 0) return false;
  if (offset > 0 && base > INT64_MAX - offset) return false;
  *out = static_cast<uint64_t>(base + offset);
  return true;
}
}  // namespace

// ---- WavStream ----------------------------------------------------------------------------

WavStream::~WavStream() {
  close();
}

int WavStream::open_read(const std::string& path) {
  if (is_open() || !file_.open_existing(path, false)) return 0;
  size_ = file_.mapping_size();
  position_ = 0;
  return 1;
}

int WavStream::open_write(const std::string& path) {
  if (is_open() || path.empty()) return 0;
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return 0;
  return adopt_write(fd, path);
}

int WavStream::adopt_write(int fd, const std::string& path) {
  if (is_open() || !file_.adopt(fd, path, true)) return 0;
  if (!file_.resize(kInitialWriteBytes)) {
    file_.close();
    return 0;
  }
  size_ = 0;
  position_ = 0;
  return 1;
}

int WavStream::past_end() const {
  return position_ > size_;
}

int WavStream::at_end() const {
  return position_ >= size_;
}

int WavStream::is_open() const {
  return file_.is_open();
}

int WavStream::seek_absolute(uint64_t position) {
  if (!is_open()) return 0;
  position_ = position;
  return 1;
}

int WavStream::close() {
  if (!is_open()) return 1;
  const bool writable = file_.is_writable();
  file_.unmap();
  int ok = 1;
  // A written file grew in whole blocks: cut it to what was written.
  if (writable && size_ < file_.mapping_size()) ok = file_.resize(size_);
  file_.close();
  size_ = 0;
  position_ = 0;
  write_behind_ = false;
  written_back_ = 0;
  return ok;
}

// Reads and writes go through the descriptor: on a busy machine they run several times faster
// than building and tearing down a view per block, and they report a full disk as an error.
// The file still grows in whole blocks, reserved on disk first, and is cut to size at close.
int WavStream::grow_to(uint64_t end) {
  if (end <= file_.mapping_size()) return 1;
  return file_.resize(round_up(end, kBlockBytes));
}

size_t WavStream::read(void* buffer, size_t item_size, size_t count) {
  if (!is_open() || item_size == 0 || position_ >= size_) return 0;
  const uint64_t left = size_ - position_;
  const uint64_t items = std::min<uint64_t>(count, left / item_size);
  size_t n = static_cast<size_t>(items * item_size);
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < n) {
    const ssize_t got =
        pread(file_.fd(), out + done, n - done, static_cast<off_t>(position_ + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  const size_t whole = done / item_size;
  position_ += whole * item_size;
  return whole;
}

size_t WavStream::write(const void* buffer, size_t item_size, size_t count) {
  if (!is_open() || !file_.is_writable() || item_size == 0 || count == 0) return 0;
  if (count > SIZE_MAX / item_size) return 0;
  const size_t n = item_size * count;
  if (!grow_to(position_ + n)) return 0;
  const auto* in = static_cast<const uint8_t*>(buffer);
  size_t done = 0;
  while (done < n) {
    const ssize_t put =
        pwrite(file_.fd(), in + done, n - done, static_cast<off_t>(position_ + done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return 0;
    done += static_cast<size_t>(put);
  }
  position_ += n;
  size_ = std::max(size_, position_);
  if (write_behind_) start_write_behind();
  return count;
}

void WavStream::start_write_behind() {
  constexpr uint64_t kWriteBehindBytes = uint64_t{8} << 20;
  if (position_ < written_back_ + kWriteBehindBytes) return;
  // Only starts the write; a failure here still shows in the final sync.
  sync_file_range(file_.fd(), static_cast<off_t>(written_back_),
                  static_cast<off_t>(position_ - written_back_), SYNC_FILE_RANGE_WRITE);
  written_back_ = position_;
}

int WavStream::flush() {
  return is_open();
}

int WavStream::read_byte() {
  uint8_t value = 0;
  return read(&value, 1, 1) == 1 ? value : -1;
}

int WavStream::write_byte(uint8_t value) {
  return write(&value, 1, 1) == 1;
}

int WavStream::seek(int64_t offset, int origin) {
  uint64_t target = 0;
  if (!is_open() || !seek_target(position_, size_, offset, origin, &target)) return 0;
  position_ = target;
  return 1;
}

void WavStream::advise_sequential() {
  if (is_open()) posix_fadvise(file_.fd(), 0, 0, POSIX_FADV_SEQUENTIAL);
}

// ---- PlainFileStream ----------------------------------------------------------------------

PlainFileStream::~PlainFileStream() {
  close();
}

int PlainFileStream::open_read(const std::string& path) {
  if (is_open() || path.empty()) return 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return 0;
  }
  fd_ = fd;
  size_ = static_cast<uint64_t>(st.st_size);
  position_ = 0;
  return 1;
}

int PlainFileStream::past_end() const {
  return position_ > size_;
}

int PlainFileStream::at_end() const {
  return position_ >= size_;
}

int PlainFileStream::seek_absolute(uint64_t position) {
  if (!is_open()) return 0;
  position_ = position;
  return 1;
}

int PlainFileStream::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
  position_ = 0;
  return 1;
}

size_t PlainFileStream::read(void* buffer, size_t item_size, size_t count) {
  if (!is_open() || item_size == 0 || position_ >= size_) return 0;
  const uint64_t items = std::min<uint64_t>(count, (size_ - position_) / item_size);
  size_t want = static_cast<size_t>(items * item_size);
  size_t done = 0;
  auto* out = static_cast<uint8_t*>(buffer);
  while (done < want) {
    const ssize_t got = pread(fd_, out + done, want - done, static_cast<off_t>(position_ + done));
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  const size_t whole = done / item_size;
  position_ += whole * item_size;
  return whole;
}

size_t PlainFileStream::write(const void*, size_t, size_t) {
  return 0;  // the probe never writes
}

int PlainFileStream::read_byte() {
  uint8_t value = 0;
  return read(&value, 1, 1) == 1 ? value : -1;
}

int PlainFileStream::write_byte(uint8_t) {
  return 0;
}

int PlainFileStream::seek(int64_t offset, int origin) {
  uint64_t target = 0;
  if (!is_open() || !seek_target(position_, size_, offset, origin, &target)) return 0;
  position_ = target;
  return 1;
}

}  // namespace voxtrelle
