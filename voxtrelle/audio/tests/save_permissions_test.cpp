// SPDX-License-Identifier: GPL-3.0-or-later
// Saves that meet write-protected files and folders, and symbolic links. The saves run in a
// child process as the unprivileged user 65534, since root ignores file permissions.
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

ino_t inode_of(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

enum class After { kOld, kNew, kMissing };

struct PermissionCase {
  const char* name;
  mode_t folder_mode;
  int target_mode;  // -1: no file there yet
  int saved;
  After after;
};

class SavePermissions : public TempDirTest, public ::testing::WithParamInterface<PermissionCase> {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    ASSERT_EQ(chmod(dir().c_str(), 0777), 0);
  }
};

// A three-frame mono clip saves as 44 + 3 x 2 bytes.
TEST_P(SavePermissions, RespectTheTargetAndItsFolder) {
  const PermissionCase& c = GetParam();
  const std::string folder = file("folder");
  const std::string target = folder + "/take.wav";
  ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
  const Bytes old(100, 9);
  if (c.target_mode >= 0) {
    write_file(target, old);
    ASSERT_EQ(chmod(target.c_str(), static_cast<mode_t>(c.target_mode)), 0);
  }
  ASSERT_EQ(chmod(folder.c_str(), c.folder_mode), 0);
  const ino_t inode = inode_of(target);

  AudioClip clip;
  ASSERT_EQ(clip.create_silent(false, 3, 8000), 1);
  const size_t channel_files = leftovers().size();
  EXPECT_EQ(as_nobody([&] { return clip.save_wav(target, nullptr); }), c.saved);

  ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
  switch (c.after) {
    case After::kOld:
      EXPECT_EQ(read_file(target), old);
      break;
    case After::kNew:
      EXPECT_EQ(read_file(target).size(), 50u);
      if (c.target_mode >= 0 && (c.folder_mode & 0002) == 0) {
        EXPECT_EQ(inode_of(target), inode);  // written in place
      }
      break;
    case After::kMissing:
      EXPECT_FALSE(exists(target));
      break;
  }
  EXPECT_EQ(leftovers().size(), channel_files);  // no staging file left in $TMPDIR
  EXPECT_FALSE(exists(folder + "/~Ve001.wav"));
}

INSTANTIATE_TEST_SUITE_P(
    WavSave, SavePermissions,
    ::testing::Values(PermissionCase{"WritableFolderAndFile", 0777, 0666, 1, After::kNew},
                      PermissionCase{"ReadOnlyTarget", 0777, 0444, 0, After::kOld},
                      PermissionCase{"LockedFolderWritableTarget", 0555, 0666, 1, After::kNew},
                      PermissionCase{"LockedFolderReadOnlyTarget", 0555, 0444, 0, After::kOld},
                      PermissionCase{"LockedFolderNewFile", 0555, -1, 0, After::kMissing}),
    [](const auto& info) { return std::string(info.param.name); });

using SaveLinks = TempDirTest;

// A dangling link is saved through: the file it names is created and the link stays.
TEST_F(SaveLinks, DanglingLinkCreatesItsTarget) {
  ASSERT_EQ(mkdir(file("real").c_str(), 0755), 0);
  ASSERT_EQ(symlink("real/new.wav", file("link.wav").c_str()), 0);
  ASSERT_EQ(target_is_writable(file("link.wav")), 1);
  AudioClip clip;
  ASSERT_EQ(clip.create_silent(false, 3, 8000), 1);
  ASSERT_EQ(clip.save_wav(file("link.wav"), nullptr), 1);
  struct stat st {};
  ASSERT_EQ(lstat(file("link.wav").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(read_file(file("real/new.wav")).size(), 50u);
}

TEST_F(SaveLinks, ChainsOfLinksAreFollowedToTheirEnd) {
  ASSERT_EQ(mkdir(file("a").c_str(), 0755), 0);
  ASSERT_EQ(symlink("../b.wav", file("a/one.wav").c_str()), 0);
  ASSERT_EQ(symlink(file("c.wav").c_str(), file("b.wav").c_str()), 0);
  EXPECT_EQ(replacement_target(file("a/one.wav")), file("c.wav"));
  ASSERT_EQ(symlink("loop2.wav", file("loop1.wav").c_str()), 0);
  ASSERT_EQ(symlink("loop1.wav", file("loop2.wav").c_str()), 0);
  AudioClip clip;
  ASSERT_EQ(clip.create_silent(false, 3, 8000), 1);
  EXPECT_EQ(clip.save_wav(file("loop1.wav"), nullptr), 0);
}

}  // namespace
}  // namespace voxtrelle
