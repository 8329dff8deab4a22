// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <taglib/asffile.h>
#include <taglib/tbytevectorstream.h>

#include <cstdint>
#include <memory>
#include <string>

namespace voxtrelle {

// An ASF file's header object (where its tags and declared length live), read into memory and
// parsed by TagLib from there. TagLib reading the file itself sizes each block by the length a
// damaged header declares, capped only at the file's length, so a few hundred bogus attributes
// in a large file cost hundreds of times its size in memory traffic; over the header's own
// bytes every read is limited to what is left of them.
class AsfHeader {
 public:
  // Headers above this size are not read. A real one holds a few kilobytes, more only with
  // pictures (which are not kept); TagLib spends about 0.6 s and 150 MB per MiB of a header
  // packed with empty attributes.
  static constexpr uint64_t kMaxBytes = 1u << 20;

  AsfHeader(const std::string& path, bool read_properties);
  AsfHeader(const AsfHeader&) = delete;
  AsfHeader& operator=(const AsfHeader&) = delete;

  // The parsed file, or nullptr when the path holds no readable ASF header.
  TagLib::ASF::File* file() { return file_ && file_->isValid() ? file_.get() : nullptr; }

 private:
  TagLib::ByteVector bytes_;
  std::unique_ptr<TagLib::ByteVectorStream> stream_;
  std::unique_ptr<TagLib::ASF::File> file_;
};

}  // namespace voxtrelle
