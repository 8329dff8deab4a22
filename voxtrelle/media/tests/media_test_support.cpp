// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/tests/media_test_support.h"

#include <dirent.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace voxtrelle::test {
namespace {

void put(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
uint32_t get(const std::string& in, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint32_t(uint8_t(in[at + i])) << (8 * i);
  return v;
}

}  // namespace

ScratchDir::ScratchDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/media-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  had_tmpdir_ = base != nullptr;
  if (had_tmpdir_) old_tmpdir_ = base;
  ::setenv("TMPDIR", path_.c_str(), 1);
}

ScratchDir::~ScratchDir() {
  if (had_tmpdir_) {
    ::setenv("TMPDIR", old_tmpdir_.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchDir::ve_files() const {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("~Ve", 0) == 0) found.push_back(name);
  }
  return found;
}

void write_pcm_wav(const std::string& path, uint16_t channels, uint32_t rate,
                   const std::vector<int16_t>& samples) {
  std::string out;
  const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
  out += "RIFF";
  put(out, 36 + data, 4);
  out += "WAVEfmt ";
  put(out, 16, 4);
  put(out, 1, 2);
  put(out, channels, 2);
  put(out, rate, 4);
  put(out, rate * channels * 2, 4);
  put(out, channels * 2, 2);
  put(out, 16, 2);
  out += "data";
  put(out, data, 4);
  out.reserve(out.size() + data);
  for (const int16_t s : samples) put(out, static_cast<uint16_t>(s), 2);
  write_file(path, out);
}

void write_tone_wav(const std::string& path, uint16_t channels, uint32_t rate, uint32_t frames,
                    double peak) {
  std::vector<int16_t> samples;
  samples.reserve(size_t(frames) * channels);
  for (uint32_t i = 0; i < frames; ++i) {
    for (uint16_t c = 0; c < channels; ++c) {
      const double hz = 440.0 * (c + 1);
      const double v = peak * std::sin(2.0 * M_PI * hz * i / rate);
      samples.push_back(static_cast<int16_t>(std::lround(v * 32767.0)));
    }
  }
  write_pcm_wav(path, channels, rate, samples);
}

bool read_wav(const std::string& path, PcmWav& wav) {
  wav = PcmWav{};
  const std::string in = read_file(path);
  if (in.size() < 12 || in.compare(0, 4, "RIFF") != 0 || in.compare(8, 4, "WAVE") != 0) {
    return false;
  }
  size_t at = 12;
  bool have_fmt = false;
  while (at + 8 <= in.size()) {
    const std::string id = in.substr(at, 4);
    const uint32_t size = get(in, at + 4, 4);
    at += 8;
    if (id == "fmt ") {
      if (size < 16 || at + 16 > in.size()) return false;
      wav.format_tag = static_cast<uint16_t>(get(in, at, 2));
      wav.channels = static_cast<uint16_t>(get(in, at + 2, 2));
      wav.sample_rate = get(in, at + 4, 4);
      wav.bits = static_cast<uint16_t>(get(in, at + 14, 2));
      have_fmt = true;
    } else if (id == "data") {
      if (!have_fmt || at + size > in.size()) return false;
      if ((wav.format_tag == 1 || wav.format_tag == 0xFFFE) && wav.bits == 16) {
        wav.samples.resize(size / 2);
        std::memcpy(wav.samples.data(), in.data() + at, wav.samples.size() * 2);
      }
      return true;
    }
    at += size + (size & 1);
  }
  return false;
}

double rms(const PcmWav& wav, int channel, size_t from, size_t to) {
  to = std::min(to, wav.frames());
  if (from >= to) return 0.0;
  double sum = 0.0;
  for (size_t i = from; i < to; ++i) {
    const double v = wav.samples[i * wav.channels + channel] / 32768.0;
    sum += v * v;
  }
  return std::sqrt(sum / double(to - from));
}

bool run_ffmpeg(const std::vector<std::string>& args) {
  std::vector<std::string> all = {"ffmpeg", "-nostdin", "-v", "error", "-y"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool file_exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

uint64_t file_size(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
}

}  // namespace voxtrelle::test
