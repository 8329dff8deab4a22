// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/pcm_wav_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>

namespace voxtrelle {
namespace {

constexpr uint32_t kHeaderBytes = 44;
// The RIFF size field counts everything after its own 8 bytes.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - (kHeaderBytes - 8) - 1;
constexpr size_t kBufferBytes = 1 << 20;

void put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

PcmWavWriter::~PcmWavWriter() = default;

int PcmWavWriter::open(const std::string& path, uint16_t channels, uint32_t sample_rate) {
  file_.reset();
  data_bytes_ = 0;
  if (channels == 0 || sample_rate == 0) return 0;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return 0;
  file_.reset(::fdopen(fd, "wb"));
  if (!file_) {
    ::close(fd);
    return 0;
  }
  std::setvbuf(file_.get(), nullptr, _IOFBF, kBufferBytes);

  std::array<uint8_t, kHeaderBytes> h{};
  const uint16_t block_align = static_cast<uint16_t>(channels * 2);
  std::copy_n("RIFF", 4, h.begin());
  put32(&h[4], kHeaderBytes - 8);
  std::copy_n("WAVEfmt ", 8, h.begin() + 8);
  put32(&h[16], 16);
  put16(&h[20], 1);
  put16(&h[22], channels);
  put32(&h[24], sample_rate);
  put32(&h[28], sample_rate * block_align);
  put16(&h[32], block_align);
  put16(&h[34], 16);
  std::copy_n("data", 4, h.begin() + 36);
  put32(&h[40], 0);
  if (std::fwrite(h.data(), 1, h.size(), file_.get()) != h.size()) {
    file_.reset();
    return 0;
  }
  return 1;
}

int PcmWavWriter::write(const void* data, size_t bytes) {
  if (!file_) return 0;
  if (data_bytes_ + bytes > kMaxDataBytes) return 0;
  if (bytes != 0 && std::fwrite(data, 1, bytes, file_.get()) != bytes) return 0;
  data_bytes_ += bytes;
  return 1;
}

int PcmWavWriter::finish() {
  if (!file_) return 0;
  std::FILE* f = file_.get();
  bool ok = true;
  if (data_bytes_ % 2 != 0) ok = std::fputc(0, f) != EOF;
  std::array<uint8_t, 4> size{};
  const uint32_t data = static_cast<uint32_t>(data_bytes_);
  put32(size.data(), kHeaderBytes - 8 + data + (data % 2));
  ok = ok && std::fseek(f, 4, SEEK_SET) == 0 && std::fwrite(size.data(), 1, 4, f) == 4;
  put32(size.data(), data);
  ok = ok && std::fseek(f, 40, SEEK_SET) == 0 && std::fwrite(size.data(), 1, 4, f) == 4;
  ok = std::fflush(f) == 0 && ok;
  // fclose reports write errors that were still buffered.
  ok = std::fclose(file_.release()) == 0 && ok;
  return ok ? 1 : 0;
}

}  // namespace voxtrelle
