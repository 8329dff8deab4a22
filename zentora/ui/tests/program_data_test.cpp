// SPDX-License-Identifier: GPL-3.0-or-later
// What the program brings with it: the window icon (the desktop entry's picture) and the data
// files made at build time, found where the program looks for them.
#include <gtest/gtest.h>
#include <wx/image.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "zentora/core/data_files.h"
#include "zentora/core/tool_process.h"
#include "zentora/ui/pictures.h"
#include "zentora/ui/warning_sound.h"

namespace zentora {
namespace {
namespace fs = std::filesystem;

class WindowIcon : public ::testing::TestWithParam<int> {};

TEST_P(WindowIcon, IsTheDesktopIcon) {
  const int size = GetParam();
  const wxIcon icon = ProgramIcons().GetIconOfExactSize(wxSize(size, size));
  ASSERT_TRUE(icon.IsOk()) << size << " px";
  wxImage desktop(wxString::Format("%s/zentora-%d.png", PROGRAM_ICON_DIR, size));
  ASSERT_TRUE(desktop.IsOk());
  const wxImage shown = wxBitmap(icon).ConvertToImage();
  ASSERT_EQ(shown.GetSize(), desktop.GetSize());
  int differing = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (desktop.GetAlpha(x, y) != shown.GetAlpha(x, y) ||
          (desktop.GetAlpha(x, y) == 255 && desktop.GetRed(x, y) != shown.GetRed(x, y)))
        ++differing;
  EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, WindowIcon, ::testing::Values(16, 32));

// The first bytes of a file.
std::string Head(const std::string& path, size_t count) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(count, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

TEST(ProgramData, WarningSoundIsBuiltBesideTheProgramAndPlays) {
  const std::string chord = DataFilePath("chord.wav");
  EXPECT_EQ(fs::path(chord).parent_path(), fs::path(ProgramFolder()));
  ASSERT_TRUE(fs::is_regular_file(chord)) << chord;
  const std::string head = Head(chord, 12);
  EXPECT_EQ(head.substr(0, 4), "RIFF");
  EXPECT_EQ(head.substr(8, 4), "WAVE");
  EXPECT_GT(fs::file_size(chord), 10000u) << "a chord, not a click";
  EXPECT_LT(fs::file_size(chord), 1048576u) << "the player refuses 1 MiB and more";

  setenv("ZENTORA_AUDIO_SINK", "fakesink sync=false", 1);
  EXPECT_TRUE(PlayWarningSound(chord));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // let the player thread end
}

TEST(ProgramData, SampleRecordingIsBuiltBesideTheProgram) {
  const std::string sample = DataFilePath("eg.mp3");
  EXPECT_EQ(fs::path(sample).parent_path(), fs::path(ProgramFolder()));
  EXPECT_EQ(Head(sample, 3), "ID3");
}

TEST(ProgramData, WarningSoundIsSilentForAMissingEmptyOrLargeFile) {
  const fs::path dir = fs::temp_directory_path() / ("zentora_sound_" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "empty.wav").close();
  std::ofstream(dir / "large.wav") << std::string(1048576, 'x');
  EXPECT_FALSE(PlayWarningSound((dir / "missing.wav").string()));
  EXPECT_FALSE(PlayWarningSound((dir / "empty.wav").string()));
  EXPECT_FALSE(PlayWarningSound((dir / "large.wav").string()));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zentora
