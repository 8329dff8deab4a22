// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "voxtrelle/audio/document_names.h"
#include "voxtrelle/audio/file_kind.h"
#include "voxtrelle/audio/tests/clip_test_support.h"

namespace voxtrelle {
namespace {

struct KindCase {
  const char* path;
  FileKind kind;
};

class FileKindOf : public ::testing::TestWithParam<KindCase> {};

TEST_P(FileKindOf, ComesFromTheLowerCasedExtension) {
  EXPECT_EQ(file_kind(GetParam().path), GetParam().kind) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Document, FileKindOf,
    ::testing::Values(KindCase{"a.wav", FileKind::kWav}, KindCase{"/x/Song.WAV", FileKind::kWav},
                      KindCase{"b.Wma", FileKind::kWma}, KindCase{"  /x/c.wma  ", FileKind::kWma},
                      KindCase{"c.mp3", FileKind::kOther}, KindCase{"", FileKind::kOther},
                      KindCase{"/music.wav/track", FileKind::kOther},
                      KindCase{"noext", FileKind::kOther}, KindCase{"a.wav.bak", FileKind::kOther},
                      KindCase{"a.wavx", FileKind::kOther}));

TEST(Document, ADirectoryNamedLikeAWavFileIsNoWavFile) {
  testing::ScratchDirectory scratch;
  std::filesystem::create_directory(scratch.file("folder.wav"));
  EXPECT_EQ(file_kind(scratch.file("folder.wav")), FileKind::kOther);
  EXPECT_EQ(normalize_path(scratch.file("folder.wav")), scratch.file("folder.wav") + "/");
}

TEST(Document, SuggestedNameCountsUpToTheFirstFreeName) {
  testing::ScratchDirectory scratch;
  const std::string loaded = scratch.file("take.one.wav");
  EXPECT_EQ(suggested_save_name_for(loaded), scratch.file("take.one (1).wav"));
  testing::write_file(scratch.file("take.one (1).wav"), {1});
  testing::write_file(scratch.file("take.one (2).wav"), {1});
  EXPECT_EQ(suggested_save_name_for(loaded), scratch.file("take.one (3).wav"));
  // The loaded file itself need not exist; white space around the path is dropped.
  EXPECT_EQ(suggested_save_name_for("  " + loaded + "\t"), scratch.file("take.one (3).wav"));
}

TEST(Document, SuggestedNameIsTidied) {
  testing::ScratchDirectory scratch;
  const std::string messy = scratch.path() + "//sub/../song.wma";
  EXPECT_EQ(suggested_save_name_for(messy), scratch.file("song (1).wma"));
}

struct NameCase {
  const char* loaded;
  const char* expected;
};

class SuggestedNameOf : public ::testing::TestWithParam<NameCase> {};

TEST_P(SuggestedNameOf, FollowsTheLoadedPath) {
  EXPECT_EQ(suggested_save_name_for(GetParam().loaded), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Document, SuggestedNameOf,
    ::testing::Values(NameCase{"", "Untitled"},
                      NameCase{"/nonexistent-vx/a.wav", "/nonexistent-vx/a (1).wav"},
                      NameCase{"/vx-root-file.wav", "/vx-root-file (1).wav"},
                      NameCase{"vx-relative-file.wma", "vx-relative-file (1).wma"},
                      NameCase{"/nonexistent-vx/noext", "/nonexistent-vx/noext (1)"}));

TEST(Document, DisplayNamePrefersTheSavedPath) {
  EXPECT_EQ(display_name_for("", "/a/b.wav"), "");
  EXPECT_EQ(display_name_for("/music/in.wma", ""), "in.wma");
  EXPECT_EQ(display_name_for("/music/in.wma", "/out/new.wav"), "new.wav");
  EXPECT_EQ(display_name_for("plain.wav", ""), "plain.wav");
}

}  // namespace
}  // namespace voxtrelle
