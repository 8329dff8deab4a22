// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/asf_header.h"

#include <fcntl.h>
#include <unistd.h>

namespace voxtrelle {
namespace {

constexpr size_t kObjectHeaderBytes = 24;  // GUID, 64-bit size

// Reads exactly `size` bytes from the start of fd.
bool read_start(int fd, char* buffer, size_t size) {
  for (size_t done = 0; done < size;) {
    const ssize_t n = ::pread(fd, buffer + done, size - done, static_cast<off_t>(done));
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

AsfHeader::AsfHeader(const std::string& path, bool read_properties) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  char start[kObjectHeaderBytes];
  uint64_t size = 0;
  if (read_start(fd, start, sizeof start)) {
    for (int i = 7; i >= 0; --i) size = size << 8 | static_cast<uint8_t>(start[16 + i]);
  }
  if (size >= kObjectHeaderBytes && size <= kMaxBytes) {
    bytes_.resize(static_cast<unsigned int>(size));
    if (!read_start(fd, bytes_.data(), size)) bytes_.clear();
  }
  ::close(fd);
  if (bytes_.isEmpty()) return;
  stream_ = std::make_unique<TagLib::ByteVectorStream>(bytes_);
  file_ = std::make_unique<TagLib::ASF::File>(stream_.get(), read_properties,
                                              TagLib::AudioProperties::Fast);
}

}  // namespace voxtrelle
