// SPDX-License-Identifier: GPL-3.0-or-later
// Times `voxtrelle-cli edit` on a long 44.1 kHz 16-bit stereo WAV file (and its mono mix, for
// to-stereo) against the same work done by `sox -D` (no dither, like our conversion) in the
// same run, the two alternating so a busy machine hurts both alike. Prints the median wall
// time of each, their ratio, the CPU time, the peak resident memory of each process, the most
// bytes our runs had in their own $TMPDIR at any moment, and the machine's load average.
//   bench_edits [minutes (60)] [rounds (3)]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_support.h"

namespace {

constexpr uint32_t kRate = 44100;

// Two detuned tones at about -6 dBFS with the channels at different levels, so maximize,
// fades and the mono mix all have work to do.
bool write_source(const std::string& path, uint32_t frames) {
  return bench::write_stereo_wav(
      path, kRate, frames, [](uint32_t first, uint32_t n, int16_t* block) {
        for (uint32_t k = 0; k < n; ++k) {
          const double t = static_cast<double>(first + k) / kRate;
          block[2 * k] = static_cast<int16_t>(16000.0 * std::sin(2 * M_PI * 440.0 * t));
          block[2 * k + 1] = static_cast<int16_t>(9000.0 * std::sin(2 * M_PI * 554.4 * t));
        }
      });
}

struct Job {
  const char* name;
  std::vector<std::string> ours;  // operations after `edit IN OUT`
  std::vector<std::string> sox;   // effects after `sox -D IN OUT`
  bool mono = false;              // on the mono source
};

// The 1-minute load average.
std::string load_average() {
  std::ifstream file("/proc/loadavg");
  std::string one;
  file >> one;
  return one;
}

uintmax_t folder_bytes(const std::string& folder) {
  uintmax_t bytes = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::error_code ignored;
    const uintmax_t size = entry.file_size(ignored);
    if (!ignored) bytes += size;
  }
  return bytes;
}

// Watches a folder while a run goes on and keeps the most bytes seen in it.
class FolderWatch {
 public:
  explicit FolderWatch(std::string folder)
      : folder_(std::move(folder)), thread_([this] {
          while (!stop_) {
            most_ = std::max<uintmax_t>(most_, folder_bytes(folder_));
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
          }
        }) {}
  ~FolderWatch() { stop(); }
  uintmax_t stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return most_;
  }

 private:
  std::string folder_;
  std::atomic<bool> stop_{false};
  std::atomic<uintmax_t> most_{0};
  std::thread thread_;
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
  const std::string folder = bench::make_work_folder("vx_bench_edits_");
  if (folder.empty()) {
    std::fprintf(stderr, "cannot create a work folder\n");
    return 1;
  }
  const std::string source = folder + "/in.wav";
  const std::string mono_source = folder + "/mono.wav";
  const std::string own_tmp = folder + "/tmp";
  const std::string ours_out = folder + "/ours.wav";
  const std::string sox_out = folder + "/sox.wav";
  const auto frames = static_cast<uint32_t>(kRate * 60 * minutes);
  const std::string third = std::to_string(frames / 3);
  const std::string two_thirds = std::to_string(2 * (frames / 3));
  const std::string third_s = std::to_string(60.0 * minutes / 3.0);
  const std::string two_thirds_s = std::to_string(2 * 60.0 * minutes / 3.0);
  // The chain's fade-out runs over what the deletion keeps: two thirds.
  const std::string& kept_s = two_thirds_s;
  const std::vector<Job> jobs = {
      {"maximize", {"maximize"}, {"gain", "-en"}},
      {"fade-in", {"fade-in"}, {"fade", "t", std::to_string(60 * minutes)}},
      {"fade-out",
       {"fade-out"},
       {"fade", "t", "0", std::to_string(60 * minutes), std::to_string(60 * minutes)}},
      {"volume 50", {"volume", "50"}, {"vol", "0.5"}},
      {"to-mono", {"to-mono"}, {"remix", "-m", "1,2"}},
      {"to-stereo (mono in)", {"to-stereo"}, {"remix", "1", "1"}, true},
      {"delete-selected 1/3..2/3",
       {"delete-selected", third, two_thirds},
       {"trim", "0", "=" + third_s, "=" + two_thirds_s}},
      {"delete-unselected 1/3..2/3",
       {"delete-unselected", third, two_thirds},
       {"trim", "=" + third_s, "=" + two_thirds_s}},
      {"chain del,fade-out,max",
       {"delete-selected", third, two_thirds, "fade-out", "maximize"},
       {"trim", "0", "=" + third_s, "=" + two_thirds_s, "fade", "t", "0", kept_s, kept_s, "gain",
        "-en"}},
  };

  std::printf("bench_edits: %ld min of 44.1 kHz 16-bit stereo, %ld rounds, in %s\n", minutes,
              rounds, folder.c_str());
  if (!write_source(source, frames) ||
      bench::run_program({"sox", "-D", source, mono_source, "remix", "1"}).status != 0 ||
      !std::filesystem::create_directory(own_tmp)) {
    std::fprintf(stderr, "cannot write %s or its mono mix\n", source.c_str());
    std::filesystem::remove_all(folder);
    return 1;
  }
  std::printf("load average %s at the start\n", load_average().c_str());
  std::printf("%-26s %7s %7s %6s %8s %8s %9s %9s %9s %5s\n", "job", "ours s", "sox s", "ratio",
              "ours cpu", "sox cpu", "ours RSS", "sox RSS", "ours tmp", "load");
  int status = 0;
  for (const Job& job : jobs) {
    std::vector<double> ours_wall, sox_wall, ours_cpu, sox_cpu;
    long ours_rss = 0, sox_rss = 0;
    const std::string& in = job.mono ? mono_source : source;
    uintmax_t ours_tmp = 0;
    std::vector<std::string> ours_args = {VOXTRELLE_CLI_PATH, "edit", in, ours_out};
    ours_args.insert(ours_args.end(), job.ours.begin(), job.ours.end());
    std::vector<std::string> sox_args = {"sox", "-D", in, sox_out};
    sox_args.insert(sox_args.end(), job.sox.begin(), job.sox.end());
    for (long round = 0; round < rounds; ++round) {
      // Alternate who goes first, so neither always meets a warmer cache.
      for (int turn = 0; turn < 2; ++turn) {
        const bool ours_turn = (turn == 0) == (round % 2 == 0);
        // Our runs get an empty $TMPDIR of their own, watched for what they put there.
        FolderWatch watch(own_tmp);
        const bench::Measure m = bench::run_program(ours_turn ? ours_args : sox_args, true,
                                                    ours_turn ? own_tmp : folder);
        if (ours_turn) ours_tmp = std::max(ours_tmp, watch.stop());
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
    const double ours = bench::median(ours_wall);
    const double theirs = bench::median(sox_wall);
    std::printf("%-26s %7.2f %7.2f %6.2f %8.2f %8.2f %5.1f MiB %5.1f MiB %7ju B %5s\n", job.name,
                ours, theirs, ours / theirs, bench::median(ours_cpu), bench::median(sox_cpu),
                ours_rss / 1024.0, sox_rss / 1024.0, ours_tmp, load_average().c_str());
    std::fflush(stdout);
    std::filesystem::remove(ours_out);
    std::filesystem::remove(sox_out);
  }
  std::filesystem::remove_all(folder);
  return status;
}
