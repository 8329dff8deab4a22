// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/recovery_record.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "voxtrelle/audio/audio_document.h"
#include "voxtrelle/audio/temp_file.h"

namespace voxtrelle {
namespace {

constexpr const char* kMagic = "voxtrelle-recovery 1";
constexpr size_t kMaxRecordBytes = 256 * 1024;

// Paths may hold any byte but NUL: '%' and line breaks are written as %XX.
std::string escape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '%' || c == '\n' || c == '\r') {
      char code[4];
      std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned char>(c));
      out += code;
    } else {
      out += c;
    }
  }
  return out;
}

bool unescape(const std::string& text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    const std::string hex = text.substr(i + 1, 2);
    char* end = nullptr;
    const long value = std::strtol(hex.c_str(), &end, 16);
    if (hex.size() != 2 || end != hex.c_str() + 2) return false;
    out += static_cast<char>(value);
    i += 2;
  }
  return true;
}

int write_all(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return 0;
    done += static_cast<size_t>(put);
  }
  return 1;
}

std::string read_all(int fd) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || text.size() > kMaxRecordBytes) break;
    text.append(buffer, static_cast<size_t>(got));
  }
  return text;
}

bool is_hex_digit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// A sample file's name: "~Ve" + four hexadecimal digits + ".tmp".
bool is_sample_file_name(const std::string& name) {
  if (name.size() != 11 || name.compare(0, 3, kTempPrefix) != 0 ||
      name.compare(7, 4, ".tmp") != 0) {
    return false;
  }
  return std::all_of(name.begin() + 3, name.begin() + 7, is_hex_digit);
}

bool is_record_name(const std::string& name) {
  return name.size() > 7 && name.compare(0, 3, kTempPrefix) == 0 &&
         name.compare(name.size() - 4, 4, ".rec") == 0 &&
         std::all_of(name.begin() + 3, name.end() - 4, is_hex_digit);
}

std::string file_name(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Opens one of our own regular files in the temporary folder and locks it when nobody holds
// it. Returns the descriptor, or -1 (not ours, gone, or locked by a live process).
int lock_if_free(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid() ||
      flock(fd, LOCK_EX | LOCK_NB) != 0 || !is_file_at(fd, path)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Deletes a sample file of a dead process; a live one (locked) stays.
void delete_if_free(const std::string& path) {
  const int fd = lock_if_free(path);
  if (fd < 0) return;
  ::unlink(path.c_str());
  ::close(fd);
}

// The record's sample files lie in the temporary folder, are named as sample files, and hold
// exactly the frames it says.
bool files_match(const RecoveryInfo& info, const std::string& folder) {
  if (info.frames <= 0 || info.channels.size() != info.format.nChannels ||
      (info.channels.size() != 1 && info.channels.size() != 2)) {
    return false;
  }
  for (const std::string& path : info.channels) {
    if (path != folder + "/" + file_name(path) || !is_sample_file_name(file_name(path))) {
      return false;
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<uint64_t>(st.st_size) != uint64_t{4} * static_cast<uint32_t>(info.frames)) {
      return false;
    }
  }
  return true;
}

// Deletes the record's sample files that lie in the temporary folder and nobody holds.
void delete_listed_files(const RecoveryInfo& info, const std::string& folder) {
  for (const std::string& path : info.channels) {
    if (path == folder + "/" + file_name(path) && is_sample_file_name(file_name(path))) {
      delete_if_free(path);
    }
  }
}

}  // namespace

std::string format_recovery_record(const RecoveryInfo& info) {
  std::ostringstream out;
  out << kMagic << '\n'
      << "owner " << info.owner << '\n'
      << "kind " << info.kind << '\n'
      << "modified " << info.modified << '\n'
      << "loaded " << escape(info.loaded_path) << '\n'
      << "saved " << escape(info.saved_path) << '\n'
      << "format " << info.format.wFormatTag << ' ' << info.format.nChannels << ' '
      << info.format.nSamplesPerSec << ' ' << info.format.nAvgBytesPerSec << ' '
      << info.format.nBlockAlign << ' ' << info.format.wBitsPerSample << '\n'
      << "frames " << info.frames << '\n'
      << "bytes " << info.bytes << '\n';
  for (const std::string& channel : info.channels) out << "channel " << escape(channel) << '\n';
  out << "end\n";
  return out.str();
}

bool parse_recovery_record(const std::string& text, RecoveryInfo& info) {
  info = RecoveryInfo{};
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kMagic) return false;
  bool ended = false;
  while (!ended && std::getline(in, line)) {
    const size_t space = line.find(' ');
    const std::string key = line.substr(0, space);
    const std::string value = space == std::string::npos ? std::string() : line.substr(space + 1);
    std::istringstream fields(value);
    bool ok = true;
    if (key == "end") {
      ended = true;
    } else if (key == "owner") {
      ok = static_cast<bool>(fields >> info.owner);
    } else if (key == "kind") {
      ok = static_cast<bool>(fields >> info.kind);
    } else if (key == "modified") {
      ok = static_cast<bool>(fields >> info.modified);
    } else if (key == "loaded") {
      ok = unescape(value, info.loaded_path);
    } else if (key == "saved") {
      ok = unescape(value, info.saved_path);
    } else if (key == "format") {
      PcmHeader& f = info.format;
      ok = static_cast<bool>(fields >> f.wFormatTag >> f.nChannels >> f.nSamplesPerSec >>
                             f.nAvgBytesPerSec >> f.nBlockAlign >> f.wBitsPerSample);
    } else if (key == "frames") {
      ok = static_cast<bool>(fields >> info.frames);
    } else if (key == "bytes") {
      ok = static_cast<bool>(fields >> info.bytes);
    } else if (key == "channel") {
      std::string path;
      ok = unescape(value, path);
      info.channels.push_back(path);
    } else {
      ok = false;
    }
    if (!ok) return false;
  }
  return ended;
}

RecoveryInfo recovery_info_of(const AudioDocument& document) {
  RecoveryInfo info;
  const AudioClip& clip = document.current_clip();
  if (!clip.has_audio()) return info;
  info.owner = static_cast<long>(::getpid());
  info.kind = static_cast<int>(document.kind());
  info.modified = document.modified();
  info.loaded_path = document.loaded_path();
  info.saved_path = document.saved_path();
  const WaveFormat& f = clip.format();
  info.format = PcmHeader{f.wFormatTag,      f.nChannels,   f.nSamplesPerSec,
                          f.nAvgBytesPerSec, f.nBlockAlign, f.wBitsPerSample};
  info.frames = clip.frames();
  info.bytes = clip.bytes();
  for (int i = 0; i < clip.store().channels(); ++i) {
    const SampleFile* file = clip.store().channel(i).file();
    if (file != nullptr) info.channels.push_back(file->path());
  }
  return info;
}

RecoveryRecord::~RecoveryRecord() {
  remove();
}

int RecoveryRecord::write(const RecoveryInfo& info) {
  const std::string text = format_recovery_record(info);
  if (fd_ >= 0 && text == text_) return 1;
  if (fd_ < 0) {
    // The name is taken, and locked, for the life of the document.
    path_ = LockedTempPathOpen("rec", kTempPrefix, {}, &fd_);
    if (fd_ < 0) {
      path_.clear();
      return 0;
    }
  }
  int fd = -1;
  const std::string next = LockedTempPathOpen({}, {}, {}, &fd);
  if (fd < 0) return 0;
  if (!write_all(fd, text) || std::rename(next.c_str(), path_.c_str()) != 0) {
    ::unlink(next.c_str());
    ::close(fd);
    return 0;
  }
  // The new file is locked already; the old one may go.
  ::close(fd_);
  fd_ = fd;
  text_ = text;
  return 1;
}

void RecoveryRecord::remove() {
  if (fd_ < 0) return;
  ::unlink(path_.c_str());
  ::close(fd_);
  fd_ = -1;
  path_.clear();
  text_.clear();
}

StaleDocument::StaleDocument(std::string path, RecoveryInfo info, int fd)
    : path_(std::move(path)), info_(std::move(info)), fd_(fd) {}

StaleDocument::~StaleDocument() {
  if (fd_ >= 0) ::close(fd_);
}

StaleDocument::StaleDocument(StaleDocument&& other) noexcept
    : path_(std::move(other.path_)), info_(std::move(other.info_)), fd_(other.fd_) {
  other.fd_ = -1;
}

StaleDocument& StaleDocument::operator=(StaleDocument&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(other.path_);
    info_ = std::move(other.info_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

void StaleDocument::discard() {
  if (fd_ < 0) return;
  delete_listed_files(info_, temp_directory());
  forget();
}

void StaleDocument::forget() {
  if (fd_ < 0) return;
  ::unlink(path_.c_str());
  ::close(fd_);
  fd_ = -1;
}

std::vector<StaleDocument> collect_stale_documents() {
  std::vector<StaleDocument> modified;
  const std::string folder = temp_directory();
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
  if (folder.empty() || dir == nullptr) return modified;
  std::vector<std::string> records;
  std::vector<std::string> samples;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (is_record_name(name)) records.push_back(folder + "/" + name);
    if (is_sample_file_name(name)) samples.push_back(folder + "/" + name);
  }

  std::vector<std::pair<time_t, StaleDocument>> found;
  std::vector<std::string> kept;  // sample files of the records offered for recovery
  for (const std::string& path : records) {
    const int fd = lock_if_free(path);
    if (fd < 0) continue;  // a live document's record
    RecoveryInfo info;
    const bool parsed = parse_recovery_record(read_all(fd), info);
    StaleDocument record(path, info, fd);
    if (!parsed) {
      record.forget();  // its sample files, if any, go with the unclaimed ones below
      continue;
    }
    if (!info.modified || !files_match(info, folder)) {
      record.discard();
      continue;
    }
    struct stat st {};
    ::fstat(fd, &st);
    kept.insert(kept.end(), info.channels.begin(), info.channels.end());
    found.emplace_back(st.st_mtime, std::move(record));
  }
  for (const std::string& path : samples) {
    if (std::find(kept.begin(), kept.end(), path) == kept.end()) delete_if_free(path);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  for (auto& entry : found) modified.push_back(std::move(entry.second));
  return modified;
}

}  // namespace voxtrelle
