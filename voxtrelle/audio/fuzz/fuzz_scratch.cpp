// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/fuzz/fuzz_scratch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace voxtrelle::fuzz {
namespace {

[[noreturn]] void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "fuzz: %s: %s\n", what, detail.c_str());
  std::abort();
}

std::vector<uint8_t> read_all(const std::string& path) {
  std::vector<uint8_t> bytes;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return bytes;
  uint8_t buffer[65536];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  ::close(fd);
  return bytes;
}

}  // namespace

FuzzScratch::FuzzScratch(uint64_t file_limit) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/vx-fuzz-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) fail("cannot make the scratch folder", pattern);
  folder_ = pattern;
  ::setenv("TMPDIR", folder_.c_str(), 1);
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = file_limit;
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

FuzzScratch::~FuzzScratch() {
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

std::string FuzzScratch::write_input(const std::string& name, const uint8_t* data,
                                     size_t size) const {
  const std::string path = folder_ + "/" + name;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) fail("cannot write the input", path);
  for (size_t done = 0; done < size;) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n <= 0) fail("cannot write the input", path);
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  return path;
}

void FuzzScratch::expect_only_input(const std::string& path, const uint8_t* data,
                                    size_t size) const {
  const std::vector<uint8_t> now = read_all(path);
  if (now.size() != size || (size != 0 && std::memcmp(now.data(), data, size) != 0)) {
    fail("the input file was changed", path);
  }
  DIR* dir = ::opendir(folder_.c_str());
  if (dir == nullptr) fail("cannot list the scratch folder", folder_);
  const std::string input_name = std::filesystem::path(path).filename().string();
  std::string leftover;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != ".." && name != input_name) leftover = name;
  }
  ::closedir(dir);
  if (!leftover.empty()) fail("a temporary file was left behind", leftover);
  ::unlink(path.c_str());
}

FuzzScratch& scratch() {
  static FuzzScratch instance;
  return instance;
}

}  // namespace voxtrelle::fuzz
