// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/sample_store.h"

namespace voxtrelle {

int ChannelBuffer::create(int32_t n) {
  if (n <= 0 || !is_empty()) return 0;
  auto file = std::make_unique<SampleFile>();
  if (!file->create(n)) return 0;
  file_ = std::move(file);
  length_ = n;
  lead_offset_ = 0;
  return 1;
}

int ChannelBuffer::adopt(const std::string& path, int32_t n) {
  if (n <= 0 || !is_empty()) return 0;
  auto file = std::make_unique<SampleFile>();
  if (!file->adopt(path, n)) return 0;
  file_ = std::move(file);
  length_ = n;
  lead_offset_ = 0;
  return 1;
}

void ChannelBuffer::destroy() {
  file_.reset();
  length_ = 0;
  lead_offset_ = 0;
}

int ChannelBuffer::copy_from(const ChannelBuffer& other) {
  if (this == &other) return 0;
  destroy();
  if (!other.is_valid()) return 0;
  auto file = std::make_unique<SampleFile>();
  if (!file->copy_from(*other.file_)) return 0;
  file_ = std::move(file);
  length_ = other.length_;
  lead_offset_ = other.lead_offset_;
  return 1;
}

int ChannelBuffer::shrink(int32_t n) {
  if (!is_flat() || !is_valid() || !file_->shrink(n)) return 0;
  length_ = n;
  return 1;
}

int ChannelBuffer::is_empty() const {
  return length_ == 0 && lead_offset_ == 0 && file_ == nullptr;
}

int ChannelBuffer::is_valid() const {
  return length_ != 0 && file_ != nullptr && file_->is_valid();
}

int ChannelBuffer::is_flat() const {
  if (is_empty()) return 1;
  return is_valid() && length_ == file_->count() && lead_offset_ == 0;
}

}  // namespace voxtrelle
