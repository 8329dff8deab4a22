// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace voxtrelle {

// Offsets of mapped views are multiples of this many bytes.
inline constexpr uint32_t kAllocationGranularity = 65536;

// A file, its mapped size and at most one mapped view of it. Closing unmaps and closes; the
// file itself stays unless remove_file() is called. Not thread safe: one user at a time.
class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Takes ownership of an open descriptor; the mapping size starts as the file's size.
  int adopt(int fd, const std::string& path, bool writable);
  // Opens an existing regular file.
  int open_existing(const std::string& path, bool writable);

  // Sets the file's size to `bytes`, reserving the disk blocks first so that a full disk fails
  // here instead of faulting later through the mapping. Drops the current view.
  int resize(uint64_t bytes);

  // How a new view is about to be used: its pages are faulted in ahead in one call, which is
  // far cheaper than one fault per page.
  enum class Prefault { kNone, kRead, kWrite };

  // Replaces the current view by one of `bytes` bytes at `offset` (a multiple of
  // kAllocationGranularity, inside the mapping). Returns the view's base or nullptr.
  uint8_t* map_view(uint64_t offset, size_t bytes, Prefault prefault = Prefault::kNone);
  // Faults in [begin, begin + bytes) of the current view (offsets within the view).
  void prefault(size_t begin, size_t bytes, Prefault prefault);
  void unmap();
  // Unmaps and closes the descriptor; the path is kept.
  void close();
  // Closes and deletes the file at path() if it still exists; forgets the path when deleted.
  int remove_file();

  bool is_open() const { return fd_ >= 0; }
  bool is_writable() const { return writable_; }
  int fd() const { return fd_; }
  uint8_t* view() const { return view_; }
  uint64_t view_offset() const { return view_offset_; }
  size_t view_size() const { return view_size_; }
  uint64_t mapping_size() const { return mapping_size_; }
  const std::string& path() const { return path_; }
  // True when [offset, offset + bytes) lies inside the current view.
  bool view_covers(uint64_t offset, size_t bytes) const {
    return view_ != nullptr && offset >= view_offset_ &&
           offset + bytes <= view_offset_ + view_size_;
  }

 private:
  int fd_ = -1;
  bool writable_ = false;
  uint8_t* view_ = nullptr;
  uint64_t view_offset_ = 0;   // bytes
  size_t view_size_ = 0;       // bytes
  uint64_t mapping_size_ = 0;  // bytes
  std::string path_;
};

}  // namespace voxtrelle
