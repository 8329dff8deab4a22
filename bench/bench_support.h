// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor's benchmarks share: the test file, the clocks, peak memory and timed runs of
// other programs.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start);
double ms_since(Clock::time_point start);
// User + system time of this process so far, in seconds.
double cpu_seconds();
// Peak resident set of this process so far.
long peak_rss_kib();
// The middle value (the mean of the two middle ones for an even count); 0 when empty.
double median(std::vector<double> values);

// Fills frames [first, first + count) of a stereo signal as interleaved 16-bit samples; called
// for consecutive pieces from the first frame on.
using StereoFill = std::function<void(uint32_t first, uint32_t count, int16_t* interleaved)>;

// Writes a 16-bit stereo PCM WAV file of frames frames at rate, the samples from fill.
bool write_stereo_wav(const std::string& path, uint32_t rate, uint32_t frames,
                      const StereoFill& fill);

// A new, empty folder named prefix + random letters in $TMPDIR (else /tmp), or "".
std::string make_work_folder(const std::string& prefix);

// One finished run of a program.
struct Measure {
  double wall = 0.0;  // seconds
  double cpu = 0.0;   // user + system seconds
  long rss_kib = 0;   // peak resident set
  int status = -1;    // exit status, 128 + signal, or -1 when it did not start
};

// Runs args (args[0] looked up on PATH) and waits for it. With quiet, its output goes to
// /dev/null; a non-empty tmpdir becomes its TMPDIR.
Measure run_program(const std::vector<std::string>& args, bool quiet = true,
                    const std::string& tmpdir = {});

}  // namespace bench
