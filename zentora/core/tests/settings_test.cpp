// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/settings.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <ostream>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "zentora/core/tests/test_support.h"

namespace zentora {
namespace {

namespace fs = std::filesystem;

class SettingsTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  std::string file = dir.file("Zentora/options.ini");
  void writeIni(const std::string& body) {
    fs::create_directories(dir.file("Zentora"));
    testing::WriteFile(file, "[options]\n" + body);
  }
};

TEST_F(SettingsTest, MissingFileGivesDefaultsSilently) {
  std::string error = "unchanged";
  const Settings s = LoadSettings(file, &error);
  EXPECT_EQ(error, "");
  EXPECT_EQ(s.mute, 0);
  EXPECT_EQ(s.volume, -500);
  EXPECT_EQ(s.jumpSeconds, 3);
  EXPECT_EQ(s.fineTuneMs, 200);
}

TEST_F(SettingsTest, RoundTripInOrder) {
  const Settings saved{1, -2345, 7, 450};
  std::string error;
  ASSERT_EQ(SaveSettings(file, saved, &error), 1) << error;
  const std::string text = testing::ReadFile(file);
  const size_t section = text.find("[options]");
  const size_t mute = text.find("bMute=1");
  const size_t volume = text.find("volume=7655");
  const size_t jump = text.find("eachJump=7");
  const size_t fine = text.find("fineTuning=450");
  ASSERT_NE(section, std::string::npos) << text;
  ASSERT_NE(fine, std::string::npos) << text;
  EXPECT_TRUE(section < mute && mute < volume && volume < jump && jump < fine) << text;
  const Settings loaded = LoadSettings(file, &error);
  EXPECT_EQ(loaded.mute, 1);
  EXPECT_EQ(loaded.volume, -2345);
  EXPECT_EQ(loaded.jumpSeconds, 7);
  EXPECT_EQ(loaded.fineTuneMs, 450);
}

TEST_F(SettingsTest, SaveEmptiesOtherContent) {
  writeIni("stranger=1\n[other]\nx=2\n");
  ASSERT_EQ(SaveSettings(file, Settings{}, nullptr), 1);
  const std::string text = testing::ReadFile(file);
  EXPECT_EQ(text.find("stranger"), std::string::npos) << text;
  EXPECT_EQ(text.find("[other]"), std::string::npos) << text;
}

struct BoundCase {
  const char* line;
  int32_t mute, volume, jump, fine;
};
void PrintTo(const BoundCase& r, std::ostream* os) {
  *os << r.line;
}

class SettingsBounds : public SettingsTest, public ::testing::WithParamInterface<BoundCase> {};

TEST_P(SettingsBounds, AppliedOnLoad) {
  writeIni(GetParam().line);
  const Settings s = LoadSettings(file, nullptr);
  EXPECT_EQ(s.mute, GetParam().mute);
  EXPECT_EQ(s.volume, GetParam().volume);
  EXPECT_EQ(s.jumpSeconds, GetParam().jump);
  EXPECT_EQ(s.fineTuneMs, GetParam().fine);
}

INSTANTIATE_TEST_SUITE_P(Keys, SettingsBounds,
                         ::testing::Values(BoundCase{"eachJump=0\n", 0, -500, 1, 200},
                                           BoundCase{"eachJump=10\n", 0, -500, 9, 200},
                                           BoundCase{"eachJump=-4\n", 0, -500, 1, 200},
                                           BoundCase{"fineTuning=10\n", 0, -500, 3, 30},
                                           BoundCase{"fineTuning=901\n", 0, -500, 3, 900},
                                           BoundCase{"fineTuning=30\n", 0, -500, 3, 30},
                                           BoundCase{"volume=10001\n", 0, -500, 3, 200},
                                           BoundCase{"volume=-1\n", 0, -500, 3, 200},
                                           BoundCase{"volume=0\n", 0, -10000, 3, 200},
                                           BoundCase{"volume=10000\n", 0, 0, 3, 200},
                                           BoundCase{"bMute=5\n", 5, -500, 3, 200}));

TEST_F(SettingsTest, OutOfRangeVolumeIsSavedBackAsDefault) {
  writeIni("volume=10001\n");
  ASSERT_EQ(SaveSettings(file, LoadSettings(file, nullptr), nullptr), 1);
  EXPECT_NE(testing::ReadFile(file).find("volume=9500"), std::string::npos);
}

TEST_F(SettingsTest, FileOfOneMebibyteIsDeleted) {
  std::string body = "eachJump=5\n";
  const std::string header = "[options]\n";
  std::string padding(1048576 - header.size() - body.size(), '#');
  padding[padding.size() - 1] = '\n';
  writeIni(body + padding);
  ASSERT_EQ(fs::file_size(file), 1048576u);
  EXPECT_EQ(LoadSettings(file, nullptr).jumpSeconds, 3);
  EXPECT_FALSE(fs::exists(file));

  writeIni(body + padding.substr(1));
  ASSERT_EQ(fs::file_size(file), 1048575u);
  EXPECT_EQ(LoadSettings(file, nullptr).jumpSeconds, 5);
  EXPECT_TRUE(fs::exists(file));
}

TEST_F(SettingsTest, UnreadableFileReportsReadFailed) {
  // A socket stands at the path: it exists, is no folder, and cannot be opened even by root.
  fs::create_directories(dir.file("Zentora"));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(file.size(), sizeof(address.sun_path));
  std::strcpy(address.sun_path, file.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  std::string error;
  const Settings s = LoadSettings(file, &error);
  ::close(fd);
  EXPECT_EQ(error.rfind("读文件失败：\n" + file + "\n\n", 0), 0u) << error;
  EXPECT_GT(error.size(), ("读文件失败：\n" + file + "\n\n").size());
  EXPECT_EQ(s.jumpSeconds, 3);
}

TEST_F(SettingsTest, PlainFileWhereTheFolderBelongsIsReplaced) {
  testing::WriteFile(dir.file("Zentora"), "in the way");
  ASSERT_EQ(SaveSettings(file, Settings{}, nullptr), 1);
  EXPECT_TRUE(fs::is_directory(dir.file("Zentora")));
  EXPECT_TRUE(fs::is_regular_file(file));
}

TEST_F(SettingsTest, FolderAtTheFilePathReportsWriteFailed) {
  fs::create_directories(file);
  std::string error;
  EXPECT_EQ(SaveSettings(file, Settings{}, &error), 0);
  EXPECT_EQ(error.rfind("写文件失败：\n" + file + "\n\n", 0), 0u) << error;
  EXPECT_TRUE(fs::is_directory(file)) << "the folder and its contents stay";
  std::string loadError = "x";
  EXPECT_EQ(LoadSettings(file, &loadError).jumpSeconds, 3);
}

TEST_F(SettingsTest, FolderFollowsXdgConfigHome) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old != nullptr ? old : "";
  ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  EXPECT_EQ(SettingsFilePath(), dir.path() + "/Zentora/options.ini");
  ::setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(SettingsFolder(), std::string(std::getenv("HOME")) + "/.config/Zentora");
  if (old != nullptr) {
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

TEST(StepDialogs, Rules) {
  EXPECT_EQ(ParseDialogNumber("12"), 12u);
  EXPECT_EQ(ParseDialogNumber(" 7 "), 7u);
  EXPECT_EQ(ParseDialogNumber("abc"), 0u);
  EXPECT_EQ(ParseDialogNumber("5x"), 0u);
  EXPECT_EQ(ParseDialogNumber("-5"), 0u);
  EXPECT_EQ(ParseDialogNumber(""), 0u);
  EXPECT_EQ(ParseDialogNumber("99999999999"), 0u);
  EXPECT_EQ(JumpFromDialog(0), 3);
  EXPECT_EQ(JumpFromDialog(1), 1);
  EXPECT_EQ(JumpFromDialog(9), 9);
  EXPECT_EQ(JumpFromDialog(10), 9);
  EXPECT_EQ(FineTuneFromDialog(0), 200);
  EXPECT_EQ(FineTuneFromDialog(10), 30);
  EXPECT_EQ(FineTuneFromDialog(30), 30);
  EXPECT_EQ(FineTuneFromDialog(450), 450);
  EXPECT_EQ(FineTuneFromDialog(901), 900);
}

struct SliderPair {
  int position;
  int32_t volume;
};
void PrintTo(const SliderPair& r, std::ostream* os) {
  *os << r.position;
}

class VolumeSlider : public ::testing::TestWithParam<SliderPair> {};

TEST_P(VolumeSlider, PositionToVolume) {
  EXPECT_EQ(SliderPositionToVolume(GetParam().position), GetParam().volume);
}

INSTANTIATE_TEST_SUITE_P(Pairs, VolumeSlider,
                         ::testing::Values(SliderPair{100, 0}, SliderPair{79, -511},
                                           SliderPair{50, -1505}, SliderPair{10, -5000},
                                           SliderPair{1, -10000}));

TEST(VolumeSliderPosition, FromVolume) {
  EXPECT_EQ(VolumeToSliderPosition(-500), 79);
  EXPECT_EQ(VolumeToSliderPosition(0), 100);
  EXPECT_EQ(VolumeToSliderPosition(-10000), 1);
  EXPECT_EQ(VolumeToSliderPosition(-5000), 10);
  EXPECT_EQ(VolumeToSliderPosition(-511), 79);
}

}  // namespace
}  // namespace zentora
