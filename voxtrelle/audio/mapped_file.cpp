// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace voxtrelle {

MappedFile::~MappedFile() {
  close();
}

int MappedFile::adopt(int fd, const std::string& path, bool writable) {
  if (fd < 0 || is_open()) return 0;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return 0;
  }
  fd_ = fd;
  writable_ = writable;
  mapping_size_ = static_cast<uint64_t>(st.st_size);
  path_ = path;
  return 1;
}

int MappedFile::open_existing(const std::string& path, bool writable) {
  if (is_open() || path.empty()) return 0;
  const int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) return 0;
  return adopt(fd, path, writable);
}

int MappedFile::resize(uint64_t bytes) {
  if (!is_open() || !writable_) return 0;
  unmap();
  if (bytes > mapping_size_) {
    // Reserve the blocks now: writing through a mapping into a hole on a full disk would
    // raise SIGBUS instead of returning an error.
    const int err = posix_fallocate(fd_, static_cast<off_t>(mapping_size_),
                                    static_cast<off_t>(bytes - mapping_size_));
    if (err != 0) {
      // Give back whatever was reserved; the mapping keeps its old size either way.
      [[maybe_unused]] const int restored = ftruncate(fd_, static_cast<off_t>(mapping_size_));
      return 0;
    }
  } else if (bytes < mapping_size_) {
    if (ftruncate(fd_, static_cast<off_t>(bytes)) != 0) return 0;
  }
  mapping_size_ = bytes;
  return 1;
}

uint8_t* MappedFile::map_view(uint64_t offset, size_t bytes, Prefault prefault) {
  unmap();
  if (!is_open() || bytes == 0 || offset % kAllocationGranularity != 0 || offset >= mapping_size_ ||
      bytes > mapping_size_ - offset) {
    return nullptr;
  }
  const int prot = PROT_READ | (writable_ ? PROT_WRITE : 0);
  void* base = mmap(nullptr, bytes, prot, MAP_SHARED, fd_, static_cast<off_t>(offset));
  if (base == MAP_FAILED) return nullptr;
  view_ = static_cast<uint8_t*>(base);
  view_offset_ = offset;
  view_size_ = bytes;
  this->prefault(0, bytes, prefault);
  return view_;
}

void MappedFile::prefault(size_t begin, size_t bytes, Prefault prefault) {
  if (view_ == nullptr || prefault == Prefault::kNone || begin >= view_size_) return;
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t first = begin / page * page;
  const size_t end = std::min(view_size_, begin + bytes);
  if (prefault == Prefault::kWrite && !writable_) return;
  // Only a hint: an older kernel without these requests simply faults page by page.
  madvise(view_ + first, end - first,
          prefault == Prefault::kWrite ? MADV_POPULATE_WRITE : MADV_POPULATE_READ);
}

void MappedFile::unmap() {
  if (view_ != nullptr) munmap(view_, view_size_);
  view_ = nullptr;
  view_offset_ = 0;
  view_size_ = 0;
}

void MappedFile::close() {
  unmap();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  writable_ = false;
  mapping_size_ = 0;
}

int MappedFile::remove_file() {
  close();
  if (path_.empty()) return 1;
  if (unlink(path_.c_str()) != 0 && errno != ENOENT) return 0;
  path_.clear();
  return 1;
}

}  // namespace voxtrelle
