// SPDX-License-Identifier: GPL-3.0-or-later
// The window's file flows with symbolic links and write-protected files.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "voxtrelle/playback/wave_out_test.h"
#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/file_dialogs.h"
#include "voxtrelle/ui/main_frame.h"
#include "wav_fixture.h"
#include "wx_test_environment.h"

namespace voxtrelle {
namespace {

using test::WavFixture;
namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

int16_t Ramp(int32_t frame, int channel) {
  return static_cast<int16_t>((frame * 37 + channel * 11) % 20000 - 10000);
}

// While it lives, the process runs as user and group 65534, so that file permissions apply
// even when the tests run as root (which they do not stop); root comes back afterwards.
class AsNobody {
 public:
  AsNobody() {
    if (::geteuid() != 0) return;
    active_ = ::setresgid(kNobody, kNobody, 0) == 0 && ::setresuid(kNobody, kNobody, 0) == 0;
  }
  ~AsNobody() {
    if (!active_) return;
    [[maybe_unused]] const int user = ::setresuid(0, 0, 0);
    [[maybe_unused]] const int group = ::setresgid(0, 0, 0);
  }
  AsNobody(const AsNobody&) = delete;
  AsNobody& operator=(const AsNobody&) = delete;
  bool ok() const { return active_ || ::geteuid() != 0; }

 private:
  bool active_ = false;
};

// A main frame whose Save As dialog and message boxes answer from the test's script.
class FilePathsTest : public testing::Test {
 protected:
  FilePathsTest() {
    auto device = std::make_unique<WaveOutTest>(
        [this](std::function<void()> call) { frame_->CallAfter(std::move(call)); });
    frame_ = new MainFrame(std::move(device));
    FileFlowHooks& hooks = frame_->file_hooks();
    hooks.message = [this](wxWindow*, const wxString& text, long) {
      messages_.push_back(text);
      return wxOK;
    };
    hooks.chooseSave = [this](wxWindow*, const wxString& suggested, int) {
      suggested_.push_back(suggested);
      return saveChoice_;
    };
    frame_->Show();
    test::Pump();
  }
  ~FilePathsTest() override {
    frame_->document().reset();
    frame_->Destroy();
    test::Pump();
  }
  void Modify() {
    frame_->RunCommand(cmd::kMaximizeVolume);
    test::Pump();
    ASSERT_EQ(frame_->document().modified(), 1);
  }
  std::string Title() { return frame_->GetTitle().utf8_string(); }

  MainFrame* frame_ = nullptr;
  std::vector<wxString> messages_;
  std::vector<wxString> suggested_;
  std::optional<SaveAsChoice> saveChoice_;
};

// A file opened through a link keeps the link's path: the title, the proposed Save As name and
// folder, and Save go by it, and saving through the link keeps it a link.
TEST_F(FilePathsTest, ALinkStaysTheDocumentsPath) {
  WavFixture wav("real.wav", 1, 4000, 8000, Ramp);
  const fs::path real = wav.path();
  const fs::path links = real.parent_path() / "links";
  fs::create_directory(links);
  const fs::path link = links / "take.wav";
  fs::create_symlink(real, link);

  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(link.string())));
  EXPECT_EQ(frame_->document().loaded_path(), link.string());
  EXPECT_NE(Title().find("[take.wav]"), std::string::npos) << Title();
  Modify();

  saveChoice_ = SaveAsChoice{wxString::FromUTF8(link.string()), kSaveFilterWav};
  ASSERT_TRUE(frame_->SaveAs());
  ASSERT_EQ(suggested_.size(), 1u);
  EXPECT_EQ(suggested_[0], wxString::FromUTF8((links / "take (1).wav").string()));
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(frame_->document().saved_path(), link.string());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::file_size(real), 44u + 2u * 4000u);

  // Save goes through the link again.
  Modify();
  EXPECT_NE(Title().find("[take.wav *]"), std::string::npos) << Title();
  const auto before = fs::last_write_time(real);
  ASSERT_TRUE(frame_->Save());
  EXPECT_EQ(suggested_.size(), 1u);  // no dialog this time
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_GE(fs::last_write_time(real), before);
  EXPECT_EQ(frame_->document().modified(), 0);
}

// Saving over a write-protected file shows the save error and leaves the file as it was.
TEST_F(FilePathsTest, AReadOnlyTargetIsRefused) {
  WavFixture wav("song.wav", 2, 3000, 8000, Ramp);
  const fs::path folder = fs::path(wav.path()).parent_path();
  fs::permissions(folder, fs::perms::all);
  fs::permissions(wav.path(),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(wav.path())));
  Modify();
  const auto size = fs::file_size(wav.path());
  const auto inode = [&] {
    struct stat st {};
    return ::stat(wav.path().c_str(), &st) == 0 ? st.st_ino : 0;
  };
  const ino_t before = inode();

  saveChoice_ = SaveAsChoice{wxString::FromUTF8(wav.path()), kSaveFilterWav};
  bool saved = true;
  {
    const AsNobody nobody;
    ASSERT_TRUE(nobody.ok());
    saved = frame_->SaveAs();
  }
  EXPECT_FALSE(saved);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], wxString::FromUTF8("Error saving file \"" + wav.path() + "\"!"));
  EXPECT_EQ(fs::file_size(wav.path()), size);
  EXPECT_EQ(inode(), before);
  EXPECT_EQ(fs::status(wav.path()).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_EQ(frame_->document().modified(), 1);
}

// A WAV file without audio (no data chunk, or a data chunk of no whole frame) is an open error.
TEST_F(FilePathsTest, AFileWithoutAudioIsAnOpenError) {
  WavFixture wav("silent.wav", 2, 0, 8000, Ramp);
  const std::string no_data = wav.path() + ".nodata.wav";
  fs::copy_file(wav.path(), no_data);
  fs::resize_file(no_data, 36);  // the RIFF size still counts the data chunk's header
  for (const std::string& path : {wav.path(), no_data}) {
    messages_.clear();
    EXPECT_FALSE(frame_->LoadFile(wxString::FromUTF8(path)));
    ASSERT_EQ(messages_.size(), 1u) << path;
    EXPECT_EQ(messages_[0], wxString::FromUTF8("Error opening file:\n" + path));
    EXPECT_TRUE(frame_->document().is_empty());
  }
}

}  // namespace
}  // namespace voxtrelle
