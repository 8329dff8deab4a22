// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/media_codec.h"
#include "voxtrelle/audio/tests/test_support.h"
#include "voxtrelle/audio/wav_file.h"

namespace voxtrelle {
namespace {

using namespace testing_support;
using Bytes = std::vector<uint8_t>;

Bytes u8(std::initializer_list<int> values) {
  Bytes out;
  for (int v : values) out.push_back(static_cast<uint8_t>(v));
  return out;
}
Bytes s16(std::initializer_list<int> values) {
  Bytes out;
  for (int v : values) put16(out, static_cast<uint16_t>(v));
  return out;
}
Bytes cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<float> channel_samples(const AudioClip& clip, int c) {
  std::vector<float> out;
  const ChannelBuffer& channel = clip.store().channel(c);
  for (int32_t p = 0; p < channel.pages(); ++p) {
    const float* page = channel.page(p);
    if (page == nullptr) break;
    out.insert(out.end(), page, page + channel.samples_in_page(p));
  }
  return out;
}

struct GoodCase {
  const char* name;
  Bytes file;
  int32_t frames;           // 0: loads without audio
  std::vector<float> left;  // channel 0 afterwards
};

const Bytes kFmtMono8 = chunk("fmt ", fmt_body(1, 1, 8000, 8));
const Bytes kFmtStereo16 = chunk("fmt ", fmt_body(1, 2, 44100, 16));
const Bytes kList = chunk("LIST", u8({'I', 'N', 'F', 'O', 1, 2}));

std::vector<GoodCase> good_cases() {
  return {
      {"Stereo16",
       riff({kFmtStereo16, chunk("data", s16({16384, -16384, -32768, 32767}))}),
       2,
       {0.5f, -1.0f}},
      {"ListBetweenFmtAndData",
       riff({kFmtStereo16, kList, chunk("data", s16({8192, 0, 0, 0}))}),
       2,
       {0.25f, 0.0f}},
      {"OddDataThenChunk",
       riff({kFmtMono8, chunk("data", u8({0, 128, 255})), kList}),
       3,
       {-1.0f, 0.0f, 0.9921875f}},
      {"OddDataAtEndWithoutPad",
       riff({kFmtMono8, chunk("data", u8({64, 192, 128}), false)}),
       3,
       {-0.5f, 0.5f, 0.0f}},
      {"NoDataChunk", riff({kFmtMono8, kList}), 0, {}},
      {"FmtWithExtraBytes",
       riff({chunk("fmt ", cat(fmt_body(1, 1, 8000, 8), u8({0, 0}))), chunk("data", u8({0, 255}))}),
       2,
       {-1.0f, 0.9921875f}},
      {"OddFmtWithPad",
       riff({chunk("fmt ", cat(fmt_body(1, 1, 8000, 8), u8({9}))), chunk("data", u8({0, 64}))}),
       2,
       {-1.0f, -0.5f}},
      // 10 bytes of 16-bit stereo: two frames and two stray bytes, then a LIST chunk that is
      // found only when the walk resumes at the declared end of the data.
      {"PartialFrameThenChunk",
       riff({kFmtStereo16, chunk("data", cat(s16({16384, 0, -16384, 0}), u8({1, 2}))), kList}),
       2,
       {0.5f, -0.5f}},
      {"ShortStrayTail",
       cat(riff({kFmtMono8, chunk("data", u8({0, 255}))}), u8({0, 0, 0})),
       2,
       {-1.0f, 0.9921875f}},
      // A trailing chunk cut short by the end of the file ends the walk; the samples stay.
      {"ListCutShortAfterData",
       riff({kFmtMono8, chunk("data", u8({0, 64})), chunk_declared("LIST", 200, u8({'I', 'N'}))}),
       2,
       {-1.0f, -0.5f}},
      {"GarbageTailReadAsACutChunk",
       cat(riff({kFmtMono8, chunk("data", u8({0, 64}))}), u8({'x', 'y', 'z', 'w', 9, 9, 9, 9, 1})),
       2,
       {-1.0f, -0.5f}},
      {"UnknownChunkCutShortBeforeData",
       riff({kFmtMono8, chunk_declared("junk", 100, u8({1, 2, 3, 4}))}),
       0,
       {}},
      {"FmtExtraBytesCutShort", riff({chunk_declared("fmt ", 40, fmt_body(1, 1, 8000, 8))}), 0, {}},
      // The data chunk claims four frames, the file holds two: the rest is silence.
      {"DataLongerThanFile",
       riff({kFmtMono8, chunk_declared("data", 4, u8({0, 64}))}),
       4,
       {-1.0f, -0.5f, 0.0f, 0.0f}},
  };
}

class WavLoads : public TempDirTest, public ::testing::WithParamInterface<GoodCase> {};

TEST_P(WavLoads, ChunkLayouts) {
  const GoodCase& c = GetParam();
  write_file(file("in.wav"), c.file);
  AudioClip clip;
  ASSERT_EQ(clip.load_wav(file("in.wav"), nullptr), 1);
  EXPECT_EQ(clip.has_audio(), c.frames != 0 ? 1 : 0);
  if (c.frames != 0) {
    EXPECT_EQ(clip.frames(), c.frames);
    EXPECT_EQ(clip.store().frames(), c.frames);
    EXPECT_EQ(channel_samples(clip, 0), c.left);
  }
  EXPECT_EQ(leftovers().size(), c.frames != 0 ? size_t{clip.store().channels()} : 0u);
}
INSTANTIATE_TEST_SUITE_P(Wav, WavLoads, ::testing::ValuesIn(good_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
  const char* name;
  Bytes file;
};

std::vector<BadCase> bad_cases() {
  const Bytes data8 = chunk("data", u8({1, 2, 3, 4}));
  return {
      {"Empty", {}},
      {"TruncatedRiff", u8({'R', 'I', 'F', 'F', 4, 0})},
      {"NotRiff", cat(u8({'R', 'I', 'F', 'X', 4, 0, 0, 0}), u8({'W', 'A', 'V', 'E'}))},
      {"NotWave", cat(u8({'R', 'I', 'F', 'F', 4, 0, 0, 0}), u8({'A', 'V', 'I', ' '}))},
      {"OnlyHeader", u8({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'})},
      {"ZeroSizeFact", riff({kFmtMono8, chunk("fact", {}), data8})},
      {"HugeUnknownChunk",
       riff({kFmtMono8, chunk_declared("junk", 0x80000000u, u8({1, 2})), data8})},
      {"TruncatedFmt", riff({chunk_declared("fmt ", 16, u8({1, 0, 1, 0}))})},
      {"ZeroSizeFmt", riff({chunk_declared("fmt ", 0, {}), data8})},
      {"ShortFmt", riff({chunk_declared("fmt ", 14, fmt_body(1, 1, 8000, 8)), data8})},
      {"DataBeforeFmt", riff({data8, kFmtMono8})},
      {"ThreeChannels", riff({chunk("fmt ", fmt_body(1, 3, 8000, 16)), chunk("data", Bytes(12))})},
      {"Bits24", riff({chunk("fmt ", fmt_body(1, 2, 8000, 24)), chunk("data", Bytes(12))})},
      {"Bits32", riff({chunk("fmt ", fmt_body(1, 1, 8000, 32)), chunk("data", Bytes(8))})},
      {"BlockAlignZero", riff({chunk("fmt ", fmt_body(1, 1, 8000, 16, 0, 16000)), data8})},
      {"OddBlockAlign", riff({chunk("fmt ", fmt_body(1, 2, 8000, 16, 3, 24000)), data8})},
      {"WrongByteRate", riff({chunk("fmt ", fmt_body(1, 1, 8000, 8, 1, 7999)), data8})},
      {"ZeroSizeData", riff({kFmtMono8, chunk("data", {})})},
      {"LessThanOneFrame", riff({kFmtStereo16, chunk("data", u8({1, 2}))})},
      // 8-bit mono of 2^31 bytes: more frames than a signed 32-bit count holds.
      {"FrameCountOverflow", riff({kFmtMono8, chunk_declared("data", 0x80000000u, u8({1, 2}))})},
      {"TwoDataChunks", riff({kFmtMono8, data8, data8})},
  };
}

class WavRejects : public TempDirTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(WavRejects, MalformedFilesLeaveTheClipEmpty) {
  write_file(file("in.wav"), GetParam().file);
  AudioClip clip;
  ASSERT_EQ(clip.create_silent(true, 100, 8000), 1);
  ProgressSink progress(100);
  EXPECT_EQ(clip.load_wav(file("in.wav"), &progress), 0);
  EXPECT_TRUE(clip.is_empty());
  EXPECT_TRUE(progress.has_failed());
  EXPECT_TRUE(leftovers().empty());
}
INSTANTIATE_TEST_SUITE_P(Wav, WavRejects, ::testing::ValuesIn(bad_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

using WavLoad = TempDirTest;

TEST_F(WavLoad, MissingFileFails) {
  AudioClip clip;
  EXPECT_EQ(clip.load_wav(file("nothing.wav"), nullptr), 0);
  EXPECT_EQ(clip.load_wav(dir(), nullptr), 0);
  EXPECT_TRUE(clip.is_empty());
}

TEST_F(WavLoad, ReadOnlyFileLoads) {
  write_file(file("ro.wav"), pcm16_wav(1, 8000, {100, 200, 300}));
  ASSERT_EQ(chmod(file("ro.wav").c_str(), 0444), 0);
  AudioClip clip;
  EXPECT_EQ(clip.load_wav(file("ro.wav"), nullptr), 1);
  EXPECT_EQ(clip.frames(), 3);
}

TEST_F(WavLoad, LinkedFileLoads) {
  write_file(file("real.wav"), pcm16_wav(1, 8000, {100, 200}));
  ASSERT_EQ(symlink(file("real.wav").c_str(), file("link.wav").c_str()), 0);
  AudioClip clip;
  EXPECT_EQ(clip.load_wav(file("link.wav"), nullptr), 1);
  EXPECT_EQ(clip.frames(), 2);
}

TEST_F(WavLoad, EightBitFormatIsKept) {
  write_file(file("in.wav"), riff({kFmtMono8, chunk("data", u8({0, 128, 255}))}));
  AudioClip clip;
  ASSERT_EQ(clip.load_wav(file("in.wav"), nullptr), 1);
  const WaveFormat expected{1, 1, 8000, 8000, 1, 8, 0};
  EXPECT_EQ(clip.format(), expected);
  EXPECT_EQ(clip.bytes(), 3);
}

TEST_F(WavLoad, PagesAreFilledAcrossTheBoundary) {
  const int32_t frames = static_cast<int32_t>(kPageSamples) + 5;
  std::vector<int16_t> samples;
  for (int32_t i = 0; i < frames; ++i) {
    samples.push_back(static_cast<int16_t>(i % 30000));
    samples.push_back(static_cast<int16_t>(-(i % 20000)));
  }
  write_file(file("long.wav"), pcm16_wav(2, 44100, samples));
  AudioClip clip;
  ASSERT_EQ(clip.load_wav(file("long.wav"), nullptr), 1);
  ASSERT_EQ(clip.frames(), frames);
  const std::vector<float> left = channel_samples(clip, 0);
  const std::vector<float> right = channel_samples(clip, 1);
  for (int32_t i : {0, 1, static_cast<int32_t>(kPageSamples) - 1,
                    static_cast<int32_t>(kPageSamples), frames - 1}) {
    EXPECT_EQ(left[i], static_cast<float>(i % 30000) / 32768.0f) << i;
    EXPECT_EQ(right[i], static_cast<float>(-(i % 20000)) / 32768.0f) << i;
  }
}

// Records every position the sink is moved to.
struct RecordingSink : ProgressSink {
  using ProgressSink::ProgressSink;
  std::vector<uint32_t> positions;
  void position_changed() override { positions.push_back(position()); }
};

TEST_F(WavLoad, PreparationTakesAFifthOfTheProgress) {
  std::vector<int16_t> samples(2 * kPageSamples + 10, 5);
  write_file(file("in.wav"), pcm16_wav(1, 8000, samples));
  AudioClip clip;
  RecordingSink progress(1000);
  ASSERT_EQ(clip.load_wav(file("in.wav"), &progress), 1);
  ASSERT_GE(progress.positions.size(), 3u);
  EXPECT_EQ(progress.positions.front(), 200u);
  EXPECT_EQ(progress.positions.back(), 1000u);
  EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));
  EXPECT_FALSE(progress.has_failed());
}

TEST_F(WavLoad, CancelledLoadFails) {
  write_file(file("in.wav"), pcm16_wav(1, 8000, {1, 2, 3}));
  AudioClip clip;
  ProgressSink progress(100);
  progress.request_cancel();
  EXPECT_EQ(clip.load_wav(file("in.wav"), &progress), 0);
  EXPECT_TRUE(clip.is_empty());
  EXPECT_TRUE(leftovers().empty());
}

TEST_F(WavLoad, StreamEntryPointReadsAnOpenStream) {
  write_file(file("in.wav"), pcm16_wav(2, 8000, {1, 2, 3, 4}));
  WavStream stream;
  ASSERT_EQ(stream.open_read(file("in.wav")), 1);
  AudioClip clip;
  EXPECT_EQ(read_wav_stream(stream, clip, nullptr), 1);
  EXPECT_EQ(clip.frames(), 2);
  AudioClip probed;
  EXPECT_EQ(probe_wav_stream(stream, probed), 1);
  EXPECT_TRUE(probed.store().is_empty());
  EXPECT_EQ(probed.frames(), 2);
}

// A codec that "decodes" by writing a fixed PCM file, as the media library will.
class FakeCodec : public MediaCodec {
 public:
  explicit FakeCodec(std::optional<Bytes> output) : output_(std::move(output)) {}
  int decode_to_wav(const std::string& source, const std::string& target,
                    ProgressSink* progress) override {
    sources.push_back(source);
    targets.push_back(target);
    if (!output_) return 0;
    write_file(target, *output_);
    if (progress != nullptr) progress->complete();
    return 1;
  }
  int encode_to_wma(const std::string&, const std::string&, ProgressSink*) override { return 0; }
  int read_tags(const std::string&, MediaTags&) override { return 0; }
  int write_tags(const std::string&, const MediaTags&) override { return 0; }
  std::vector<std::string> sources, targets;

 private:
  std::optional<Bytes> output_;
};

class WavDecode : public TempDirTest {
 protected:
  void TearDown() override {
    install_media_codec(nullptr);
    TempDirTest::TearDown();
  }
  // A 32-bit float WAV file: not PCM, so it needs the codec.
  void write_float_wav() {
    Bytes data;
    put32(data, 0x3f000000u);  // 0.5f
    put32(data, 0xbf000000u);
    write_file(file("float.wav"),
               riff({chunk("fmt ", fmt_body(3, 1, 8000, 32)), chunk("data", data)}));
  }
};

TEST_F(WavDecode, NonPcmGoesThroughTheCodec) {
  write_float_wav();
  FakeCodec codec(pcm16_wav(1, 8000, {16384, -16384}));
  install_media_codec(&codec);
  AudioClip clip;
  RecordingSink progress(100);
  ASSERT_EQ(clip.load_wav(file("float.wav"), &progress), 1);
  ASSERT_EQ(codec.sources.size(), 1u);
  EXPECT_EQ(codec.sources[0], file("float.wav"));
  EXPECT_EQ(codec.targets[0].rfind(dir() + "/~Ve", 0), 0u);
  EXPECT_FALSE(exists(codec.targets[0]));  // the decoded file is deleted
  EXPECT_EQ(clip.format().wFormatTag, 1);
  EXPECT_EQ(channel_samples(clip, 0), (std::vector<float>{0.5f, -0.5f}));
  EXPECT_EQ(progress.positions.front(), 20u);
  EXPECT_EQ(leftovers().size(), 1u);  // the clip's channel file only
}

TEST_F(WavDecode, FailedDecodeCleansUp) {
  write_float_wav();
  FakeCodec codec(std::nullopt);
  install_media_codec(&codec);
  AudioClip clip;
  EXPECT_EQ(clip.load_wav(file("float.wav"), nullptr), 0);
  EXPECT_EQ(codec.sources.size(), 1u);
  EXPECT_TRUE(clip.is_empty());
  EXPECT_TRUE(leftovers().empty());
}

TEST_F(WavDecode, DecodedFileMustBeReadable) {
  write_float_wav();
  FakeCodec codec(Bytes{'n', 'o', 'p', 'e'});
  install_media_codec(&codec);
  AudioClip clip;
  EXPECT_EQ(clip.load_wav(file("float.wav"), nullptr), 0);
  EXPECT_TRUE(leftovers().empty());
}

TEST_F(WavDecode, WithoutACodecNonPcmFails) {
  write_float_wav();
  AudioClip clip;
  ProgressSink progress(100);
  EXPECT_EQ(clip.load_wav(file("float.wav"), &progress), 0);
  EXPECT_TRUE(progress.has_failed());
  EXPECT_TRUE(leftovers().empty());
}

}  // namespace
}  // namespace voxtrelle
