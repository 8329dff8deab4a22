// SPDX-License-Identifier: GPL-3.0-or-later
// The editor when storage fails: a temporary folder that is missing or too small, a target
// that runs out of space. The document and the target file stay as they were, and the message
// names the temporary folder when it is the cause.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "voxtrelle/audio/tests/clip_test_support.h"
#include "voxtrelle/playback/wave_out_test.h"
#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/main_frame.h"
#include "wav_fixture.h"
#include "wx_test_environment.h"

namespace voxtrelle {
namespace {

namespace fs = std::filesystem;

int16_t Tone(int32_t frame, int) {
  return static_cast<int16_t>(7000 * std::sin(frame * 0.05));
}

// Stands in for a full disk: no file may grow past `bytes` while it lives; a write beyond
// fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t previous_ = SIG_DFL;
};

std::string Slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

class FullDiskTest : public ::testing::Test {
 protected:
  FullDiskTest() {
    std::string pattern = fs::temp_directory_path().string() + "/vx-full-XXXXXX";
    folder_ = mkdtemp(pattern.data());
    const char* old = getenv("TMPDIR");
    if (old != nullptr) saved_tmpdir_ = old;
    fs::create_directory(folder_ + "/tmp");
    setenv("TMPDIR", (folder_ + "/tmp").c_str(), 1);
    frame_ = new MainFrame(std::make_unique<WaveOutTest>(
        [this](std::function<void()> call) { frame_->CallAfter(std::move(call)); }));
    frame_->file_hooks().message = [this](wxWindow*, const wxString& text, long) {
      messages_.push_back(text.utf8_string());
      return wxOK;
    };
    frame_->file_hooks().chooseSave = [this](wxWindow*, const wxString&, int filter) {
      return std::optional<SaveAsChoice>(SaveAsChoice{wxString::FromUTF8(target_), filter});
    };
    frame_->Show();
    test::Pump();
    answer_timer_.Bind(wxEVT_TIMER, &FullDiskTest::OnAnswerTimer, this);
  }
  ~FullDiskTest() override {
    frame_->document().reset();
    frame_->Destroy();
    test::Pump();
    if (saved_tmpdir_.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", saved_tmpdir_.c_str(), 1);
    }
    fs::remove_all(folder_);
  }

  std::vector<std::string> TempLeftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_ + "/tmp")) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  // Ends the next modal dialog that opens with `id`.
  void AnswerNextDialog(int id) {
    answer_id_ = id;
    answer_timer_.Start(20);
  }
  void OnAnswerTimer(wxTimerEvent&) {
    for (wxWindow* window : wxTopLevelWindows) {
      if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal()) {
        dialog->EndModal(answer_id_);
        answer_timer_.Stop();
      }
    }
  }

  // A mono clip of 30,000 frames: 120,000 bytes per sample file.
  test::WavFixture fixture_{"take.wav", 1, 30000, 22050, Tone};
  std::string folder_;
  std::string saved_tmpdir_;
  std::string target_;
  MainFrame* frame_ = nullptr;
  std::vector<std::string> messages_;
  wxTimer answer_timer_;
  int answer_id_ = wxID_OK;
};

TEST_F(FullDiskTest, MissingTemporaryFolderIsNamedAndNotCreated) {
  const std::string missing = folder_ + "/no/such/tmp";
  setenv("TMPDIR", missing.c_str(), 1);
  EXPECT_FALSE(frame_->LoadFile(wxString::FromUTF8(fixture_.path())));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "Error opening file:\n" + fixture_.path() +
                              "\n\nThe temporary folder \"" + missing + "\" does not exist.");
  EXPECT_FALSE(fs::exists(folder_ + "/no"));
  EXPECT_TRUE(frame_->document().is_empty());
}

TEST_F(FullDiskTest, LoadThatRunsOutOfSpaceLeavesNothingBehind) {
  {
    FileSizeLimit full(64 * 1024);
    EXPECT_FALSE(frame_->LoadFile(wxString::FromUTF8(fixture_.path())));
  }
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].rfind("Error opening file:\n" + fixture_.path(), 0), 0u);
  EXPECT_TRUE(frame_->document().is_empty());
  EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(FullDiskTest, EditThatRunsOutOfSpaceLeavesTheClipAsItWas) {
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(fixture_.path())));
  const std::vector<float> before =
      voxtrelle::testing::samples_of(frame_->document().current_clip(), 0);
  {
    FileSizeLimit full(64 * 1024);
    AnswerNextDialog(wxID_OK);
    frame_->RunCommand(cmd::kToStereo);
    test::Pump();
  }
  AudioDocument& document = frame_->document();
  EXPECT_TRUE(document.is_mono());
  EXPECT_EQ(document.modified(), 0);
  EXPECT_EQ(voxtrelle::testing::samples_of(document.current_clip(), 0), before);
  EXPECT_EQ(TempLeftovers().size(), 2u);  // the clip's sample file and its record
  // With room again the same command converts.
  AnswerNextDialog(wxID_OK);
  frame_->RunCommand(cmd::kToStereo);
  test::Pump();
  EXPECT_TRUE(document.is_stereo());
}

TEST_F(FullDiskTest, SaveThatRunsOutOfSpaceKeepsTheTargetAndTheDocument) {
  ASSERT_TRUE(frame_->LoadFile(wxString::FromUTF8(fixture_.path())));
  frame_->RunCommand(cmd::kFadeIn);
  ASSERT_EQ(frame_->document().modified(), 1);
  const std::vector<float> edited =
      voxtrelle::testing::samples_of(frame_->document().current_clip(), 0);
  fs::create_directory(folder_ + "/out");
  target_ = folder_ + "/out/out.wav";
  std::ofstream(target_) << "the old file";
  {
    FileSizeLimit full(16 * 1024);
    EXPECT_FALSE(frame_->SaveAs());
  }
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "Error saving file \"" + target_ + "\"!");
  EXPECT_EQ(Slurp(target_), "the old file");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ + "/out"), fs::directory_iterator{}), 1);
  AudioDocument& document = frame_->document();
  EXPECT_EQ(document.modified(), 1);
  EXPECT_EQ(voxtrelle::testing::samples_of(document.current_clip(), 0), edited);
}

}  // namespace
}  // namespace voxtrelle
