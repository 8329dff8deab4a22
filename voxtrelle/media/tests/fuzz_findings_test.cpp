// SPDX-License-Identifier: GPL-3.0-or-later
// Inputs the fuzz programs of voxtrelle/media/fuzz found trouble with, kept as regression tests.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "voxtrelle/audio/media_tags.h"
#include "voxtrelle/media/asf_length.h"
#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/tests/media_test_support.h"

namespace voxtrelle {
namespace {

using test::ScratchDir;

// A damaged ASF header object (494 bytes): its extended content description claims 29,953
// attributes in 100 bytes, and the rest of the header is read as attributes whose lengths are
// whatever the bytes say.
constexpr const char* kBogusAttributeHeader =
    "3026b2758e66cf11a6d900aa0062ce6cee010000000000000500f42f0102a1dcab8c47a9cf118ee4"
    "00c00c205365680000000000000000000000000000000000000000000000a00e0000000000000080"
    "3ed5deb19d01010000000000000000760a020000000040703100000000001c0c0000000000000200"
    "0000800c0000800c000000fa0000b503bf5f2ea9cf118ee300c00c2053652e0000000000000011d2"
    "d3abbaa9cf118ee600c00c20536506000000000040a4d0d207e3d21197f000a0c95ea85064000000"
    "000000000175736500280057004d002f0045006e0063006f00640069006e00670053006500740074"
    "0069006e0067007300000000001c004c00610076006600350039002e00320037002e003100300030"
    "0000009107dcb7b7a9cf118ee600c00c2053657200000000000000409e69f84d5bcf11a8fd00805f"
    "5c442b50cdc3bf8f61cf118bb200aa00b4e22000000000000000001c000000080000000100000000"
    "006101020044ac0000401f0000730110000a000000000001000000000001730173010100004052d1"
    "861d31d011a3a400a0c90348f664000000000000004152d1861d31d011a3a400a0c90348f6010000"
    "0002001700570069006e0064006f007700730020004d006500640069006100200041007500640069"
    "006f002000560038000000000002";

std::vector<uint8_t> from_hex(const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

// The peak resident set of this process in KiB, reset by reset_peak_memory().
long peak_memory_kib() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

bool reset_peak_memory() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return clear.good();
}

// The header reader once sized its reads by the lengths the damaged attributes declare, capped
// only at the file's length: behind 100 MiB of audio data this header cost eight seconds and a
// peak of 1.6 GB. Only the header's own bytes may be read. (The limit leaves room for
// AddressSanitizer's quarantine of freed memory, 256 MiB.)
TEST(FuzzFinding, ADamagedAsfHeaderCostsNothingInProportionToTheFile) {
  ScratchDir dir;
  const std::string path = dir.file("bogus.wma");
  const std::vector<uint8_t> header = from_hex(kBogusAttributeHeader);
  ASSERT_EQ(header.size(), 494u);
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.data()), std::streamsize(header.size()));
  }
  ASSERT_EQ(::truncate(path.c_str(), off_t{1} << 30), 0);  // a sparse tail: no disk blocks

  ASSERT_TRUE(reset_peak_memory());
  const long before = peak_memory_kib();
  FfmpegMediaCodec codec;
  MediaTags tags;
  codec.read_tags(path, tags);
  const double seconds = asf_declared_seconds(path);
  const long grown = peak_memory_kib() - before;

  EXPECT_EQ(seconds, 0.0);
  EXPECT_LT(grown, 512 * 1024) << "KiB of peak memory for a 494-byte header";
}

// An ASF header object of `size` bytes or a little less, packed with extended content
// description objects that each hold 65,535 attributes with empty names and values.
std::vector<uint8_t> header_of_empty_attributes(size_t size) {
  const uint8_t header_id[16] = {0x30, 0x26, 0xb2, 0x75, 0x8e, 0x66, 0xcf, 0x11,
                                 0xa6, 0xd9, 0x00, 0xaa, 0x00, 0x62, 0xce, 0x6c};
  const uint8_t description_id[16] = {0x40, 0xa4, 0xd0, 0xd2, 0x07, 0xe3, 0xd2, 0x11,
                                      0x97, 0xf0, 0x00, 0xa0, 0xc9, 0x5e, 0xa8, 0x50};
  const auto put = [](std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  constexpr uint64_t kAttributes = 65535;
  constexpr uint64_t kObjectBytes = 24 + 2 + kAttributes * 6;  // name, type, value: 0 each
  const uint64_t objects = (size - 30) / kObjectBytes;
  std::vector<uint8_t> out(header_id, header_id + 16);
  put(out, 30 + objects * kObjectBytes, 8);
  put(out, objects, 4);
  put(out, 0x0201, 2);
  for (uint64_t o = 0; o < objects; ++o) {
    out.insert(out.end(), description_id, description_id + 16);
    put(out, kObjectBytes, 8);
    put(out, kAttributes, 2);
    out.resize(out.size() + kAttributes * 6, 0);
  }
  return out;
}

// TagLib spends time and memory on every attribute a header holds; one of 8 MiB packed with
// empty attributes took five seconds and a peak of more than a gigabyte. Such a header is not
// parsed: the file loads without tags.
TEST(FuzzFinding, AnOversizedAsfHeaderIsNotParsed) {
  ScratchDir dir;
  const std::string path = dir.file("packed.wma");
  const std::vector<uint8_t> header = header_of_empty_attributes(8u << 20);
  ASSERT_GT(header.size(), 7u << 20);
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.data()), std::streamsize(header.size()));
  }

  ASSERT_TRUE(reset_peak_memory());
  const long before = peak_memory_kib();
  FfmpegMediaCodec codec;
  MediaTags tags;
  EXPECT_EQ(codec.read_tags(path, tags), 0);
  EXPECT_EQ(asf_declared_seconds(path), 0.0);
  const long grown = peak_memory_kib() - before;

  EXPECT_FALSE(tags.has_values());
  EXPECT_LT(grown, 512 * 1024) << "KiB of peak memory for an 8 MiB header";
}

}  // namespace
}  // namespace voxtrelle
