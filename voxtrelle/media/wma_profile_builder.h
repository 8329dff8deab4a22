// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

namespace voxtrelle {

// One WMA encoding format the program offers: a channel count, a sample rate and a bit rate
// of the wmav2 encoder. The encoder codes 16-bit input.
struct WmaFormat {
  uint16_t channels;
  uint32_t sample_rate;  // Hz
  uint32_t bit_rate;     // bits per second
  uint16_t bits_per_sample = 16;
};

// Every format offered, grouped by channels and rate, bit rates ascending.
std::span<const WmaFormat> offered_wma_formats();

// The PCM layout of the audio to encode.
struct PcmLayout {
  uint16_t channels = 0;
  uint32_t sample_rate = 0;  // Hz
  uint16_t bits_per_sample = 0;
};

// Chooses the encoding of one save: the offered format of the highest bit rate (up to a cap)
// whose channels and rate equal the input's and whose sample width is at least the input's.
// Lives for one encode; a builder configures one stream only.
class WmaProfileBuilder {
 public:
  // The name the one audio stream carries.
  static constexpr const char* kStreamName = "Ve Audio";

  // Returns 1 and keeps the chosen format, or 0 when the input is not 1 or 2 channels of 8- or
  // 16-bit PCM, a stream was already chosen, or no offered format matches.
  int build_for(const PcmLayout& input, uint32_t cap = UINT32_MAX);
  // The chosen bit rate in bits per second; 0 before a successful build_for.
  uint32_t bit_rate() const { return built_ ? format_.bit_rate : 0; }
  const WmaFormat& format() const { return format_; }
  bool built() const { return built_; }

 private:
  WmaFormat format_{0, 0, 0};
  bool built_ = false;
};

// The ASF packet size for audio frames of block_align bytes: a whole number of frames with
// their payload headers fill each packet, so padding does not inflate the file's bit rate.
uint32_t asf_packet_size_for(int block_align);

}  // namespace voxtrelle
