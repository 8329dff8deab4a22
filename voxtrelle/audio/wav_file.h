// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "voxtrelle/audio/mapped_file.h"
#include "voxtrelle/audio/progress.h"

namespace voxtrelle {

class AudioClip;

// A seekable byte stream. Reads and writes count whole items.
class ByteStream {
 public:
  virtual ~ByteStream() = default;
  virtual int past_end() const = 0;
  // position >= size
  virtual int at_end() const = 0;
  virtual int is_open() const = 0;
  // Bytes of meaningful content.
  virtual uint64_t size() const = 0;
  virtual uint64_t position() const = 0;
  virtual int seek_absolute(uint64_t position) = 0;
  virtual int close() = 0;
  // Returns the number of whole items copied; 0 when nothing is left.
  virtual size_t read(void* buffer, size_t item_size, size_t count) = 0;
  // Returns count on success, 0 on failure.
  virtual size_t write(const void* buffer, size_t item_size, size_t count) = 0;
  virtual int flush() = 0;
  // The next byte, or -1 at the end.
  virtual int read_byte() = 0;
  virtual int write_byte(uint8_t value) = 0;
  // origin 0 = start, 1 = current, 2 = end; fails only when the result would be negative.
  virtual int seek(int64_t offset, int origin) = 0;
  virtual int rewind() { return seek(0, 0); }
  virtual int seek_to_end() { return seek(0, 2); }
};

// A byte stream over a file (MappedFile) that grows in 256 KiB blocks, reserved on disk first,
// and is cut to its logical size at close. Reads past the logical size find nothing.
class WavStream : public ByteStream {
 public:
  // Bytes per mapping block: 4 x the mapping granularity.
  static constexpr uint32_t kBlockBytes = 4 * kAllocationGranularity;

  WavStream() = default;
  ~WavStream() override;

  // An existing file, opened and mapped read-only.
  int open_read(const std::string& path);
  // Creates or truncates path for reading and writing; logical size 0.
  int open_write(const std::string& path);
  // Takes an already created, writable descriptor (e.g. from UniqueTempPathOpen).
  int adopt_write(int fd, const std::string& path);

  int past_end() const override;
  int at_end() const override;
  int is_open() const override;
  uint64_t size() const override { return size_; }
  uint64_t position() const override { return position_; }
  int seek_absolute(uint64_t position) override;
  // Unmaps and closes; a written file is cut to its logical size. Returns 0 when that failed.
  int close() override;
  size_t read(void* buffer, size_t item_size, size_t count) override;
  size_t write(const void* buffer, size_t item_size, size_t count) override;
  int flush() override;
  int read_byte() override;
  int write_byte(uint8_t value) override;
  int seek(int64_t offset, int origin) override;

  const std::string& path() const { return file_.path(); }
  // Hints the kernel that the file will be read front to back.
  void advise_sequential();
  // For a file that is synced once complete: the disk write of each few megabytes starts as
  // soon as they are written, so it overlaps the rest of the work and the sync finds little
  // left to wait for.
  void set_write_behind(bool on) { write_behind_ = on; }

 private:
  // Grows the file in whole blocks so that it holds at least `end` bytes.
  int grow_to(uint64_t end);
  void start_write_behind();

  MappedFile file_;
  uint64_t size_ = 0;      // logical size, bytes
  uint64_t position_ = 0;  // bytes
  bool write_behind_ = false;
  uint64_t written_back_ = 0;  // bytes before this offset have been handed to the disk
};

// A byte stream over a plain read-only file descriptor, without any mapping: the header probe.
class PlainFileStream : public ByteStream {
 public:
  PlainFileStream() = default;
  ~PlainFileStream() override;
  PlainFileStream(const PlainFileStream&) = delete;
  PlainFileStream& operator=(const PlainFileStream&) = delete;

  int open_read(const std::string& path);

  int past_end() const override;
  int at_end() const override;
  int is_open() const override { return fd_ >= 0; }
  uint64_t size() const override { return size_; }
  uint64_t position() const override { return position_; }
  int seek_absolute(uint64_t position) override;
  int close() override;
  size_t read(void* buffer, size_t item_size, size_t count) override;
  size_t write(const void* buffer, size_t item_size, size_t count) override;
  int flush() override { return 1; }
  int read_byte() override;
  int write_byte(uint8_t value) override;
  int seek(int64_t offset, int origin) override;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
  uint64_t position_ = 0;
};

// Loads path into clip (8/16-bit PCM, mono or stereo; other encodings through the installed
// media codec's decode_to_wav). 20 % of progress for preparation, 80 % for reading.
int load_wav(const std::string& path, AudioClip& clip, ProgressSink* progress);
// Writes clip as a 44-byte-header PCM WAV file. The file is first written under a temporary
// name and put in path's place only on success (replace_file.h); a write-protected path is
// refused.
int save_wav(const std::string& path, const AudioClip& clip, ProgressSink* progress);

// The RIFF chunk walk on an open stream. Probe mode stops at the data chunk with the header
// read; full mode reads the samples too. On failure the clip ends empty.
int read_wav_stream(ByteStream& stream, AudioClip& clip, ProgressSink* progress);
int probe_wav_stream(ByteStream& stream, AudioClip& clip);
// Writes the 44-byte header, the samples and the pad byte from the stream's start.
int write_wav_stream(ByteStream& stream, const AudioClip& clip, ProgressSink* progress);

}  // namespace voxtrelle
