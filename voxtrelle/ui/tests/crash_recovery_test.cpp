// SPDX-License-Identifier: GPL-3.0-or-later
// The editor and its sample files across a crash or a termination signal: an editor process is
// started on a file, edited, then killed or signalled; a main frame started afterwards offers
// or deletes what it left.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include <wx/weakref.h>

#include "voxtrelle/audio/audio_document.h"
#include "voxtrelle/audio/tests/clip_test_support.h"
#include "voxtrelle/playback/wave_out_test.h"
#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/main_frame.h"
#include "voxtrelle/ui/ve_view.h"
#include "wav_fixture.h"
#include "wx_test_environment.h"

extern char** environ;

namespace voxtrelle {
namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

// A child process with $TMPDIR set to a given folder.
class Child {
 public:
  Child(std::vector<std::string> args, const std::string& tmpdir) {
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> env_text;
    for (char** e = environ; *e != nullptr; ++e) {
      if (std::string(*e).rfind("TMPDIR=", 0) != 0) env_text.emplace_back(*e);
    }
    env_text.push_back("TMPDIR=" + tmpdir);
    std::vector<char*> env;
    for (std::string& entry : env_text) env.push_back(entry.data());
    env.push_back(nullptr);
    // The child starts with no signal blocked and the termination signals at their defaults,
    // whatever the test process did with them.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int number : {SIGTERM, SIGHUP, SIGINT}) sigaddset(&defaults, number);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    if (posix_spawn(&pid_, argv[0], nullptr, &attr, argv.data(), env.data()) != 0) pid_ = -1;
    posix_spawnattr_destroy(&attr);
  }
  ~Child() {
    if (pid_ > 0 && status_ < 0) {
      kill(pid_, SIGKILL);
      Wait(10);
    }
  }
  bool Started() const { return pid_ > 0; }
  void Signal(int number) const { kill(pid_, number); }
  // The exit status, 1000 + the signal that ended it, or -1 when it still runs after seconds.
  int Wait(int seconds) {
    const auto deadline = steady_clock::now() + std::chrono::seconds(seconds);
    while (status_ < 0 && steady_clock::now() < deadline) {
      int raw = 0;
      if (waitpid(pid_, &raw, WNOHANG) == pid_) {
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 1000 + WTERMSIG(raw);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

int16_t Wave(int32_t frame, int channel) {
  return static_cast<int16_t>(9000 * std::sin(frame * (0.02 + 0.01 * channel)));
}

// Each test has a temporary folder of its own, also for the processes it starts.
class CrashRecoveryTest : public ::testing::Test {
 protected:
  CrashRecoveryTest() : fixture_("take.wav", 2, 30000, 22050, Wave) {
    std::string pattern = fs::temp_directory_path().string() + "/vx-recovery-XXXXXX";
    folder_ = mkdtemp(pattern.data());
    const char* old = getenv("TMPDIR");
    if (old != nullptr) saved_tmpdir_ = old;
    setenv("TMPDIR", folder_.c_str(), 1);
  }
  ~CrashRecoveryTest() override {
    if (frame_ != nullptr) {
      frame_->document().reset();
      frame_->Destroy();
      test::Pump();
    }
    if (saved_tmpdir_.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", saved_tmpdir_.c_str(), 1);
    }
    fs::remove_all(folder_);
  }

  // An editor process that opened the fixture and faded it in; waits until it is ready.
  std::unique_ptr<Child> StartEditedEditor() {
    const std::string ready = folder_ + "/ready";
    auto child =
        std::make_unique<Child>(std::vector<std::string>{VX_EDITOR_PROCESS, fixture_.path(),
                                                         std::to_string(cmd::kFadeIn), ready},
                                folder_);
    EXPECT_TRUE(child->Started());
    const auto deadline = steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(ready) && steady_clock::now() < deadline && child->Wait(0) < 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(fs::exists(ready)) << "the editor did not get ready";
    fs::remove(ready);
    return child;
  }

  // "~Ve" files in the temporary folder.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("~Ve", 0) == 0) names.push_back(name);
    }
    return names;
  }

  // A main frame, as at the next start, whose questions are answered with `answer`.
  void StartFrame(int answer) {
    frame_ = new MainFrame(std::make_unique<WaveOutTest>(
        [this](std::function<void()> call) { frame_->CallAfter(std::move(call)); }));
    frame_->file_hooks().message = [this, answer](wxWindow*, const wxString& text, long style) {
      questions_.push_back(text);
      EXPECT_EQ(style & (wxYES_NO | wxCANCEL), wxYES_NO);
      return answer;
    };
    frame_->Show();
    test::Pump();
    frame_->RecoverUnsavedAudio();
    test::Pump();
  }

  test::WavFixture fixture_;
  std::string folder_;
  std::string saved_tmpdir_;
  MainFrame* frame_ = nullptr;
  std::vector<wxString> questions_;
};

// kill -9 after an edit, then Yes: the edited samples come back as the current clip, modified,
// without decoding or copying.
TEST_F(CrashRecoveryTest, KilledEditorsEditIsRecoveredOnYes) {
  auto editor = StartEditedEditor();
  const std::vector<std::string> left = Leftovers();
  ASSERT_EQ(left.size(), 3u);  // the record and two sample files
  editor->Signal(SIGKILL);
  ASSERT_EQ(editor->Wait(20), 1000 + SIGKILL);

  AudioDocument expected;
  ASSERT_TRUE(expected.load(fixture_.path(), nullptr));
  ASSERT_TRUE(expected.fade_in(-1, -1));

  StartFrame(wxYES);
  ASSERT_EQ(questions_.size(), 1u);
  EXPECT_NE(questions_[0].Find("\"take.wav\".\nLength of the unsaved audio: 00:01.361\n"),
            wxNOT_FOUND)
      << questions_[0].utf8_string();
  AudioDocument& document = frame_->document();
  ASSERT_FALSE(document.is_empty());
  EXPECT_EQ(document.modified(), 1);
  EXPECT_EQ(document.loaded_path(), fixture_.path());
  for (int channel = 0; channel < 2; ++channel) {
    EXPECT_EQ(voxtrelle::testing::samples_of(document.current_clip(), channel),
              voxtrelle::testing::samples_of(expected.current_clip(), channel));
  }
  EXPECT_TRUE(frame_->edit_view()->IsShown());
  frame_->UpdateAll();
  EXPECT_EQ(frame_->GetTitle(), "Voxtrelle - [take.wav *]");
  // No copy: the dead editor's sample files are the clip's now.
  const std::string channel0 = document.current_clip().store().channel(0).file()->path();
  EXPECT_NE(std::find(left.begin(), left.end(), fs::path(channel0).filename().string()),
            left.end());
  expected.reset();
  document.reset();
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(CrashRecoveryTest, KilledEditorsFilesAreDeletedOnNo) {
  auto editor = StartEditedEditor();
  editor->Signal(SIGKILL);
  ASSERT_EQ(editor->Wait(20), 1000 + SIGKILL);
  StartFrame(wxNO);
  EXPECT_EQ(questions_.size(), 1u);
  EXPECT_TRUE(frame_->document().is_empty());
  EXPECT_TRUE(Leftovers().empty());
}

class SignalledEditor : public CrashRecoveryTest, public ::testing::WithParamInterface<int> {};

// A second editor leaves a live editor's files alone and asks nothing; SIGTERM, SIGHUP and
// SIGINT end the editor as closing its window would, without a question, and its files go.
TEST_P(SignalledEditor, EndsCleanlyAndIsLeftAloneWhileAlive) {
  auto editor = StartEditedEditor();
  const size_t files = Leftovers().size();
  ASSERT_EQ(files, 3u);
  StartFrame(wxYES);
  EXPECT_TRUE(questions_.empty());
  EXPECT_TRUE(frame_->document().is_empty());
  EXPECT_EQ(Leftovers().size(), files);

  editor->Signal(GetParam());
  EXPECT_EQ(editor->Wait(30), 0);
  EXPECT_TRUE(Leftovers().empty());
}

INSTANTIATE_TEST_SUITE_P(Editor, SignalledEditor, ::testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(sigabbrev_np(info.param));
                         });

// A signal that arrives while a load runs: the job is cancelled (no error box), the window goes
// once the job's dialog is gone, and no sample file is left.
TEST_F(CrashRecoveryTest, QuitDuringALoadCancelsItAndLeavesNothing) {
  test::WavFixture long_file("long.wav", 2, 44100 * 120, 44100, Wave);
  StartFrame(wxYES);
  // Lands inside the job dialog's modal loop.
  frame_->CallAfter(&MainFrame::QuitWithoutAsking);
  EXPECT_FALSE(frame_->LoadFile(wxString::FromUTF8(long_file.path())));
  EXPECT_TRUE(questions_.empty());
  EXPECT_TRUE(frame_->document().is_empty());
  wxWeakRef<MainFrame> frame(frame_);
  frame_ = nullptr;  // the quit destroys it
  const auto deadline = steady_clock::now() + std::chrono::seconds(10);
  while (frame && steady_clock::now() < deadline) test::Pump();
  EXPECT_FALSE(frame) << "the window was not closed";
  EXPECT_TRUE(Leftovers().empty());
}

// The program itself: at start it deletes what a dead process left, and SIGTERM ends it.
TEST_F(CrashRecoveryTest, ProgramCleansUpAtStartAndEndsOnSignal) {
  const std::string stale = folder_ + "/~Ve1234.tmp";
  std::ofstream(stale) << "left by a process that died";
  Child program({VX_EDITOR_PROGRAM}, folder_);
  ASSERT_TRUE(program.Started());
  const auto deadline = steady_clock::now() + std::chrono::seconds(60);
  while (fs::exists(stale) && steady_clock::now() < deadline && program.Wait(0) < 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_FALSE(fs::exists(stale));
  program.Signal(SIGTERM);
  EXPECT_EQ(program.Wait(30), 0);
}

}  // namespace
}  // namespace voxtrelle
