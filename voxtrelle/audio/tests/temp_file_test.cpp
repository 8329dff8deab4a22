// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/temp_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>

#include "voxtrelle/audio/tests/test_support.h"

namespace voxtrelle {
namespace {

using testing_support::exists;
using testing_support::TempDirTest;
using testing_support::write_file;

using TempPath = TempDirTest;

TEST_F(TempPath, NumbersNamesInUpperCaseHexFromOne) {
  EXPECT_EQ(UniqueTempPath("wav", "~Ve", ""), file("~Ve001.wav"));
  EXPECT_EQ(UniqueTempPath("wav", "~Ve", ""), file("~Ve002.wav"));
  for (int i = 3; i <= 9; ++i) UniqueTempPath("wav", "", "");
  EXPECT_EQ(UniqueTempPath("wav", "", ""), file("~Ve00A.wav"));
  EXPECT_EQ(UniqueTempPath("", "ab", dir()), file("ab001.tmp"));
}

TEST_F(TempPath, DefaultFormUsesFourHexDigitsAndTmp) {
  const std::string path = UniqueTempPath();
  ASSERT_FALSE(path.empty());
  EXPECT_TRUE(std::regex_match(path, std::regex(dir() + "/~Ve[0-9A-F]{4}\\.tmp")));
  EXPECT_TRUE(exists(path));
  const std::string long_prefix = UniqueTempPath("", "abcdef", "");
  EXPECT_TRUE(std::regex_match(long_prefix, std::regex(dir() + "/abc[0-9A-F]{4}\\.tmp")));
  EXPECT_NE(UniqueTempPath(), path);
}

TEST_F(TempPath, CreatesPrivateFilesAndMissingFolders) {
  const std::string path = UniqueTempPath("dat", "", dir() + "/a/b/c");
  EXPECT_EQ(path, file("a/b/c/~Ve001.dat"));
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(st.st_size, 0);
}

TEST_F(TempPath, FailsWhenTheFolderIsAFile) {
  write_file(file("plain"), {1, 2, 3});
  EXPECT_EQ(UniqueTempPath("wav", "", file("plain")), "");
}

TEST_F(TempPath, NeverWritesThroughAPlantedLink) {
  // A link planted under the next name is skipped, and its target is not touched.
  write_file(file("victim"), {7});
  ASSERT_EQ(symlink(file("victim").c_str(), file("~Ve001.wav").c_str()), 0);
  EXPECT_EQ(UniqueTempPath("wav", "", ""), file("~Ve002.wav"));
  EXPECT_EQ(testing_support::read_file(file("victim")), std::vector<uint8_t>{7});
}

TEST_F(TempPath, EmptyWhenTheTemporaryFolderIsUnusable) {
  setenv("TMPDIR", std::string(40000, 'x').c_str(), 1);
  EXPECT_EQ(temp_directory(), "");
  EXPECT_EQ(UniqueTempPath(), "");
  EXPECT_EQ(UniqueTempPath("wav"), "");
}

TEST_F(TempPath, TempFileDeletesOnDestruction) {
  std::string path;
  {
    TempFile temp("wav");
    path = temp.path();
    EXPECT_EQ(path, file("~Ve001.wav"));
    EXPECT_TRUE(exists(path));
  }
  EXPECT_FALSE(exists(path));
  EXPECT_TRUE(leftovers().empty());
}

TEST_F(TempPath, TempFileOpenOnlyWhenNothingHeld) {
  TempFile held("wav");
  EXPECT_EQ(held.open(O_RDWR), 0);

  TempFile temp;
  EXPECT_EQ(temp.open(O_WRONLY), 1);
  ASSERT_GE(temp.fd(), 0);
  EXPECT_EQ(write(temp.fd(), "abc", 3), 3);
  EXPECT_EQ(temp.open(O_RDWR), 0);
  const std::string path = temp.path();
  EXPECT_EQ(temp.remove(), 1);
  EXPECT_FALSE(exists(path));
  EXPECT_EQ(temp.path(), "");

  write_file(file("plain"), {1});
  TempFile nowhere("tmp", "~Ve", file("plain"));
  EXPECT_EQ(nowhere.path(), "");
  EXPECT_EQ(nowhere.open(O_RDWR), 0);  // a given folder must be a folder
}

}  // namespace
}  // namespace voxtrelle
