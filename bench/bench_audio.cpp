// SPDX-License-Identifier: GPL-3.0-or-later
// Times the audio core on a 60-minute 44.1 kHz 16-bit stereo WAV file: load, save and the
// waveform's peaks, with the page cache warm. Prints MB/s of WAV data and the peak resident
// memory, which must stay small whatever the file's length.
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/temp_file.h"

namespace {

using bench::Clock;
using bench::cpu_seconds;
using bench::peak_rss_kib;
using bench::seconds_since;

constexpr uint32_t kRate = 44100;
// 60 minutes unless the first argument gives another length in minutes.
uint32_t kFrames = kRate * 60 * 60;
uint32_t kDataBytes = kFrames * 4;

// A plain PCM file with a sweep in both channels.
bool write_source(const std::string& path) {
  double phase = 0.0;
  return bench::write_stereo_wav(
      path, kRate, kFrames, [&](uint32_t first, uint32_t n, int16_t* block) {
        for (uint32_t k = 0; k < n; ++k) {
          phase += 0.01 + 0.00000001 * (first + k);
          block[2 * k] = static_cast<int16_t>(20000.0 * std::sin(phase));
          block[2 * k + 1] = static_cast<int16_t>(-12000.0 * std::sin(0.5 * phase));
        }
      });
}

// Reads the file once so the timings see a warm page cache.
void warm(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  std::vector<char> buffer(1 << 20);
  while (read(fd, buffer.data(), buffer.size()) > 0) {
  }
  close(fd);
}

struct Timing {
  bool ok = true;
  double wall = 0.0;  // s, of the fastest run
  double cpu = 0.0;   // s, user + system of that run
};

template <typename Operation>
Timing time_best(int runs, Operation operation) {
  Timing best;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    const double cpu = cpu_seconds();
    if (!operation()) return Timing{false, 0.0, 0.0};
    const double wall = seconds_since(start);
    if (i == 0 || wall < best.wall) best = Timing{true, wall, cpu_seconds() - cpu};
  }
  return best;
}

// Wall time decides the MB/s; the CPU time shows how much of it a busy machine took away.
void report(const char* what, const Timing& t, double bytes) {
  if (!t.ok) {
    std::printf("%-20s FAILED\n", what);
    return;
  }
  std::printf("%-20s %7.3f s (cpu %6.3f s) %8.1f MB/s  peak RSS %6.1f MiB\n", what, t.wall, t.cpu,
              bytes / t.wall / 1e6, static_cast<double>(peak_rss_kib()) / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace voxtrelle;
  if (argc > 1) {
    const long minutes = std::strtol(argv[1], nullptr, 10);
    if (minutes <= 0 || minutes > 180) {
      std::fprintf(stderr, "usage: bench_audio [minutes 1..180]\n");
      return 2;
    }
    kFrames = kRate * 60 * static_cast<uint32_t>(minutes);
    kDataBytes = kFrames * 4;
  }
  const std::string folder = temp_directory();
  const std::string source = folder + "/vx_bench_source.wav";
  const std::string target = folder + "/vx_bench_saved.wav";
  const double wav_bytes = 44.0 + kDataBytes;
  std::printf("bench_audio: %u min, 44.1 kHz, 16-bit stereo, %.1f MB in %s\n", kFrames / kRate / 60,
              wav_bytes / 1e6, folder.c_str());
  if (!write_source(source)) {
    std::fprintf(stderr, "cannot write %s\n", source.c_str());
    unlink(source.c_str());
    return 1;
  }
  warm(source);
  std::printf("%-22s %7s    %8s       peak RSS %6.1f MiB\n", "start", "", "",
              static_cast<double>(peak_rss_kib()) / 1024.0);

  // Each operation runs three times and the fastest run counts: on a shared machine the others
  // mostly measure the neighbours.
  constexpr int kRuns = 3;
  int status = 0;
  {
    AudioClip clip;
    Timing load = time_best(kRuns, [&] {
      clip.clear();
      return clip.load_wav(source, nullptr);
    });
    report("load_wav", load, wav_bytes);
    if (!load.ok) status = 1;
    Timing save = time_best(kRuns, [&] { return clip.save_wav(target, nullptr); });
    report("save_wav", save, wav_bytes);
    if (!save.ok) status = 1;
    PeakLists lists;
    Timing peaks = time_best(kRuns, [&] { return clip.peaks(lists, 584); });
    report("peaks(584 columns)", peaks, wav_bytes);
    if (!peaks.ok) status = 1;
  }
  unlink(source.c_str());
  unlink(target.c_str());
  return status;
}
