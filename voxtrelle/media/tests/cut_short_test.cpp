// SPDX-License-Identifier: GPL-3.0-or-later
// Files that end before their headers say, or lose packets on the way: the decoder loads what
// they hold and keeps every sample in its place.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>

#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/tests/media_test_support.h"

namespace voxtrelle {
namespace {

using test::PcmWav;
using test::ScratchDir;

constexpr uint32_t kRate = 44100;
constexpr uint32_t kFrames = 88200;  // two seconds

// Where the data packets of an ASF file lie: all of the same size, the first at `first`.
struct AsfPackets {
  size_t first = 0;
  size_t size = 0;
  size_t count = 0;
};

AsfPackets find_packets(const std::string& bytes) {
  const std::string data_object("\x36\x26\xB2\x75\x8E\x66\xCF\x11", 8);
  const std::string file_properties("\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11", 8);
  const size_t data = bytes.find(data_object);
  const size_t props = bytes.find(file_properties);
  AsfPackets packets;
  if (data == std::string::npos || props == std::string::npos) return packets;
  uint32_t size = 0;
  for (int i = 3; i >= 0; --i) size = size << 8 | uint8_t(bytes[props + 92 + i]);
  packets.first = data + 50;
  packets.size = size;
  packets.count = size == 0 ? 0 : (bytes.size() - packets.first) / size;
  return packets;
}

struct Damage {
  const char* name;
  // Changes the bytes of a good two-second stereo WMA file; "" when it could not.
  std::function<std::string(const std::string&)> apply;
  double kept_from;    // the share of the length that must decode as the good file does
  double kept_to;      // ... and where that ends
  double silent_from;  // a share of the length that must come out silent (to = from: none)
  double silent_to;
  double length;  // the share of the length that comes out, within a few codec frames
};

std::string cut_at(const std::string& bytes, double keep) {
  return bytes.substr(0, static_cast<size_t>(bytes.size() * keep));
}

std::string cut_between_packets(const std::string& bytes) {
  const AsfPackets p = find_packets(bytes);
  if (p.count < 4) return {};
  return bytes.substr(0, p.first + p.size * (p.count / 2));
}

// Removes a quarter of the packets from the first half, as a lossy transfer would. (The count
// of packets includes the index after them, so they end before the file's middle.)
std::string drop_packets(const std::string& bytes) {
  const AsfPackets p = find_packets(bytes);
  if (p.count < 8) return {};
  const size_t from = p.first + p.size * (p.count / 4);
  return bytes.substr(0, from) + bytes.substr(from + p.size * (p.count / 4));
}

std::string overwrite_middle(const std::string& bytes) {
  std::string out = bytes;
  std::mt19937 random(7);
  for (size_t i = out.size() / 2; i < out.size() / 2 + 4096; ++i) {
    out[i] = static_cast<char>(random());
  }
  return out;
}

class DamagedWma : public testing::TestWithParam<Damage> {};

TEST_P(DamagedWma, LoadsWhatItHoldsInPlace) {
  const Damage& d = GetParam();
  ScratchDir dir;
  const std::string wav = dir.file("tone.wav");
  const std::string good = dir.file("good.wma");
  test::write_tone_wav(wav, 2, kRate, kFrames);
  FfmpegMediaCodec codec;
  ASSERT_EQ(codec.encode_to_wma(wav, good, nullptr), 1);
  const std::string damaged_bytes = d.apply(test::read_file(good));
  ASSERT_FALSE(damaged_bytes.empty()) << "could not make the input";
  const std::string damaged = dir.file("damaged.wma");
  test::write_file(damaged, damaged_bytes);

  ASSERT_EQ(codec.decode_to_wav(good, dir.file("good.wav"), nullptr), 1);
  test::RecordingSink sink(1000);
  ASSERT_EQ(codec.decode_to_wav(damaged, dir.file("out.wav"), &sink), 1);
  EXPECT_EQ(sink.position(), 1000u);
  PcmWav expected;
  PcmWav got;
  ASSERT_TRUE(test::read_wav(dir.file("good.wav"), expected));
  ASSERT_TRUE(test::read_wav(dir.file("out.wav"), got));
  EXPECT_EQ(got.channels, 2);
  EXPECT_EQ(got.sample_rate, kRate);
  EXPECT_NEAR(double(got.frames()), d.length * expected.frames(), 4096.0);

  const auto at = [&](double share) { return static_cast<size_t>(share * expected.frames()); };
  for (size_t i = at(d.kept_from) * 2; i < at(d.kept_to) * 2 && i < got.samples.size(); ++i) {
    ASSERT_EQ(got.samples[i], expected.samples[i]) << "sample " << i;
  }
  for (int c = 0; c < 2; ++c) {
    EXPECT_LT(test::rms(got, c, at(d.silent_from), at(d.silent_to)), 0.001) << c;
  }
}

// Packets decode alike wherever they sit, but the first frame after a gap lacks the overlap of
// the one before it: the comparisons start a little after each gap.
INSTANTIATE_TEST_SUITE_P(
    Inputs, DamagedWma,
    testing::Values(Damage{"cut_at_30_percent", [](const std::string& b) { return cut_at(b, 0.3); },
                           0.0, 0.2, 0, 0, 0.3},
                    Damage{"cut_in_half", [](const std::string& b) { return cut_at(b, 0.5); }, 0.0,
                           0.4, 0, 0, 0.5},
                    Damage{"cut_at_80_percent", [](const std::string& b) { return cut_at(b, 0.8); },
                           0.0, 0.7, 0, 0, 0.8},
                    Damage{"cut_between_packets", cut_between_packets, 0.0, 0.45, 0, 0, 0.5},
                    Damage{"packets_lost", drop_packets, 0.45, 0.95, 0.22, 0.38, 1.0},
                    Damage{"damaged_in_the_middle", overwrite_middle, 0.6, 0.95, 0, 0, 1.0}),
    [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

struct CutWav {
  const char* name;
  std::vector<std::string> ffmpeg_args;
  uint16_t channels;
  size_t cut_bytes;
};

class CutNonPcmWav : public testing::TestWithParam<CutWav> {};

// A file cut short loses its partial last frame or block and loads the rest, as 16-bit PCM
// does.
TEST_P(CutNonPcmWav, DropsThePartialLastFrame) {
  const CutWav& c = GetParam();
  ScratchDir dir;
  const std::string tone = dir.file("tone.wav");
  const std::string variant = dir.file("variant.wav");
  test::write_tone_wav(tone, c.channels, 22050, 22050);
  std::vector<std::string> args = {"-i", tone};
  args.insert(args.end(), c.ffmpeg_args.begin(), c.ffmpeg_args.end());
  args.push_back(variant);
  ASSERT_TRUE(test::run_ffmpeg(args));
  FfmpegMediaCodec codec;
  ASSERT_EQ(codec.decode_to_wav(variant, dir.file("whole.wav"), nullptr), 1);
  const std::string bytes = test::read_file(variant);
  const std::string cut = dir.file("cut.wav");
  test::write_file(cut, bytes.substr(0, bytes.size() - c.cut_bytes));

  ASSERT_EQ(codec.decode_to_wav(cut, dir.file("out.wav"), nullptr), 1);
  PcmWav whole;
  PcmWav got;
  ASSERT_TRUE(test::read_wav(dir.file("whole.wav"), whole));
  ASSERT_TRUE(test::read_wav(dir.file("out.wav"), got));
  ASSERT_GT(got.frames(), 0u);
  ASSERT_LT(got.frames(), whole.frames());
  EXPECT_GT(got.frames() + 2048, whole.frames());
  EXPECT_TRUE(std::equal(got.samples.begin(), got.samples.end(), whole.samples.begin()));
}

INSTANTIATE_TEST_SUITE_P(
    Variants, CutNonPcmWav,
    testing::Values(CutWav{"float_inside_last_frame", {"-c:a", "pcm_f32le"}, 2, 3},
                    CutWav{"double_inside_last_frame", {"-c:a", "pcm_f64le"}, 1, 5},
                    CutWav{"ima_adpcm_by_one_byte", {"-c:a", "adpcm_ima_wav"}, 1, 1},
                    CutWav{"ms_adpcm_by_one_byte", {"-c:a", "adpcm_ms"}, 2, 1},
                    CutWav{"mulaw_by_one_byte", {"-c:a", "pcm_mulaw"}, 2, 1}),
    [](const testing::TestParamInfo<CutWav>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace voxtrelle
