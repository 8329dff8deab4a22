// SPDX-License-Identifier: GPL-3.0-or-later
// Times the audio core on a 60-minute 44.1 kHz 16-bit stereo WAV file: load, save and the
// waveform's peaks, with the page cache warm. Prints MB/s of WAV data and the peak resident
// memory, which must stay small whatever the file's length.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/temp_file.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kRate = 44100;
// 60 minutes unless the first argument gives another length in minutes.
uint32_t kFrames = kRate * 60 * 60;
uint32_t kDataBytes = kFrames * 4;

void put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// A plain PCM file with a sweep in both channels, written in 1 MiB pieces.
bool write_source(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  uint8_t header[44] = {'R', 'I', 'F', 'F', 0,  0, 0, 0, 'W', 'A', 'V', 'E',
                        'f', 'm', 't', ' ', 16, 0, 0, 0, 1,   0,   2,   0};
  put32(header + 4, 36 + kDataBytes);
  put32(header + 24, kRate);
  put32(header + 28, kRate * 4);
  header[32] = 4;
  header[34] = 16;
  std::memcpy(header + 36, "data", 4);
  put32(header + 40, kDataBytes);
  bool ok = write(fd, header, sizeof header) == static_cast<ssize_t>(sizeof header);
  std::vector<int16_t> block(1 << 19);
  double phase = 0.0;
  for (uint32_t done = 0; ok && done < kFrames;) {
    const uint32_t n = std::min<uint32_t>(kFrames - done, block.size() / 2);
    for (uint32_t k = 0; k < n; ++k) {
      phase += 0.01 + 0.00000001 * (done + k);
      block[2 * k] = static_cast<int16_t>(20000.0 * std::sin(phase));
      block[2 * k + 1] = static_cast<int16_t>(-12000.0 * std::sin(0.5 * phase));
    }
    const ssize_t bytes = static_cast<ssize_t>(n) * 4;
    ok = write(fd, block.data(), static_cast<size_t>(bytes)) == bytes;
    done += n;
  }
  return close(fd) == 0 && ok;
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

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long peak_rss_kib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
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
