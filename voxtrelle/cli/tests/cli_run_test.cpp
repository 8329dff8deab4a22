// SPDX-License-Identifier: GPL-3.0-or-later
// voxtrelle-cli run as a program: output files, exit statuses and messages.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "project_version.h"
#include "voxtrelle/audio/tests/clip_test_support.h"
#include "voxtrelle/cli/tests/cli_process.h"

namespace voxtrelle::cli {
namespace {

using voxtrelle::testing::pcm16_bytes;
using voxtrelle::testing::read_file;
using voxtrelle::testing::wav_bytes;
using voxtrelle::testing::write_file;

struct RunResult {
  int status;
  std::string out;
  std::string err;
};

// A 16-bit value after a load and a save: the conversion moves negative values one step
// toward zero and keeps the others.
int16_t after_round_trip(int16_t s) {
  return s < 0 ? static_cast<int16_t>(s + 1) : s;
}

std::vector<int16_t> after_round_trip(std::vector<int16_t> samples) {
  for (int16_t& s : samples) s = after_round_trip(s);
  return samples;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(scratch_.file("log")); }

  RunResult run(const std::vector<std::string>& args, bool as_nobody = false) {
    testing::CliProcess process(args, scratch_.path() + "/tmp", scratch_.file("log/run"),
                                as_nobody);
    EXPECT_TRUE(process.started());
    const int status = process.wait();
    return {status, process.out(), process.err()};
  }

  std::string file(const std::string& name) const { return scratch_.file(name); }

  void write_wav16(const std::string& name, uint16_t channels, const std::vector<int16_t>& s,
                   uint32_t rate = 22050) {
    write_file(file(name), wav_bytes(channels, rate, 16, pcm16_bytes(s)));
  }

  std::vector<uint8_t> expected_wav16(uint16_t channels, const std::vector<int16_t>& s,
                                      uint32_t rate = 22050) {
    return wav_bytes(channels, rate, 16, pcm16_bytes(s));
  }

  voxtrelle::testing::ScratchDirectory scratch_;
};

// Ten stereo frames: left 1000 * i, right -500 * i.
std::vector<int16_t> ten_stereo_frames() {
  std::vector<int16_t> s;
  for (int i = 0; i < 10; ++i) {
    s.push_back(static_cast<int16_t>(1000 * i));
    s.push_back(static_cast<int16_t>(-500 * i));
  }
  return s;
}

std::vector<int16_t> frames(const std::vector<int16_t>& stereo, const std::vector<int>& keep) {
  std::vector<int16_t> s;
  for (int i : keep) {
    s.push_back(stereo[2 * i]);
    s.push_back(stereo[2 * i + 1]);
  }
  return s;
}

TEST_F(CliTest, HelpPrintsTheUsage) {
  const RunResult help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("voxtrelle-cli edit INPUT OUTPUT [OP ...]"), std::string::npos);
  const RunResult none = run({});
  EXPECT_EQ(none.status, 2);
  EXPECT_NE(none.err.find("usage:"), std::string::npos);
  EXPECT_EQ(none.out, "");
}

TEST_F(CliTest, VersionPrintsTheProjectVersion) {
  const RunResult version = run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("voxtrelle-cli ") + PROJECT_VERSION_TEXT + "\n");
  EXPECT_EQ(version.err, "");
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndTouchNothing) {
  write_wav16("in.wav", 2, ten_stereo_frames());
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"edit", file("in.wav"), file("out.wav"), "fade-in", "3"},
           {"edit", file("in.wav"), file("out.wav"), "louder"},
           {"peaks", file("in.wav")},
           {"info"}}) {
    const RunResult result = run(args);
    EXPECT_EQ(result.status, 2) << args[0];
    EXPECT_NE(result.err.find("usage:"), std::string::npos);
  }
  EXPECT_TRUE(scratch_.leftovers({"in.wav"}).empty());
}

TEST_F(CliTest, InfoDescribesTheFile) {
  write_wav16("in.wav", 2, ten_stereo_frames(), 8000);
  const RunResult stereo = run({"info", file("in.wav")});
  EXPECT_EQ(stereo.status, 0) << stereo.err;
  EXPECT_EQ(stereo.out,
            "kind: wav\nchannels: 2\nrate: 8000\nbits: 16\nframes: 10\nduration: 0.001\n");

  write_file(file("eight.wav"), wav_bytes(1, 11025, 8, std::vector<uint8_t>(11025 * 3 / 2, 128)));
  const RunResult mono = run({"info", file("eight.wav")});
  EXPECT_EQ(mono.status, 0) << mono.err;
  EXPECT_EQ(mono.out,
            "kind: wav\nchannels: 1\nrate: 11025\nbits: 8\nframes: 16537\nduration: 1.500\n");
}

TEST_F(CliTest, EditWithoutOperationsCopiesTheAudio) {
  const std::vector<int16_t> samples = {0, 1, -1, 32767, -32768, 12345, -12345, 2};
  write_wav16("in.wav", 2, samples);
  const std::vector<uint8_t> input = read_file(file("in.wav"));
  const RunResult result = run({"edit", file("in.wav"), file("out.wav")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");  // no progress bar: standard error is no terminal here
  EXPECT_EQ(read_file(file("out.wav")), expected_wav16(2, after_round_trip(samples)));
  EXPECT_EQ(read_file(file("in.wav")), input);
  EXPECT_TRUE(scratch_.leftovers({"in.wav", "out.wav"}).empty());
  EXPECT_EQ(scratch_.temp_files(), 0u);
}

struct EditCase {
  const char* name;
  std::vector<std::string> ops;
  uint16_t in_channels;
  std::vector<int16_t> in;
  uint16_t out_channels;
  std::vector<int16_t> out;  // before the round trip's rounding
};

class CliEdit : public CliTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(CliEdit, WritesTheEditedSamples) {
  const EditCase& c = GetParam();
  write_wav16("in.wav", c.in_channels, c.in);
  std::vector<std::string> args = {"edit", file("in.wav"), file("out.wav")};
  args.insert(args.end(), c.ops.begin(), c.ops.end());
  const RunResult result = run(args);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(read_file(file("out.wav")), expected_wav16(c.out_channels, after_round_trip(c.out)));
}

const std::vector<int16_t> kStereo = ten_stereo_frames();

INSTANTIATE_TEST_SUITE_P(
    Cli, CliEdit,
    ::testing::Values(
        EditCase{"DeleteSelected",
                 {"delete-selected", "2", "5"},
                 2,
                 kStereo,
                 2,
                 frames(kStereo, {0, 1, 5, 6, 7, 8, 9})},
        EditCase{"DeleteAtBothEnds",
                 {"delete-selected", "0", "1", "delete-selected", "8", "9"},
                 2,
                 kStereo,
                 2,
                 frames(kStereo, {1, 2, 3, 4, 5, 6, 7, 8})},
        EditCase{"DeleteUnselected",
                 {"delete-unselected", "2", "5"},
                 2,
                 kStereo,
                 2,
                 frames(kStereo, {2, 3, 4})},
        EditCase{"DeletePastTheEndIsClamped",
                 {"delete-selected", "7", "99"},
                 2,
                 kStereo,
                 2,
                 frames(kStereo, {0, 1, 2, 3, 4, 5, 6})},
        EditCase{"FadeIn",
                 {"fade-in"},
                 1,
                 {16384, 16384, 16384, 16384, 16384},
                 1,
                 {0, 4096, 8192, 12288, 16384}},
        EditCase{"FadeOutOfARange",
                 {"fade-out", "1", "4"},
                 1,
                 {-8000, 8000, 8000, 8000, 8000},
                 1,
                 {-8000, 8000, 4000, 0, 8000}},
        EditCase{
            "VolumeHalf", {"volume", "50"}, 1, {2000, -2000, 30000, 2}, 1, {1000, -1000, 15000, 1}},
        EditCase{"VolumeClips",
                 {"volume", "300", "0", "2"},
                 1,
                 {16384, -16384, 16384},
                 1,
                 {32767, -32768, 16384}},
        EditCase{"Maximize",
                 {"maximize"},
                 2,
                 {8192, 4096, -4096, -16384},
                 2,
                 {32767, 8192, -16384, -32768}},
        EditCase{"ToMono",
                 {"to-mono"},
                 2,
                 {1000, 2000, -3000, 500, 16384, 16384},
                 1,
                 {3000, -2500, 32767}},
        EditCase{
            "ToStereo", {"to-stereo"}, 1, {7, -300, 20000}, 2, {7, 7, -300, -300, 20000, 20000}},
        EditCase{"OperationsApplyInOrder",
                 {"to-stereo", "delete-unselected", "1", "3", "to-mono"},
                 1,
                 {100, 200, 300, 400},
                 1,
                 {400, 600}}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return info.param.name; });

TEST_F(CliTest, EightBitInputComesOutSixteenBitAfterADeletion) {
  write_file(file("in.wav"), wav_bytes(1, 8000, 8, {0, 64, 128, 192, 255}));
  const RunResult result =
      run({"edit", file("in.wav"), file("out.wav"), "delete-selected", "1", "2"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(read_file(file("out.wav")),
            wav_bytes(1, 8000, 16, pcm16_bytes({-32767, 0, 16384, 32512})));
}

TEST_F(CliTest, EightBitInputStaysEightBitOtherwise) {
  const std::vector<uint8_t> data = {0, 64, 128, 192, 255};
  write_file(file("in.wav"), wav_bytes(1, 8000, 8, data));
  const RunResult result = run({"edit", file("in.wav"), file("out.wav"), "volume", "100"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(read_file(file("out.wav")), wav_bytes(1, 8000, 8, data));
}

struct ErrorCase {
  const char* name;
  std::vector<std::string> args;  // "IN" and "OUT" stand for the scratch files
  std::string message;            // the whole line on standard error
};

class CliError : public CliTest, public ::testing::WithParamInterface<ErrorCase> {};

// Every failure: one line naming the file, status 1, INPUT unchanged, the old OUTPUT kept and
// no temporary file left.
TEST_P(CliError, ExplainsAndLeavesTheFilesAlone) {
  write_wav16("in.wav", 2, kStereo);
  write_file(file("out.wav"), {'o', 'l', 'd'});
  const std::vector<uint8_t> input = read_file(file("in.wav"));
  std::vector<std::string> args;
  std::string message = GetParam().message;
  const auto expand = [this](std::string text) {
    for (const char* name :
         {"in.wav", "out.wav", "in.mp3", "missing.wav", "bad.wav", "out.ogg", "nowhere/out.wav",
          "nowhere", "folder", "short.wav", "nodata.wav", "empty.wav"}) {
      const std::string token = std::string("@") + name;
      for (size_t at = text.find(token); at != std::string::npos; at = text.find(token)) {
        text.replace(at, token.size(), file(name));
      }
    }
    return text;
  };
  for (const std::string& arg : GetParam().args) args.push_back(expand(arg));
  write_file(file("in.mp3"), input);
  write_file(file("bad.wav"), {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '});
  std::filesystem::create_directory(file("folder"));
  // A format chunk of 14 bytes, then a data chunk whose id would be read as the bit depth.
  std::vector<uint8_t> short_fmt = wav_bytes(1, 8000, 16, pcm16_bytes({1, 2}));
  short_fmt.erase(short_fmt.begin() + 34, short_fmt.begin() + 36);
  short_fmt[16] = 14;
  short_fmt[4] -= 2;
  write_file(file("short.wav"), short_fmt);
  std::vector<uint8_t> no_data = wav_bytes(1, 8000, 16, {});
  no_data.resize(36);
  no_data[4] = 28;
  write_file(file("nodata.wav"), no_data);
  write_file(file("empty.wav"), wav_bytes(2, 8000, 16, {}));
  const RunResult result = run(args);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "voxtrelle-cli: " + expand(message) + "\n");
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(read_file(file("in.wav")), input);
  EXPECT_EQ(read_file(file("out.wav")), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_TRUE(scratch_
                  .leftovers({"in.wav", "out.wav", "in.mp3", "bad.wav", "short.wav", "nodata.wav",
                              "empty.wav"})
                  .empty());
  EXPECT_EQ(scratch_.temp_files(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliError,
    ::testing::Values(
        ErrorCase{"UnknownInputKind",
                  {"info", "@in.mp3"},
                  "cannot open \"@in.mp3\": not a WAV or WMA file"},
        ErrorCase{"MissingInput",
                  {"edit", "@missing.wav", "@out.wav"},
                  "cannot open \"@missing.wav\": no such file"},
        ErrorCase{"NotAWavFile",
                  {"peaks", "@bad.wav", "2"},
                  "cannot open \"@bad.wav\": not a RIFF/WAVE file"},
        ErrorCase{"UnknownOutputKind",
                  {"edit", "@in.wav", "@out.ogg"},
                  "cannot save \"@out.ogg\": not a WAV or WMA file"},
        ErrorCase{"OutputIsAFolder",
                  {"edit", "@in.wav", "@folder"},
                  "cannot save \"@folder\": it is a folder"},
        ErrorCase{"InputIsAFolder", {"info", "@folder"}, "cannot open \"@folder\": it is a folder"},
        ErrorCase{"ShortFormatChunk",
                  {"info", "@short.wav"},
                  "cannot open \"@short.wav\": the format chunk is too short (14 bytes)"},
        ErrorCase{"NoDataChunk",
                  {"edit", "@nodata.wav", "@out.wav", "fade-in"},
                  "cannot open \"@nodata.wav\": the file holds no audio"},
        ErrorCase{"ZeroFrames",
                  {"edit", "@empty.wav", "@out.wav", "to-mono"},
                  "cannot open \"@empty.wav\": the file holds no audio"},
        ErrorCase{"MissingFolder",
                  {"edit", "@in.wav", "@nowhere/out.wav"},
                  "cannot save \"@nowhere/out.wav\": the folder \"@nowhere\" does not exist"},
        ErrorCase{"WholeClipSelected",
                  {"edit", "@in.wav", "@out.wav", "delete-selected", "0", "10"},
                  "cannot edit \"@in.wav\": the selection 0..10 is the whole clip"},
        ErrorCase{"WholeClipByClamping",
                  {"edit", "@in.wav", "@out.wav", "delete-unselected", "0", "50"},
                  "cannot edit \"@in.wav\": the selection 0..50 is the whole clip"},
        ErrorCase{"EmptySelection",
                  {"edit", "@in.wav", "@out.wav", "fade-in", "4", "4"},
                  "cannot edit \"@in.wav\": the selection 4..4 is not a range (0 <= B < E)"},
        ErrorCase{"SelectionAfterTheEnd",
                  {"edit", "@in.wav", "@out.wav", "maximize", "10", "12"},
                  "cannot edit \"@in.wav\": the selection 10..12 starts after the end of the "
                  "clip (10 frames)"},
        ErrorCase{"TooManyPeakColumns",
                  {"peaks", "@in.wav", "11"},
                  "cannot compute peaks of \"@in.wav\": 11 columns for 10 frames"}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

// A clip of `seconds` of stereo noise-like data at 44.1 kHz.
void write_long_wav(const std::string& path, int seconds) {
  std::vector<int16_t> samples(static_cast<size_t>(seconds) * 44100 * 2);
  uint32_t state = 12345;
  for (int16_t& s : samples) {
    state = state * 1664525u + 1013904223u;
    s = static_cast<int16_t>(state >> 20);
  }
  write_file(path, wav_bytes(2, 44100, 16, pcm16_bytes(samples)));
}

// Saves as an ordinary user: a write-protected OUTPUT is refused and kept; a writable one in a
// folder that takes no new file is written in place; a new file there cannot be made.
struct PermissionCase {
  const char* name;
  const char* output;
  mode_t folder_mode;
  int output_mode;  // -1: no file there yet
  int status;
  std::string message;  // after "voxtrelle-cli: cannot save \"OUTPUT\": "
};

class CliPermissions : public CliTest, public ::testing::WithParamInterface<PermissionCase> {};

TEST_P(CliPermissions, RespectTheOutputAndItsFolder) {
  const PermissionCase& c = GetParam();
  namespace fs = std::filesystem;
  for (const std::string& open : {scratch_.path(), scratch_.path() + "/tmp", file("log")}) {
    fs::permissions(open, fs::perms::all);
  }
  write_long_wav(file("in.wav"), 2);
  fs::permissions(file("in.wav"), fs::perms::owner_read | fs::perms::others_read);
  const std::string folder = file("folder");
  const std::string output = folder + "/" + c.output;
  fs::create_directory(folder);
  fs::permissions(folder, fs::perms::all);
  const std::vector<uint8_t> old = {'o', 'l', 'd'};
  if (c.output_mode >= 0) {
    write_file(output, old);
    fs::permissions(output, static_cast<fs::perms>(c.output_mode));
  }
  fs::permissions(folder, static_cast<fs::perms>(c.folder_mode));
  const RunResult result = run({"edit", file("in.wav"), output, "to-mono"}, true);
  fs::permissions(folder, fs::perms::all);

  EXPECT_EQ(result.status, c.status) << result.err;
  if (c.status == 0) {
    EXPECT_EQ(result.err, "");
    const RunResult info = run({"info", output});
    EXPECT_EQ(info.out.rfind("kind: ", 0), 0u) << info.err;
    EXPECT_NE(info.out.find("channels: 1\n"), std::string::npos) << info.out;
  } else {
    EXPECT_EQ(result.err, "voxtrelle-cli: cannot save \"" + output + "\": " +
                              (c.message.find("%s") == 0 ? "cannot write in the folder \"" +
                                                               folder + "\": permission denied"
                                                         : c.message) +
                              "\n");
    if (c.output_mode >= 0) {
      EXPECT_EQ(read_file(output), old);
    } else {
      EXPECT_FALSE(fs::exists(output));
    }
  }
  size_t in_folder = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++in_folder;
  EXPECT_EQ(in_folder, c.output_mode >= 0 || c.status == 0 ? 1u : 0u);
  EXPECT_EQ(scratch_.temp_files(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliPermissions,
    ::testing::Values(
        PermissionCase{"ReadOnlyWav", "out.wav", 0777, 0444, 1, "the file is read-only"},
        PermissionCase{"ReadOnlyWma", "out.wma", 0777, 0444, 1, "the file is read-only"},
        PermissionCase{"LockedFolderWav", "out.wav", 0555, 0666, 0, ""},
        PermissionCase{"LockedFolderWma", "out.wma", 0555, 0666, 0, ""},
        PermissionCase{"LockedFolderReadOnly", "out.wav", 0555, 0444, 1, "the file is read-only"},
        PermissionCase{"LockedFolderNewFile", "out.wav", 0555, -1, 1, "%s"}),
    [](const auto& info) { return std::string(info.param.name); });

// An OUTPUT that is a dangling symbolic link is written through it: the link stays.
TEST_F(CliTest, DanglingLinkOutputCreatesItsTarget) {
  write_wav16("in.wav", 2, kStereo);
  std::filesystem::create_directory(file("real"));
  std::filesystem::create_symlink("real/new.wav", file("link.wav"));
  const RunResult result = run({"edit", file("in.wav"), file("link.wav")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(std::filesystem::is_symlink(file("link.wav")));
  EXPECT_EQ(read_file(file("real/new.wav")), expected_wav16(2, after_round_trip(kStereo)));
}

TEST_F(CliTest, PeaksPrintOneLinePerColumn) {
  // Column c holds frames 2c and 2c + 1; the frame that opens a column never counts.
  write_wav16("mono.wav", 1, {32767, 16384, -8192, -16384, 8192, 24576, 0, -32768});
  const RunResult mono = run({"peaks", file("mono.wav"), "4"});
  ASSERT_EQ(mono.status, 0) << mono.err;
  EXPECT_EQ(mono.out, "0.5 0\n0 -0.5\n0.75 0\n0 -1\n");

  write_wav16("stereo.wav", 2, {0, 0, 16384, -8192, 0, 0, -24576, 4096});
  const RunResult stereo = run({"peaks", file("stereo.wav"), "2"});
  ASSERT_EQ(stereo.status, 0) << stereo.err;
  EXPECT_EQ(stereo.out, "0.5 0 0 -0.25\n0 -0.75 0.125 0\n");
}

// Where an interrupt arrives: while the document path loads (the sample files exist), while a
// streamed job reads before it writes (Maximize's reading pass), or while the new output is
// being written beside the old one.
enum class Phase { kDocumentLoading, kStreamReading, kWriting };

struct InterruptCase {
  const char* name;
  Phase phase;
  const char* output;  // in out/
  const char* operation;
};

class CliInterrupt : public CliTest, public ::testing::WithParamInterface<InterruptCase> {};

// Ctrl+C part-way: status 130, the old output kept, nothing left behind.
TEST_P(CliInterrupt, CancelsCleanly) {
  const InterruptCase& c = GetParam();
  write_long_wav(file("in.wav"), 240);
  std::filesystem::create_directory(file("out"));
  const std::string output = file(std::string("out/") + c.output);
  write_file(output, {'o', 'l', 'd'});
  testing::CliProcess process({"edit", file("in.wav"), output, c.operation},
                              scratch_.path() + "/tmp", file("log/run"));
  ASSERT_TRUE(process.started());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  const auto entries = [&] {
    return std::distance(std::filesystem::directory_iterator(file("out")),
                         std::filesystem::directory_iterator{});
  };
  const auto busy = [&] {
    switch (c.phase) {
      case Phase::kDocumentLoading:
        return scratch_.temp_files() > 0;
      case Phase::kStreamReading: {
        // Maximize's reading pass reads all 42 MB of the input before the writing pass starts.
        // The input is opened only once the program's own code runs (start-up reads count too).
        const long long read = process.bytes_read();
        return read > (1 << 20) && read < (30 << 20) && process.has_open(file("in.wav"));
      }
      case Phase::kWriting:
        return entries() > 1;
    }
    return false;
  };
  while (process.running() && !busy() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ASSERT_TRUE(process.running()) << "finished before it could be interrupted";
  process.interrupt();
  EXPECT_EQ(process.wait(), 130) << process.err();
  EXPECT_EQ(process.err(), "voxtrelle-cli: interrupted; nothing was written\n");
  EXPECT_EQ(read_file(output), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(entries(), 1);
  EXPECT_EQ(scratch_.temp_files(), 0u);
  EXPECT_TRUE(scratch_.leftovers({"in.wav"}).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CliInterrupt,
    ::testing::Values(
#ifdef VOXTRELLE_CLI_HAS_MEDIA
        // WMA output is left to the document path.
        InterruptCase{"WhileLoading", Phase::kDocumentLoading, "out.wma", "fade-in"},
#endif
        InterruptCase{"WhileReading", Phase::kStreamReading, "out.wav", "maximize"},
        InterruptCase{"WhileSaving", Phase::kWriting, "out.wav", "fade-in"}),
    [](const ::testing::TestParamInfo<InterruptCase>& info) {
      return std::string(info.param.name);
    });

// Ctrl+C that arrives after the new file is complete, while it goes to the disk just before it
// would replace the old one, is still honoured: status 130 and the old file kept.
class CliLastMoment : public CliTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CliLastMoment, InterruptKeepsTheOldFile) {
  const std::string output = GetParam();
  write_wav16("in.wav", 2, ten_stereo_frames());
  std::filesystem::create_directory(file("out"));
  write_file(file("out/" + output), {'o', 'l', 'd'});
  // The sanitizers' run-time insists on coming first among the preloaded libraries.
  testing::CliProcess process({"edit", file("in.wav"), file("out/" + output), "fade-in"},
                              scratch_.path() + "/tmp", file("log/run"),
                              {std::string("LD_PRELOAD=") + VOXTRELLE_INTERRUPT_ON_FSYNC,
                               "ASAN_OPTIONS=verify_asan_link_order=0"});
  ASSERT_TRUE(process.started());
  EXPECT_EQ(process.wait(), 130) << process.err();
  EXPECT_EQ(process.err(), "voxtrelle-cli: interrupted; nothing was written\n");
  EXPECT_EQ(read_file(file("out/" + output)), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file("out")),
                          std::filesystem::directory_iterator{}),
            1);
  EXPECT_EQ(scratch_.temp_files(), 0u);
}

#ifdef VOXTRELLE_CLI_HAS_MEDIA
INSTANTIATE_TEST_SUITE_P(Cli, CliLastMoment, ::testing::Values("out.wav", "out.wma"));
#else
INSTANTIATE_TEST_SUITE_P(Cli, CliLastMoment, ::testing::Values("out.wav"));
#endif

#ifdef VOXTRELLE_CLI_HAS_MEDIA
TEST_F(CliTest, WmaRoundTripKeepsTheFormat) {
  write_long_wav(file("in.wav"), 2);
  const RunResult encode = run({"edit", file("in.wav"), file("out.wma"), "volume", "50"});
  ASSERT_EQ(encode.status, 0) << encode.err;
  const RunResult info = run({"info", file("out.wma")});
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.out.rfind("kind: wma\nchannels: 2\nrate: 44100\nbits: 16\n", 0), 0u) << info.out;
  const RunResult decode = run({"edit", file("out.wma"), file("back.wav"), "to-mono"});
  ASSERT_EQ(decode.status, 0) << decode.err;
  const RunResult back = run({"info", file("back.wav")});
  EXPECT_EQ(back.out.rfind("kind: wav\nchannels: 1\nrate: 44100\n", 0), 0u) << back.out;
  EXPECT_EQ(scratch_.temp_files(), 0u);
}

// Makes an IMA ADPCM WAV file with the ffmpeg command line (its decoder logs on every packet).
bool write_adpcm_wav(const std::string& path) {
  std::vector<std::string> args = {"ffmpeg",
                                   "-nostdin",
                                   "-v",
                                   "error",
                                   "-y",
                                   "-f",
                                   "lavfi",
                                   "-i",
                                   "sine=frequency=440:sample_rate=22050",
                                   "-t",
                                   "1",
                                   "-c:a",
                                   "adpcm_ima_wav",
                                   path};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The media library's own messages stay off standard error unless --verbose asks for them; a
// failure prints its one line only.
TEST_F(CliTest, MediaMessagesOnlyWithVerbose) {
  ASSERT_TRUE(write_adpcm_wav(file("ima.wav")));
  const RunResult quiet = run({"info", file("ima.wav")});
  ASSERT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_EQ(quiet.err, "");
  const RunResult verbose = run({"info", "--verbose", file("ima.wav")});
  ASSERT_EQ(verbose.status, 0) << verbose.err;
  EXPECT_EQ(verbose.out, quiet.out);
  EXPECT_NE(verbose.err.find("[adpcm_ima_wav @ "), std::string::npos) << verbose.err;

  write_file(file("noise.wma"), std::vector<uint8_t>(5000, 'x'));
  const RunResult failed = run({"edit", file("noise.wma"), file("out.wav")});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err, "voxtrelle-cli: cannot open \"" + file("noise.wma") +
                            "\": not a WMA file, or it cannot be decoded\n");
}
#endif

}  // namespace
}  // namespace voxtrelle::cli
