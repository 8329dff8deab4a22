// SPDX-License-Identifier: GPL-3.0-or-later
// The cutter program ended by a termination signal, as a desktop logout or a kill ends it: it
// closes like its Exit command and its settings are saved.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zentora {
namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

// The signals whose handlers process pid has installed (SigCgt of /proc/PID/status).
unsigned long long CaughtSignals(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("SigCgt:", 0) == 0) return std::stoull(line.substr(7), nullptr, 16);
  }
  return 0;
}

bool Catches(unsigned long long mask, int number) {
  return ((mask >> (number - 1)) & 1u) != 0;
}

class ProgramSignal : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zentora_signal_" + std::to_string(::getpid()) + "_" + std::to_string(GetParam()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_P(ProgramSignal, SavesTheSettingsAndCloses) {
  std::vector<std::string> env_text;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("XDG_CONFIG_HOME=", 0) != 0 && entry.rfind("ZENTORA_", 0) != 0) {
      env_text.push_back(entry);
    }
  }
  env_text.push_back("XDG_CONFIG_HOME=" + dir_.string());
  env_text.push_back("ZENTORA_SERVER=http://127.0.0.1:9");
  env_text.push_back("ZENTORA_AUDIO_SINK=fakesink sync=true");
  std::vector<char*> env;
  for (std::string& entry : env_text) env.push_back(entry.data());
  env.push_back(nullptr);
  std::string program = ZENTORA_PROGRAM;
  char* argv[] = {program.data(), nullptr};
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attr, &none);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, GetParam());
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, &attr, argv, env.data()), 0);
  posix_spawnattr_destroy(&attr);

  // Running once the program listens for the signal (or after a minute, to fail clearly).
  const auto deadline = steady_clock::now() + std::chrono::seconds(60);
  while (!Catches(CaughtSignals(pid), GetParam()) && steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, GetParam());
  int raw = 0;
  const auto end = steady_clock::now() + std::chrono::seconds(30);
  pid_t done = 0;
  while ((done = waitpid(pid, &raw, WNOHANG)) == 0 && steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (done == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &raw, 0);
    FAIL() << "still running after the signal";
  }
  ASSERT_TRUE(WIFEXITED(raw)) << "ended by signal " << WTERMSIG(raw);
  EXPECT_EQ(WEXITSTATUS(raw), 0);
  std::ifstream settings(dir_ / "Zentora" / "options.ini");
  std::ostringstream text;
  text << settings.rdbuf();
  EXPECT_NE(text.str().find("volume=9500"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("fineTuning=200"), std::string::npos) << text.str();
}

INSTANTIATE_TEST_SUITE_P(Program, ProgramSignal, ::testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(sigabbrev_np(info.param));
                         });

}  // namespace
}  // namespace zentora
