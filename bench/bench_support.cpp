// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/bench_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace bench {
namespace {

void put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

double seconds_of(const rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double ms_since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return seconds_of(usage);
}

long peak_rss_kib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

bool write_stereo_wav(const std::string& path, uint32_t rate, uint32_t frames,
                      const StereoFill& fill) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const uint32_t data_bytes = frames * 4;
  uint8_t header[44] = {'R', 'I', 'F', 'F', 0,  0, 0, 0, 'W', 'A', 'V', 'E',
                        'f', 'm', 't', ' ', 16, 0, 0, 0, 1,   0,   2,   0};
  put32(header + 4, 36 + data_bytes);
  put32(header + 24, rate);
  put32(header + 28, rate * 4);
  header[32] = 4;
  header[34] = 16;
  std::memcpy(header + 36, "data", 4);
  put32(header + 40, data_bytes);
  bool ok = write(fd, header, sizeof header) == static_cast<ssize_t>(sizeof header);
  std::vector<int16_t> block(1 << 19);
  for (uint32_t done = 0; ok && done < frames;) {
    const uint32_t n = std::min<uint32_t>(frames - done, static_cast<uint32_t>(block.size() / 2));
    fill(done, n, block.data());
    const ssize_t bytes = static_cast<ssize_t>(n) * 4;
    ok = write(fd, block.data(), static_cast<size_t>(bytes)) == bytes;
    done += n;
  }
  return close(fd) == 0 && ok;
}

std::string make_work_folder(const std::string& prefix) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + prefix + "XXXXXX";
  return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

Measure run_program(const std::vector<std::string>& args, bool quiet, const std::string& tmpdir) {
  Measure measure;
  if (args.empty()) return measure;
  std::vector<std::string> text = args;
  std::vector<char*> argv;
  for (std::string& arg : text) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<std::string> env_text;
  for (char** e = environ; *e != nullptr; ++e) {
    if (tmpdir.empty() || std::strncmp(*e, "TMPDIR=", 7) != 0) env_text.emplace_back(*e);
  }
  if (!tmpdir.empty()) env_text.push_back("TMPDIR=" + tmpdir);
  std::vector<char*> env;
  for (std::string& entry : env_text) env.push_back(entry.data());
  env.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (quiet) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  const auto start = Clock::now();
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env.data()) == 0) {
    int raw = 0;
    rusage usage{};
    if (wait4(pid, &raw, 0, &usage) == pid) {
      measure.wall = seconds_since(start);
      measure.cpu = seconds_of(usage);
      measure.rss_kib = usage.ru_maxrss;
      measure.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    }
  }
  posix_spawn_file_actions_destroy(&actions);
  return measure;
}

}  // namespace bench
