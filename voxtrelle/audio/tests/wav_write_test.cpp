// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <unistd.h>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/replace_file.h"
#include "voxtrelle/audio/tests/test_support.h"
#include "voxtrelle/audio/wav_file.h"

namespace voxtrelle {
namespace {

using namespace testing_support;
using Bytes = std::vector<uint8_t>;

using WavSave = TempDirTest;

uint32_t le32_at(const Bytes& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
         uint32_t{b[at + 3]} << 24;
}

TEST_F(WavSave, OddDataGetsAPadByte) {
  Bytes data{0, 128, 255};
  write_file(file("in.wav"), riff({chunk("fmt ", fmt_body(1, 1, 8000, 8)), chunk("data", data)}));
  AudioClip clip;
  ASSERT_EQ(clip.load_wav(file("in.wav"), nullptr), 1);
  ASSERT_EQ(clip.save_wav(file("out.wav"), nullptr), 1);
  const Bytes out = read_file(file("out.wav"));
  ASSERT_EQ(out.size(), 48u);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), (Bytes{'R', 'I', 'F', 'F'}));
  EXPECT_EQ(le32_at(out, 4), 40u);
  EXPECT_EQ(Bytes(out.begin() + 8, out.begin() + 16),
            (Bytes{'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}));
  EXPECT_EQ(le32_at(out, 16), 16u);
  const Bytes fmt = fmt_body(1, 1, 8000, 8);
  EXPECT_EQ(Bytes(out.begin() + 20, out.begin() + 36), fmt);
  EXPECT_EQ(Bytes(out.begin() + 36, out.begin() + 40), (Bytes{'d', 'a', 't', 'a'}));
  EXPECT_EQ(le32_at(out, 40), 3u);
  EXPECT_EQ(Bytes(out.begin() + 44, out.end()), (Bytes{0, 128, 255, 0}));
  EXPECT_TRUE(leftovers().size() == 1u);  // the clip's channel file
}

class WavRoundTrip : public TempDirTest, public ::testing::WithParamInterface<size_t> {};

// Across pages, and past the size at which the disk write starts while the save goes on.
TEST_P(WavRoundTrip, SixteenBitSamplesComeBack) {
  const size_t frames = GetParam();
  std::vector<int16_t> samples;
  for (size_t i = 0; i < frames; ++i) {
    samples.push_back(static_cast<int16_t>((i * 7) % 32768));
    samples.push_back(static_cast<int16_t>(-static_cast<int>((i * 3) % 32768)));
  }
  const Bytes in = pcm16_wav(2, 48000, samples);
  write_file(file("in.wav"), in);
  AudioClip clip;
  ASSERT_EQ(clip.load_wav(file("in.wav"), nullptr), 1);
  ProgressSink progress(100);
  ASSERT_EQ(clip.save_wav(file("out.wav"), &progress), 1);
  EXPECT_EQ(progress.position(), 100u);
  // Positive samples come back unchanged, negative ones one step nearer zero.
  std::vector<int16_t> expected = samples;
  for (int16_t& s : expected) {
    if (s < 0) s = static_cast<int16_t>(s + 1);
  }
  EXPECT_EQ(read_file(file("out.wav")), pcm16_wav(2, 48000, expected));
}
INSTANTIATE_TEST_SUITE_P(WavSave, WavRoundTrip,
                         ::testing::Values(size_t{kPageSamples} + 77,
                                           size_t{9} * kPageSamples + 5));

TEST_F(WavSave, ReplacesAnExistingFileOnSuccess) {
  write_file(file("target.wav"), Bytes(100000, 7));
  ASSERT_EQ(chmod(file("target.wav").c_str(), 0640), 0);
  AudioClip clip;
  ASSERT_EQ(clip.create_silent(false, 10, 8000), 1);
  ASSERT_EQ(clip.save_wav(file("target.wav"), nullptr), 1);
  EXPECT_EQ(read_file(file("target.wav")).size(), 44u + 20u);
  struct stat st {};
  ASSERT_EQ(stat(file("target.wav").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(leftovers().size(), 1u);  // only the clip's channel file
}

// Every way a save can fail leaves the old file intact and no temporary file behind.
TEST_F(WavSave, SavingThroughALinkKeepsTheLink) {
  write_file(file("real.wav"), Bytes(10, 1));
  ASSERT_EQ(symlink(file("real.wav").c_str(), file("link.wav").c_str()), 0);
  AudioClip clip;
  ASSERT_EQ(clip.create_silent(false, 3, 8000), 1);
  ASSERT_EQ(clip.save_wav(file("link.wav"), nullptr), 1);
  struct stat st {};
  ASSERT_EQ(lstat(file("link.wav").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(read_file(file("real.wav")).size(), 44u + 6u);
}

// The replacement a WMA save makes goes the same way: through a link to the file it points to,
// grown in that file's folder, keeping that file's permissions.
TEST_F(WavSave, ReplacingThroughALinkKeepsTheLinkAndPermissions) {
  ASSERT_EQ(mkdir(file("real").c_str(), 0755), 0);
  write_file(file("real/song.wma"), Bytes(10, 1));
  ASSERT_EQ(chmod(file("real/song.wma").c_str(), 0604), 0);
  ASSERT_EQ(symlink(file("real/song.wma").c_str(), file("link.wma").c_str()), 0);
  ASSERT_EQ(target_is_writable(file("link.wma")), 1);
  const std::string temp = sibling_temp_path(file("link.wma"), "wma");
  ASSERT_EQ(temp.rfind(file("real/"), 0), 0u) << temp;
  write_file(temp, Bytes(5, 2));
  ASSERT_EQ(replace_file(temp, file("link.wma")), 1);

  struct stat st {};
  ASSERT_EQ(lstat(file("link.wma").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(stat(file("real/song.wma").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
  EXPECT_EQ(read_file(file("real/song.wma")), Bytes(5, 2));
  EXPECT_NE(access(temp.c_str(), F_OK), 0);
}

TEST_F(WavSave, FailureKeepsTheOldFile) {
  const Bytes old(1000, 9);
  write_file(file("target.wav"), old);
  AudioClip clip;
  ASSERT_EQ(clip.create_silent(true, 1000, 8000), 1);

  ProgressSink cancelled(100);
  cancelled.request_cancel();
  EXPECT_EQ(clip.save_wav(file("target.wav"), &cancelled), 0);
  EXPECT_TRUE(cancelled.has_failed());

  AudioClip empty;
  ProgressSink failed(100);
  EXPECT_EQ(empty.save_wav(file("target.wav"), &failed), 0);
  EXPECT_TRUE(failed.has_failed());

  EXPECT_EQ(read_file(file("target.wav")), old);
  EXPECT_EQ(leftovers().size(), 2u);  // the clip's two channel files
  EXPECT_EQ(clip.save_wav(file("missing/target.wav"), nullptr), 0);
  EXPECT_FALSE(exists(file("missing")));
}

TEST_F(WavSave, FullDiskFailsCleanly) {
  const Bytes old(1000, 9);
  write_file(file("target.wav"), old);
  AudioClip clip;
  ASSERT_EQ(clip.create_silent(true, 1 << 18, 44100), 1);  // 1 MiB of PCM
  int saved_ok = 0;
  {
    const FileSizeLimit limit(300000);
    ASSERT_TRUE(limit.active());
    saved_ok = clip.save_wav(file("target.wav"), nullptr);
  }
  EXPECT_EQ(saved_ok, 0);
  EXPECT_EQ(read_file(file("target.wav")), old);
  EXPECT_EQ(leftovers().size(), 2u);
}

TEST_F(WavSave, StreamGrowsInBlocksAndIsCutAtClose) {
  WavStream stream;
  ASSERT_EQ(stream.open_write(file("s.bin")), 1);
  const Bytes chunk_bytes(10, 3);
  EXPECT_EQ(stream.write(chunk_bytes.data(), 1, 10), 10u);
  EXPECT_EQ(stream.size(), 10u);
  ASSERT_EQ(stream.seek(300000, 0), 1);
  EXPECT_EQ(stream.write_byte(5), 1);
  EXPECT_EQ(stream.size(), 300001u);
  struct stat st {};
  ASSERT_EQ(stat(file("s.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_size % WavStream::kBlockBytes, 0);
  EXPECT_EQ(stream.seek(-1, 2), 1);
  EXPECT_EQ(stream.read_byte(), 5);
  EXPECT_EQ(stream.read_byte(), -1);
  EXPECT_EQ(stream.seek(-400000, 1), 0);
  EXPECT_EQ(stream.position(), 300001u);
  EXPECT_EQ(stream.close(), 1);
  ASSERT_EQ(stat(file("s.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_size, 300001);
  const Bytes back = read_file(file("s.bin"));
  EXPECT_EQ(back[9], 3);
  EXPECT_EQ(back[10], 0);
  EXPECT_EQ(back[300000], 5);
}

TEST_F(WavSave, ReadStreamStopsAtTheLogicalEnd) {
  write_file(file("r.bin"), Bytes{1, 2, 3, 4, 5});
  WavStream stream;
  ASSERT_EQ(stream.open_read(file("r.bin")), 1);
  uint8_t buffer[4] = {};
  EXPECT_EQ(stream.read(buffer, 2, 4), 2u);  // whole items only
  EXPECT_EQ(buffer[3], 4);
  EXPECT_EQ(stream.read(buffer, 2, 1), 0u);
  EXPECT_EQ(stream.read_byte(), 5);
  EXPECT_TRUE(stream.at_end());
  EXPECT_EQ(stream.write_byte(1), 0);  // opened read-only
}

}  // namespace
}  // namespace voxtrelle
