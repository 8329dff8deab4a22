// SPDX-License-Identifier: GPL-3.0-or-later
// Input the decoder must refuse, leaving nothing behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>

#include "voxtrelle/audio/tests/test_support.h"
#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/tests/media_test_support.h"

namespace voxtrelle {
namespace {

using test::ScratchDir;

// Makes a good two-second stereo WMA file with our encoder.
std::string make_wma(const ScratchDir& dir) {
  const std::string wav = dir.file("good.wav");
  const std::string wma = dir.file("good.wma");
  test::write_tone_wav(wav, 2, 44100, 88200);
  FfmpegMediaCodec codec;
  if (codec.encode_to_wma(wav, wma, nullptr) != 1) return {};
  return wma;
}

struct BadInput {
  const char* name;
  // Writes the bad file in dir and returns its path ("" when it could not be made).
  std::function<std::string(const ScratchDir&)> make;
};

class RefusedSource : public testing::TestWithParam<BadInput> {};

TEST_P(RefusedSource, FailsAndLeavesNothing) {
  ScratchDir dir;
  const std::string source = GetParam().make(dir);
  ASSERT_FALSE(source.empty()) << "could not make the input";
  const std::string target = dir.file("decoded.wav");
  FfmpegMediaCodec codec;
  test::RecordingSink sink(500);
  EXPECT_EQ(codec.decode_to_wav(source, target, &sink), 0);
  EXPECT_EQ(sink.has_failed(), 1);
  EXPECT_FALSE(test::file_exists(target));
  EXPECT_TRUE(dir.ve_files().empty());
}

std::string cut(const ScratchDir& dir, double keep) {
  const std::string wma = make_wma(dir);
  if (wma.empty()) return {};
  const std::string bytes = test::read_file(wma);
  const std::string path = dir.file("cut.wma");
  test::write_file(path, bytes.substr(0, static_cast<size_t>(bytes.size() * keep)));
  return path;
}

std::string overwrite(const ScratchDir& dir, double at, size_t count) {
  const std::string wma = make_wma(dir);
  if (wma.empty()) return {};
  std::string bytes = test::read_file(wma);
  std::mt19937 random(7);
  const size_t from = static_cast<size_t>(bytes.size() * at);
  for (size_t i = from; i < from + count && i < bytes.size(); ++i) {
    bytes[i] = static_cast<char>(random());
  }
  const std::string path = dir.file("damaged.wma");
  test::write_file(path, bytes);
  return path;
}

std::string made_by_ffmpeg(const ScratchDir& dir, const std::string& name,
                           std::vector<std::string> args) {
  const std::string path = dir.file(name);
  args.push_back(path);
  return test::run_ffmpeg(args) ? path : std::string();
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RefusedSource,
    testing::Values(
        BadInput{"truncated_header", [](const ScratchDir& d) { return cut(d, 0.02); }},
        BadInput{"damaged_header", [](const ScratchDir& d) { return overwrite(d, 0.0, 64); }},
        BadInput{"zero_length",
                 [](const ScratchDir& d) {
                   test::write_file(d.file("empty.wma"), "");
                   return d.file("empty.wma");
                 }},
        BadInput{"missing", [](const ScratchDir& d) { return d.file("absent.wma"); }},
        BadInput{"text_named_wma",
                 [](const ScratchDir& d) {
                   test::write_file(d.file("notes.wma"), std::string(5000, 'x'));
                   return d.file("notes.wma");
                 }},
        BadInput{"asf_without_audio",
                 [](const ScratchDir& d) {
                   return made_by_ffmpeg(d, "video.wma",
                                         {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-t",
                                          "1", "-c:v", "wmv2", "-f", "asf"});
                 }},
        BadInput{"mp4_video_named_wma",
                 [](const ScratchDir& d) {
                   return made_by_ffmpeg(d, "movie.wma",
                                         {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-f",
                                          "lavfi", "-i", "sine=frequency=440:sample_rate=44100",
                                          "-t", "1", "-c:v", "mpeg4", "-c:a", "aac", "-f", "mp4"});
                 }},
        BadInput{"wrong_extension",
                 [](const ScratchDir& d) {
                   const std::string wma = make_wma(d);
                   const std::string mp3 = d.file("song.mp3");
                   if (wma.empty() || std::rename(wma.c_str(), mp3.c_str()) != 0)
                     return std::string();
                   return mp3;
                 }}),
    [](const testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

// An existing read-only target is refused before anything is decoded and stays as it was.
TEST(DecodeTarget, ReadOnlyTargetIsRefusedAndKept) {
  ScratchDir dir;
  const std::string wma = make_wma(dir);
  ASSERT_FALSE(wma.empty());
  const std::string target = dir.file("locked.wav");
  test::write_file(target, "keep me");
  ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
  ASSERT_EQ(::chmod(wma.c_str(), 0644), 0);
  // As an ordinary user: root ignores the write protection.
  FfmpegMediaCodec codec;
  EXPECT_EQ(testing_support::as_nobody([&] { return codec.decode_to_wav(wma, target, nullptr); }),
            0);
  EXPECT_EQ(test::read_file(target), "keep me");
}

// A target planted as a symbolic link is not written through.
TEST(DecodeTarget, SymbolicLinkIsNotFollowed) {
  ScratchDir dir;
  const std::string wma = make_wma(dir);
  ASSERT_FALSE(wma.empty());
  test::write_file(dir.file("victim"), "untouched");
  ASSERT_EQ(::symlink(dir.file("victim").c_str(), dir.file("link.wav").c_str()), 0);
  FfmpegMediaCodec codec;
  EXPECT_EQ(codec.decode_to_wav(wma, dir.file("link.wav"), nullptr), 0);
  EXPECT_EQ(test::read_file(dir.file("victim")), "untouched");
}

}  // namespace
}  // namespace voxtrelle
