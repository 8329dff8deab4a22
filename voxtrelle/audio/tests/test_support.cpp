// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/tests/test_support.h"

#include <dirent.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace voxtrelle::testing_support {

void TempDirTest::SetUp() {
  const char* old = std::getenv("TMPDIR");
  had_tmpdir_ = old != nullptr;
  if (had_tmpdir_) saved_tmpdir_ = old;
  std::string pattern = std::filesystem::temp_directory_path().string() + "/vx_audio_test_XXXXXX";
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir_ = pattern;
  setenv("TMPDIR", dir_.c_str(), 1);
}

void TempDirTest::TearDown() {
  if (had_tmpdir_) {
    setenv("TMPDIR", saved_tmpdir_.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
  std::error_code ignored;
  if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

std::vector<std::string> TempDirTest::leftovers() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("~Ve", 0) == 0) names.push_back(name);
  }
  return names;
}

void put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<uint8_t> chunk_declared(const std::string& id, uint32_t declared,
                                    const std::vector<uint8_t>& body) {
  std::vector<uint8_t> out(id.begin(), id.end());
  put32(out, declared);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::vector<uint8_t> chunk(const std::string& id, const std::vector<uint8_t>& body, bool pad) {
  std::vector<uint8_t> out = chunk_declared(id, static_cast<uint32_t>(body.size()), body);
  if (pad && body.size() % 2 == 1) out.push_back(0);
  return out;
}

std::vector<uint8_t> fmt_body(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                              int block_align, int64_t avg) {
  const uint16_t align =
      block_align >= 0 ? static_cast<uint16_t>(block_align) : channels * bits / 8;
  std::vector<uint8_t> out;
  put16(out, tag);
  put16(out, channels);
  put32(out, rate);
  put32(out, avg >= 0 ? static_cast<uint32_t>(avg) : rate * align);
  put16(out, align);
  put16(out, bits);
  return out;
}

std::vector<uint8_t> riff(const std::vector<std::vector<uint8_t>>& chunks) {
  std::vector<uint8_t> body{'W', 'A', 'V', 'E'};
  for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
  std::vector<uint8_t> out{'R', 'I', 'F', 'F'};
  put32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::vector<uint8_t> pcm16_wav(uint16_t channels, uint32_t rate,
                               const std::vector<int16_t>& samples) {
  std::vector<uint8_t> data;
  for (int16_t s : samples) put16(data, static_cast<uint16_t>(s));
  return riff({chunk("fmt ", fmt_body(1, channels, rate, 16)), chunk("data", data)});
}

void write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous_);
  getrlimit(RLIMIT_FSIZE, &saved_);
  rlimit small = saved_;
  small.rlim_cur = bytes;
  active_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
}

FileSizeLimit::~FileSizeLimit() {
  if (active_) setrlimit(RLIMIT_FSIZE, &saved_);
  sigaction(SIGXFSZ, &previous_, nullptr);
}

int as_nobody(const std::function<int()>& work) {
  constexpr uid_t kNobody = 65534;
  const pid_t pid = fork();
  if (pid == 0) {
    if (geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
         setresuid(kNobody, kNobody, kNobody) != 0)) {
      _exit(100);
    }
    _exit(work());
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace voxtrelle::testing_support
