// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace voxtrelle::cli::testing {

// The voxtrelle-cli program under test, started as a child process with its own $TMPDIR and
// its standard output and error captured in files; extra_env entries ("NAME=value") are added
// to its environment. as_nobody runs it as user and group 65534 (through setpriv, when the
// test runs as root, which file permissions do not stop).
class CliProcess {
 public:
  CliProcess(const std::vector<std::string>& args, const std::string& tmpdir,
             const std::string& capture_prefix, bool as_nobody)
      : CliProcess(args, tmpdir, capture_prefix, {}, as_nobody) {}
  CliProcess(const std::vector<std::string>& args, const std::string& tmpdir,
             const std::string& capture_prefix, const std::vector<std::string>& extra_env = {},
             bool as_nobody = false)
      : out_path_(capture_prefix + ".out"), err_path_(capture_prefix + ".err") {
    std::vector<std::string> argv_text;
    if (as_nobody && ::geteuid() == 0) {
      argv_text = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    }
    argv_text.push_back(VOXTRELLE_CLI_PATH);
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argv_text) argv.push_back(arg.data());
    argv.push_back(nullptr);

    std::vector<std::string> env_text;
    for (char** e = environ; *e != nullptr; ++e) {
      if (std::string(*e).rfind("TMPDIR=", 0) != 0) env_text.emplace_back(*e);
    }
    env_text.push_back("TMPDIR=" + tmpdir);
    env_text.insert(env_text.end(), extra_env.begin(), extra_env.end());
    std::vector<char*> env;
    for (std::string& entry : env_text) env.push_back(entry.data());
    env.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_path_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_path_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), env.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~CliProcess() {
    if (pid_ > 0 && status_ < 0) {
      kill(pid_, SIGKILL);
      wait();
    }
  }
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  bool started() const { return pid_ > 0; }
  void interrupt() const { kill(pid_, SIGINT); }
  // True while the child runs.
  bool running() {
    if (status_ >= 0) return false;
    int raw = 0;
    if (waitpid(pid_, &raw, WNOHANG) == pid_) {
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 1000 + WTERMSIG(raw);
      return false;
    }
    return true;
  }
  // The exit status; 1000 + the signal number when a signal ended it.
  int wait() {
    if (status_ < 0 && pid_ > 0) {
      int raw = 0;
      waitpid(pid_, &raw, 0);
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 1000 + WTERMSIG(raw);
    }
    return status_;
  }
  // Bytes the child has read so far (from /proc), 0 when unknown.
  long long bytes_read() const {
    std::ifstream io("/proc/" + std::to_string(pid_) + "/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value) {
      if (key == "rchar:") return value;
    }
    return 0;
  }
  // True while the child holds `path` open (so its own code, past start-up, is running).
  bool has_open(const std::string& path) const {
    std::error_code error;
    const auto wanted = std::filesystem::canonical(path, error);
    if (error) return false;
    const std::filesystem::path fds = "/proc/" + std::to_string(pid_) + "/fd";
    for (const auto& entry : std::filesystem::directory_iterator(fds, error)) {
      std::error_code link_error;
      if (std::filesystem::read_symlink(entry.path(), link_error) == wanted) return true;
    }
    return false;
  }
  std::string out() const { return slurp(out_path_); }
  std::string err() const { return slurp(err_path_); }

 private:
  static std::string slurp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  pid_t pid_ = -1;
  int status_ = -1;
  std::string out_path_;
  std::string err_path_;
};

}  // namespace voxtrelle::cli::testing
