// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "voxtrelle/audio/sample_store.h"
#include "voxtrelle/audio/temp_file.h"

namespace voxtrelle {
namespace {

int read_exact(int fd, void* out, size_t bytes, uint64_t offset) {
  auto* p = static_cast<uint8_t*>(out);
  while (bytes > 0) {
    const ssize_t got = pread(fd, p, bytes, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return 0;
    p += got;
    bytes -= static_cast<size_t>(got);
    offset += static_cast<uint64_t>(got);
  }
  return 1;
}

int write_exact(int fd, const void* in, size_t bytes, uint64_t offset) {
  const auto* p = static_cast<const uint8_t*>(in);
  while (bytes > 0) {
    const ssize_t put = pwrite(fd, p, bytes, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return 0;
    p += put;
    bytes -= static_cast<size_t>(put);
    offset += static_cast<uint64_t>(put);
  }
  return 1;
}

}  // namespace

SampleFile::~SampleFile() {
  destroy();
}

int SampleFile::create(int32_t n) {
  if (n <= 0 || file_.is_open() || !file_.path().empty()) return 0;
  int fd = -1;
  // Locked while it lives, so that no starting editor takes it for a dead process's file.
  const std::string path = LockedTempPathOpen({}, {}, {}, &fd);
  if (fd < 0) return 0;
  if (!file_.adopt(fd, path, true)) {
    unlink(path.c_str());
    return 0;
  }
  // A fresh file of 4 n bytes reads as zeros: the new channel is silence.
  if (!file_.resize(uint64_t{4} * static_cast<uint32_t>(n))) {
    file_.remove_file();
    return 0;
  }
  count_ = n;
  summary_.reset(n);
  return 1;
}

int SampleFile::adopt(const std::string& path, int32_t n) {
  if (n <= 0 || file_.is_open() || !file_.path().empty()) return 0;
  const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return 0;
  struct stat st {};
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || !is_file_at(fd, path) || fstat(fd, &st) != 0 ||
      st.st_uid != geteuid() || static_cast<uint64_t>(st.st_size) != uint64_t{4} * uint32_t(n) ||
      !file_.adopt(fd, path, true)) {
    if (!file_.is_open()) ::close(fd);
    return 0;
  }
  count_ = n;
  return 1;
}

void SampleFile::destroy() {
  file_.remove_file();
  count_ = 0;
  summary_.clear();
}

int SampleFile::is_valid() const {
  return count_ != 0 && file_.mapping_size() != 0 && !file_.path().empty() && file_.is_open();
}

int32_t SampleFile::pages() const {
  if (count_ <= 0) return 0;
  return static_cast<int32_t>((int64_t{count_} + kPageSamples - 1) / kPageSamples);
}

int32_t SampleFile::samples_in_page(int32_t i) const {
  const int32_t n = pages();
  if (i < 0 || i >= n) return 0;
  if (i < n - 1) return static_cast<int32_t>(kPageSamples);
  return count_ - static_cast<int32_t>(int64_t{n - 1} * kPageSamples);
}

float* SampleFile::map_page(int32_t i, size_t max_bytes, MappedFile::Prefault prefault) const {
  const int32_t samples = samples_in_page(i);
  if (samples == 0 || !is_valid()) return nullptr;
  size_t bytes = size_t{static_cast<uint32_t>(samples)} * sizeof(float);
  if (max_bytes != 0 && max_bytes < bytes) bytes = max_bytes;
  return reinterpret_cast<float*>(
      file_.map_view(uint64_t{static_cast<uint32_t>(i)} * kPageBytes, bytes, prefault));
}

// Writable access is meant for writing: the pages are made writable ahead, and what the summary
// knows of them is given up.
float* SampleFile::page(int32_t i, size_t max_bytes) {
  float* samples = map_page(i, max_bytes, MappedFile::Prefault::kWrite);
  if (samples != nullptr) {
    summary_.invalidate(i * static_cast<int32_t>(kPageSamples), samples_in_page(i));
  }
  return samples;
}

const float* SampleFile::page(int32_t i, size_t max_bytes) const {
  return map_page(i, max_bytes, MappedFile::Prefault::kRead);
}

int SampleFile::write_run(int32_t position, const float* samples, int32_t n) {
  if (!is_valid() || position < 0 || n <= 0 || n > static_cast<int32_t>(kPageSamples) ||
      int64_t{position} + n > count_) {
    return 0;
  }
  // One view from the page that holds position, two pages long (or to the end of the file),
  // so any run of up to one page fits.
  const int32_t index = position / static_cast<int32_t>(kPageSamples);
  const uint64_t offset = uint64_t{static_cast<uint32_t>(index)} * kPageBytes;
  const uint64_t to_end = uint64_t{static_cast<uint32_t>(count_)} * sizeof(float) - offset;
  const uint64_t two_pages =
      2 * uint64_t{static_cast<uint32_t>(samples_in_page(index))} * sizeof(float);
  uint8_t* view = file_.map_view(offset, static_cast<size_t>(std::min(two_pages, to_end)));
  if (view == nullptr) return 0;
  const size_t start = (static_cast<uint64_t>(position) * sizeof(float)) - offset;
  file_.prefault(start, size_t{static_cast<uint32_t>(n)} * sizeof(float),
                 MappedFile::Prefault::kWrite);
  std::memcpy(view + start, samples, size_t{static_cast<uint32_t>(n)} * sizeof(float));
  summary_.written(position, samples, n);
  return 1;
}

int SampleFile::read_samples(int32_t position, float* samples, int32_t n) const {
  if (!is_valid() || position < 0 || n < 0 || int64_t{position} + n > count_) return 0;
  return read_exact(file_.fd(), samples, size_t{static_cast<uint32_t>(n)} * sizeof(float),
                    uint64_t{static_cast<uint32_t>(position)} * sizeof(float));
}

int SampleFile::write_samples(int32_t position, const float* samples, int32_t n) {
  if (!is_valid() || position < 0 || n < 0 || int64_t{position} + n > count_) return 0;
  if (!write_exact(file_.fd(), samples, size_t{static_cast<uint32_t>(n)} * sizeof(float),
                   uint64_t{static_cast<uint32_t>(position)} * sizeof(float))) {
    summary_.invalidate(position, n);  // part of it may have been written
    return 0;
  }
  // The samples are still in the cache: the summary costs no second pass over the file.
  summary_.written(position, samples, n);
  return 1;
}

const PeakSummary* SampleFile::summary() const {
  if (!is_valid()) return nullptr;
  if (summary_.stale_blocks() == 0) return &summary_;
  std::vector<float> samples(PeakSummary::kBlockSamples);
  for (int32_t b = 0; b < summary_.blocks() && summary_.stale_blocks() > 0; ++b) {
    if (!summary_.is_stale(b)) continue;
    const int32_t n = summary_.block_samples(b);
    if (!read_samples(b * PeakSummary::kBlockSamples, samples.data(), n)) return nullptr;
    summary_.refresh(b, samples.data(), n);
  }
  return &summary_;
}

int SampleFile::copy_samples(const SampleFile& source, int32_t begin, int32_t end, int32_t shift) {
  if (begin >= end) return 1;
  // Front to back in runs: when source is this file and shift <= 0, each run is read before
  // any write can reach it.
  // The runs end where the target's runs end, so the peak summary sees whole blocks written.
  std::vector<float> buffer(kRunSamples);
  const auto run_max = static_cast<int32_t>(kRunSamples);
  for (int32_t first = begin, run = 0; first < end; first += run) {
    run = std::min(run_max - (first + shift) % run_max, end - first);
    if (!source.read_samples(first, buffer.data(), run) ||
        !write_samples(first + shift, buffer.data(), run)) {
      return 0;
    }
  }
  return 1;
}

int SampleFile::move_down(int32_t to, int32_t from, int32_t n) {
  if (!is_valid() || to < 0 || to > from || n < 0 || int64_t{from} + n > count_) return 0;
  if (to == from) return 1;
  return copy_samples(*this, from, from + n, to - from);
}

int SampleFile::shrink(int32_t n) {
  if (!is_valid() || n <= 0 || n > count_) return 0;
  if (n == count_) return 1;
  if (!file_.resize(uint64_t{4} * static_cast<uint32_t>(n))) return 0;
  count_ = n;
  summary_.shrink(n);
  return 1;
}

int SampleFile::copy_from(const SampleFile& other) {
  if (this == &other || !other.is_valid() || !create(other.count())) return 0;
  if (!copy_samples(other, 0, count_, 0)) {
    destroy();
    return 0;
  }
  return 1;
}

}  // namespace voxtrelle
