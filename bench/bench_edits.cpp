// SPDX-License-Identifier: GPL-3.0-or-later
// Times `voxtrelle-cli edit` on a long 44.1 kHz 16-bit stereo WAV file against the same work
// done by `sox -D` (no dither, like our conversion) in the same run, the two alternating so a
// busy machine hurts both alike. Prints the median wall time of each, their ratio, the CPU
// time and the peak resident memory of each process.
//   bench_edits [minutes (60)] [rounds (3)]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr uint32_t kRate = 44100;

struct Measure {
  double wall = 0.0;  // seconds
  double cpu = 0.0;   // user + system seconds
  long rss_kib = 0;   // peak resident set
  int status = -1;
};

void put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Two detuned tones at about -6 dBFS with the channels at different levels, so maximize,
// fades and the mono mix all have work to do.
bool write_source(const std::string& path, uint32_t frames) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const uint32_t data_bytes = frames * 4;
  uint8_t header[44] = {'R', 'I', 'F', 'F', 0,  0, 0, 0, 'W', 'A', 'V', 'E',
                        'f', 'm', 't', ' ', 16, 0, 0, 0, 1,   0,   2,   0};
  put32(header + 4, 36 + data_bytes);
  put32(header + 24, kRate);
  put32(header + 28, kRate * 4);
  header[32] = 4;
  header[34] = 16;
  std::memcpy(header + 36, "data", 4);
  put32(header + 40, data_bytes);
  bool ok = write(fd, header, sizeof header) == static_cast<ssize_t>(sizeof header);
  std::vector<int16_t> block(1 << 19);
  for (uint32_t done = 0; ok && done < frames;) {
    const uint32_t n = std::min<uint32_t>(frames - done, static_cast<uint32_t>(block.size() / 2));
    for (uint32_t k = 0; k < n; ++k) {
      const double t = static_cast<double>(done + k) / kRate;
      block[2 * k] = static_cast<int16_t>(16000.0 * std::sin(2 * M_PI * 440.0 * t));
      block[2 * k + 1] = static_cast<int16_t>(9000.0 * std::sin(2 * M_PI * 554.4 * t));
    }
    const ssize_t bytes = static_cast<ssize_t>(n) * 4;
    ok = write(fd, block.data(), static_cast<size_t>(bytes)) == bytes;
    done += n;
  }
  return close(fd) == 0 && ok;
}

// Runs argv (looked up on PATH) with its output discarded and TMPDIR set to tmpdir.
Measure run(const std::vector<std::string>& args, const std::string& tmpdir) {
  std::vector<std::string> text = args;
  std::vector<char*> argv;
  for (std::string& arg : text) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<std::string> env_text;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "TMPDIR=", 7) != 0) env_text.emplace_back(*e);
  }
  env_text.push_back("TMPDIR=" + tmpdir);
  std::vector<char*> env;
  for (std::string& entry : env_text) env.push_back(entry.data());
  env.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  Measure measure;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env.data()) == 0) {
    int raw = 0;
    rusage usage{};
    wait4(pid, &raw, 0, &usage);
    measure.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measure.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    measure.rss_kib = usage.ru_maxrss;
    measure.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  }
  posix_spawn_file_actions_destroy(&actions);
  return measure;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

struct Job {
  const char* name;
  std::vector<std::string> ours;  // operations after `edit IN OUT`
  std::vector<std::string> sox;   // effects after `sox -D IN OUT`
};

uintmax_t size_of(const std::string& path) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  return error ? 0 : size;
}

}  // namespace

int main(int argc, char** argv) {
  const long minutes = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 60;
  const long rounds = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 3;
  if (minutes <= 0 || minutes > 180 || rounds <= 0 || rounds > 20) {
    std::fprintf(stderr, "usage: bench_edits [minutes 1..180] [rounds 1..20]\n");
    return 2;
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vx_bench_edits_XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    std::fprintf(stderr, "cannot create a work folder\n");
    return 1;
  }
  const std::string folder = pattern;
  const std::string source = folder + "/in.wav";
  const std::string ours_out = folder + "/ours.wav";
  const std::string sox_out = folder + "/sox.wav";
  const auto frames = static_cast<uint32_t>(kRate * 60 * minutes);
  const std::string third = std::to_string(frames / 3);
  const std::string two_thirds = std::to_string(2 * (frames / 3));
  const std::string third_s = std::to_string(60.0 * minutes / 3.0);
  const std::string two_thirds_s = std::to_string(2 * 60.0 * minutes / 3.0);
  const std::vector<Job> jobs = {
      {"maximize", {"maximize"}, {"gain", "-en"}},
      {"fade-in", {"fade-in"}, {"fade", "t", std::to_string(60 * minutes)}},
      {"to-mono", {"to-mono"}, {"remix", "-m", "1,2"}},
      {"delete-selected 1/3..2/3",
       {"delete-selected", third, two_thirds},
       {"trim", "0", "=" + third_s, "=" + two_thirds_s}},
  };

  std::printf("bench_edits: %ld min of 44.1 kHz 16-bit stereo, %ld rounds, in %s\n", minutes,
              rounds, folder.c_str());
  if (!write_source(source, frames)) {
    std::fprintf(stderr, "cannot write %s\n", source.c_str());
    std::filesystem::remove_all(folder);
    return 1;
  }
  std::printf("%-26s %9s %9s %7s %9s %9s %10s %10s\n", "job", "ours s", "sox s", "ratio",
              "ours cpu", "sox cpu", "ours RSS", "sox RSS");
  int status = 0;
  for (const Job& job : jobs) {
    std::vector<double> ours_wall, sox_wall, ours_cpu, sox_cpu;
    long ours_rss = 0, sox_rss = 0;
    std::vector<std::string> ours_args = {VOXTRELLE_CLI_PATH, "edit", source, ours_out};
    ours_args.insert(ours_args.end(), job.ours.begin(), job.ours.end());
    std::vector<std::string> sox_args = {"sox", "-D", source, sox_out};
    sox_args.insert(sox_args.end(), job.sox.begin(), job.sox.end());
    for (long round = 0; round < rounds; ++round) {
      // Alternate who goes first, so neither always meets a warmer cache.
      for (int turn = 0; turn < 2; ++turn) {
        const bool ours_turn = (turn == 0) == (round % 2 == 0);
        const Measure m = run(ours_turn ? ours_args : sox_args, folder);
        if (m.status != 0) {
          std::fprintf(stderr, "%s: %s exited with %d\n", job.name,
                       ours_turn ? "voxtrelle-cli" : "sox", m.status);
          status = 1;
        }
        (ours_turn ? ours_wall : sox_wall).push_back(m.wall);
        (ours_turn ? ours_cpu : sox_cpu).push_back(m.cpu);
        long& rss = ours_turn ? ours_rss : sox_rss;
        rss = std::max(rss, m.rss_kib);
      }
    }
    if (size_of(ours_out) != size_of(sox_out)) {
      std::fprintf(stderr, "%s: output sizes differ (%ju vs %ju bytes)\n", job.name,
                   size_of(ours_out), size_of(sox_out));
    }
    const double ours = median(ours_wall);
    const double theirs = median(sox_wall);
    std::printf("%-26s %9.2f %9.2f %7.2f %9.2f %9.2f %7.1f MiB %6.1f MiB\n", job.name, ours, theirs,
                ours / theirs, median(ours_cpu), median(sox_cpu), ours_rss / 1024.0,
                sox_rss / 1024.0);
    std::fflush(stdout);
    std::filesystem::remove(ours_out);
    std::filesystem::remove(sox_out);
  }
  std::filesystem::remove_all(folder);
  return status;
}
