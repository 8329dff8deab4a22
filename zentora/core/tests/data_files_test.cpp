// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/data_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "zentora/core/tests/test_support.h"

namespace zentora {
namespace {

namespace fs = std::filesystem;

// A tree like prefix/bin (the program) and prefix/share/zentora (its data); which of them hold
// "eg.mp3" and whether the share folder exists at all.
struct Layout {
  const char* name;
  bool beside;       // prefix/bin/eg.mp3
  bool shareFolder;  // prefix/share/zentora/
  bool shared;       // prefix/share/zentora/eg.mp3
  const char* expected;
};
void PrintTo(const Layout& layout, std::ostream* os) {
  *os << layout.name;
}

class DataFiles : public ::testing::TestWithParam<Layout> {};

TEST_P(DataFiles, BesideTheProgramFirstThenTheShareFolder) {
  const Layout& layout = GetParam();
  testing::TempDir prefix;
  const fs::path bin = fs::path(prefix.path()) / "bin";
  const fs::path share = fs::path(prefix.path()) / "share" / "zentora";
  fs::create_directories(bin);
  if (layout.shareFolder) fs::create_directories(share);
  if (layout.beside) testing::WriteFile((bin / "eg.mp3").string(), "beside");
  if (layout.shared) testing::WriteFile((share / "eg.mp3").string(), "shared");
  EXPECT_EQ(DataFilePath("eg.mp3", bin.string()),
            (fs::path(prefix.path()) / layout.expected).string());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, DataFiles,
    ::testing::Values(Layout{"BuildTree", true, false, false, "bin/eg.mp3"},
                      Layout{"Installed", false, true, true, "share/zentora/eg.mp3"},
                      Layout{"BothPreferBeside", true, true, true, "bin/eg.mp3"},
                      Layout{"MissingWhenInstalled", false, true, false, "share/zentora/eg.mp3"},
                      Layout{"MissingInBuildTree", false, false, false, "bin/eg.mp3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataFiles, AFolderOfTheSameNameIsNoDataFile) {
  testing::TempDir prefix;
  const fs::path bin = fs::path(prefix.path()) / "bin";
  const fs::path share = fs::path(prefix.path()) / "share" / "zentora";
  fs::create_directories(bin / "chord.wav");
  fs::create_directories(share);
  testing::WriteFile((share / "chord.wav").string(), "RIFF");
  EXPECT_EQ(DataFilePath("chord.wav", bin.string()), (share / "chord.wav").string());
}

}  // namespace
}  // namespace zentora
