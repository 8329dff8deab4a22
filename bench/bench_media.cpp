// SPDX-License-Identifier: GPL-3.0-or-later
// Times the media layer on a 10-minute 44.1 kHz stereo file against the ffmpeg command line
// doing the same conversion, alternating the two in each round: decode_to_wav of a WMA file
// (`ffmpeg -i in.wma out.wav`) and encode_to_wma of a WAV file (`ffmpeg -i in.wav -c:a wmav2
// -b:a 192k out.wma`, also compared with our encoder held to 192 kb/s). Then the whole
// document load of the WMA file and its save as WMA. Reports the median of the rounds.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "voxtrelle/audio/audio_document.h"
#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/wma_encoder.h"

namespace {

constexpr uint32_t kRate = 44100;

// Music-like content: two drifting tones and a little noise, so the encoder has real work.
bool write_source(const std::string& path, uint32_t frames) {
  uint32_t noise = 1;
  double a = 0.0, b = 0.0;
  return bench::write_stereo_wav(
      path, kRate, frames, [&](uint32_t first, uint32_t n, int16_t* block) {
        for (uint32_t k = 0; k < n; ++k) {
          const uint32_t i = first + k;
          a += 2.0 * M_PI * (220.0 + 110.0 * std::sin(i * 1e-5)) / kRate;
          b += 2.0 * M_PI * 1234.5 / kRate;
          noise = noise * 1664525u + 1013904223u;
          const double r = (static_cast<int32_t>(noise) / 2147483648.0) * 0.02;
          block[2 * k] = static_cast<int16_t>(12000.0 * (std::sin(a) + 0.3 * std::sin(b) + r));
          block[2 * k + 1] =
              static_cast<int16_t>(12000.0 * (std::sin(a * 1.5) - 0.3 * std::sin(b) + r));
        }
      });
}

bool run_ffmpeg(std::vector<std::string> args) {
  args.insert(args.begin(), {"ffmpeg", "-nostdin", "-v", "error", "-y"});
  return bench::run_program(args, false).status == 0;
}

// Wall seconds of one run, or a negative value when it failed.
double timed(const std::function<bool()>& work) {
  const auto start = bench::Clock::now();
  const bool ok = work();
  const double seconds = bench::seconds_since(start);
  return ok ? seconds : -1.0;
}

void compare(const char* what, const std::vector<double>& ours, const std::vector<double>& cli) {
  const double a = bench::median(ours), b = bench::median(cli);
  std::printf("%-34s ours %6.3f s   ffmpeg %6.3f s   ratio %.2f %s\n", what, a, b, a / b,
              a / b <= 1.2 ? "(target <= 1.2: met)" : "(target <= 1.2: MISSED)");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace voxtrelle;
  uint32_t minutes = 10;
  int rounds = 3;
  if (argc > 1) minutes = static_cast<uint32_t>(std::clamp(std::atoi(argv[1]), 1, 120));
  if (argc > 2) rounds = std::clamp(std::atoi(argv[2]), 1, 20);
  if (!media_support_available()) {
    std::fprintf(stderr, "bench_media: FFmpeg lacks the WMA codecs or muxers\n");
    return 1;
  }
  const std::string folder = bench::make_work_folder("vx_bench_media_");
  if (folder.empty()) return 1;
  const auto file = [&](const char* name) { return folder + "/" + name; };
  std::printf("bench_media: %u min, 44.1 kHz 16-bit stereo, %d rounds, in %s\n", minutes, rounds,
              folder.c_str());

  int status = 0;
  FfmpegMediaCodec codec;
  install_media_codec(&codec);
  if (!write_source(file("in.wav"), kRate * 60 * minutes) ||
      !run_ffmpeg({"-i", file("in.wav"), "-c:a", "wmav2", "-b:a", "192k", file("in.wma")})) {
    std::fprintf(stderr, "bench_media: cannot make the input files\n");
    status = 1;
  }

  std::vector<double> dec_ours, dec_cli, enc_ours, enc_ours192, enc_cli;
  for (int r = 0; status == 0 && r < rounds; ++r) {
    // Alternate which side runs first so neither always meets a cold or a warm cache.
    const bool ours_first = r % 2 == 0;
    const auto decode_ours = [&] {
      dec_ours.push_back(timed(
          [&] { return codec.decode_to_wav(file("in.wma"), file("ours.wav"), nullptr) == 1; }));
    };
    const auto decode_cli = [&] {
      dec_cli.push_back(timed([&] { return run_ffmpeg({"-i", file("in.wma"), file("cli.wav")}); }));
    };
    const auto encode_ours = [&] {
      enc_ours.push_back(timed(
          [&] { return codec.encode_to_wma(file("in.wav"), file("ours.wma"), nullptr) == 1; }));
      enc_ours192.push_back(timed([&] {
        return encode_wav_to_wma(file("in.wav"), file("ours192.wma"), nullptr, 192000) == 1;
      }));
    };
    const auto encode_cli = [&] {
      enc_cli.push_back(timed([&] {
        return run_ffmpeg({"-i", file("in.wav"), "-c:a", "wmav2", "-b:a", "192k", file("cli.wma")});
      }));
    };
    if (ours_first) {
      decode_ours(), decode_cli(), encode_ours(), encode_cli();
    } else {
      decode_cli(), decode_ours(), encode_cli(), encode_ours();
    }
  }
  for (const auto* series : {&dec_ours, &dec_cli, &enc_ours, &enc_ours192, &enc_cli}) {
    if (std::any_of(series->begin(), series->end(), [](double s) { return s < 0; })) {
      std::fprintf(stderr, "bench_media: a conversion failed\n");
      status = 1;
    }
  }
  if (status == 0) {
    compare("decode_to_wav (WMA 192k -> WAV)", dec_ours, dec_cli);
    compare("encode_to_wma (320k, as saved)", enc_ours, enc_cli);
    compare("encode_to_wma held to 192k", enc_ours192, enc_cli);

    AudioDocument document;
    document.set_loaded_path(file("in.wma"));
    const double load = timed([&] { return document.load(nullptr) == 1; });
    document.set_saved_path(file("saved.wma"));
    const double save = timed([&] { return document.save(nullptr) == 1; });
    std::printf("%-34s %6.3f s\n", "document load of the WMA", load);
    std::printf("%-34s %6.3f s\n", "document save as WMA (320k)", save);
    if (load < 0 || save < 0) status = 1;
  }
  install_media_codec(nullptr);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return status;
}
