// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/temp_folder.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/temp_file.h"
#include "voxtrelle/audio/wav_file.h"

namespace voxtrelle {

TempFolderProblem check_temp_folder(uint64_t needed) {
  TempFolderProblem problem;
  problem.folder = temp_directory();
  problem.needed = needed;
  using Kind = TempFolderProblem::Kind;
  struct stat st {};
  if (problem.folder.empty() || ::stat(problem.folder.c_str(), &st) != 0) {
    problem.kind = errno == EACCES ? Kind::kNotWritable : Kind::kMissing;
    return problem;
  }
  if (!S_ISDIR(st.st_mode)) {
    problem.kind = Kind::kNotFolder;
    return problem;
  }
  if (::access(problem.folder.c_str(), W_OK | X_OK) != 0) {
    problem.kind = Kind::kNotWritable;
    return problem;
  }
  struct statvfs fs {};
  if (::statvfs(problem.folder.c_str(), &fs) != 0) return problem;  // nothing known: go ahead
  problem.available = uint64_t{fs.f_bavail} * fs.f_frsize;
  if (problem.available < needed || problem.available == 0) problem.kind = Kind::kNoSpace;
  return problem;
}

uint64_t wav_sample_bytes(const std::string& path) {
  AudioClip header;
  PlainFileStream stream;
  if (!stream.open_read(path) || !probe_wav_stream(stream, header)) return 0;
  const WaveFormat& format = header.format();
  if (format.wFormatTag != kWaveFormatPcm) return 0;
  return uint64_t{static_cast<uint32_t>(header.frames())} * format.nChannels * sizeof(float);
}

}  // namespace voxtrelle
