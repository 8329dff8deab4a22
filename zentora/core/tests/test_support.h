// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zentora::testing {

// A fresh folder under $TMPDIR, removed with its contents at the end of the scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct Mp3Format {
  int seconds = 10;
  int rate = 44100;
  int channels = 2;
  int bitrate = 128;  // kbit/s
  bool cbr = true;    // else VBR with a Xing header
};

// Encodes a sine tone with GStreamer's lamemp3enc into path; false on failure.
bool WriteMp3(const std::string& path, const Mp3Format& format = Mp3Format());

// Writes bytes to path.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// Uses GStreamer's fakesink (synchronised to the clock) instead of a sound device.
void UseFakeAudioSink();

}  // namespace zentora::testing
