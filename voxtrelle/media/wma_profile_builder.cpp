// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/wma_profile_builder.h"

#include <algorithm>
#include <array>

namespace voxtrelle {
namespace {

// The usual WMA bit rates per format, within what the wmav2 encoder does well: it refuses less
// than 24 kb/s, and ASF carries every coded frame with 17 bytes of payload header, so a format
// only offers rates whose frames are at least about 250 bytes long; that keeps a file's real
// bit rate within 10 % of the nominal one. The last entry of each format is the one saved.
constexpr std::array kOffered = {
    // 1 channel, 8000 Hz
    WmaFormat{1, 8000, 32000},
    // 2 channels, 8000 Hz
    WmaFormat{2, 8000, 32000},
    WmaFormat{2, 8000, 48000},
    // 1 channel, 11025 Hz
    WmaFormat{1, 11025, 48000},
    // 2 channels, 11025 Hz
    WmaFormat{2, 11025, 48000},
    WmaFormat{2, 11025, 64000},
    // 1 channel, 16000 Hz
    WmaFormat{1, 16000, 64000},
    // 2 channels, 16000 Hz
    WmaFormat{2, 16000, 64000},
    WmaFormat{2, 16000, 96000},
    // 1 channel, 22050 Hz
    WmaFormat{1, 22050, 48000},
    WmaFormat{1, 22050, 64000},
    // 2 channels, 22050 Hz
    WmaFormat{2, 22050, 48000},
    WmaFormat{2, 22050, 64000},
    WmaFormat{2, 22050, 96000},
    // 1 channel, 32000 Hz
    WmaFormat{1, 32000, 32000},
    WmaFormat{1, 32000, 48000},
    WmaFormat{1, 32000, 64000},
    // 2 channels, 32000 Hz
    WmaFormat{2, 32000, 48000},
    WmaFormat{2, 32000, 64000},
    WmaFormat{2, 32000, 96000},
    WmaFormat{2, 32000, 128000},
    // 1 channel, 44100 Hz
    WmaFormat{1, 44100, 48000},
    WmaFormat{1, 44100, 64000},
    WmaFormat{1, 44100, 96000},
    // 2 channels, 44100 Hz
    WmaFormat{2, 44100, 48000},
    WmaFormat{2, 44100, 64000},
    WmaFormat{2, 44100, 80000},
    WmaFormat{2, 44100, 96000},
    WmaFormat{2, 44100, 128000},
    WmaFormat{2, 44100, 160000},
    WmaFormat{2, 44100, 192000},
    WmaFormat{2, 44100, 256000},
    WmaFormat{2, 44100, 320000},
    // 1 channel, 48000 Hz
    WmaFormat{1, 48000, 48000},
    WmaFormat{1, 48000, 64000},
    WmaFormat{1, 48000, 96000},
    // 2 channels, 48000 Hz
    WmaFormat{2, 48000, 64000},
    WmaFormat{2, 48000, 96000},
    WmaFormat{2, 48000, 128000},
    WmaFormat{2, 48000, 160000},
    WmaFormat{2, 48000, 192000},
    WmaFormat{2, 48000, 256000},
    WmaFormat{2, 48000, 320000},
};

// The asf muxer's framing: each packet has an 11-byte header plus one byte counting its
// payloads, and every payload 17 bytes of header. An audio frame that does not fit whole goes
// to the next packet and the rest of the packet is padding.
constexpr uint32_t kPacketHeader = 12;
constexpr uint32_t kPayloadHeader = 17;
// Small packets keep the padding of a file's last packet small.
constexpr uint32_t kTargetPacketBytes = 1024;
constexpr uint32_t kMaxPacketBytes = 65536;

}  // namespace

std::span<const WmaFormat> offered_wma_formats() {
  return kOffered;
}

int WmaProfileBuilder::build_for(const PcmLayout& input, uint32_t cap) {
  if (built_) return 0;
  if (input.channels < 1 || input.channels > 2 || input.sample_rate == 0 ||
      (input.bits_per_sample != 8 && input.bits_per_sample != 16)) {
    return 0;
  }
  uint32_t best = 0;
  for (const WmaFormat& f : kOffered) {
    if (f.bit_rate <= best || f.bit_rate > cap) continue;
    if (f.channels == input.channels && f.sample_rate == input.sample_rate &&
        f.bits_per_sample >= input.bits_per_sample) {
      best = f.bit_rate;
      format_ = f;
    }
  }
  if (best == 0) return 0;
  built_ = true;
  return 1;
}

uint32_t asf_packet_size_for(int block_align) {
  if (block_align <= 0) return 0;
  const uint32_t per_frame = static_cast<uint32_t>(block_align) + kPayloadHeader;
  // At least two frames, so the muxer packs several payloads per packet.
  uint32_t frames = std::max<uint32_t>(2, kTargetPacketBytes / per_frame);
  frames = std::min(frames, (kMaxPacketBytes - kPacketHeader) / per_frame);
  if (frames == 0) return 0;
  return frames * per_frame + kPacketHeader;
}

}  // namespace voxtrelle
