// SPDX-License-Identifier: GPL-3.0-or-later
// RIFF/WAVE reading: the chunk walk and AudioClip::load_wav.
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/media_codec.h"
#include "voxtrelle/audio/temp_file.h"
#include "voxtrelle/audio/temp_folder.h"
#include "voxtrelle/audio/wav_file.h"
#include "voxtrelle/audio/wav_layout.h"

namespace voxtrelle {
namespace {

constexpr uint32_t fourcc(const char (&s)[5]) {
  return uint32_t{static_cast<uint8_t>(s[0])} | uint32_t{static_cast<uint8_t>(s[1])} << 8 |
         uint32_t{static_cast<uint8_t>(s[2])} << 16 | uint32_t{static_cast<uint8_t>(s[3])} << 24;
}
constexpr uint32_t kRiff = fourcc("RIFF");
constexpr uint32_t kWave = fourcc("WAVE");
constexpr uint32_t kFmt = fourcc("fmt ");
constexpr uint32_t kData = fourcc("data");
constexpr uint32_t kChunkHeaderBytes = 8;

uint32_t le32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

enum class WalkMode { kProbe, kFull, kLayout };

// Moves to the end of a chunk whose body starts at `body` and is `size` bytes long, plus the
// pad byte of an odd size. A chunk cut short by the end of the file (a file copied or
// downloaded incompletely) ends the walk there instead of failing it.
bool skip_chunk(ByteStream& stream, uint64_t body, uint64_t size) {
  const uint64_t padded = body + size + (size & 1);
  return stream.seek_absolute(std::min(padded, stream.size())) != 0;
}

// True when nothing but a stray tail too short for a chunk header is left.
bool walk_finished(const ByteStream& stream) {
  return stream.at_end() || stream.size() - stream.position() < kChunkHeaderBytes;
}

bool read_fmt(ByteStream& stream, AudioClip& clip, uint32_t size) {
  if (size == 0) return false;
  const uint64_t body = stream.position();
  uint8_t raw[16];
  if (stream.read(raw, sizeof raw, 1) != 1) return false;
  PcmHeader header;
  header.wFormatTag = le16(raw);
  header.nChannels = le16(raw + 2);
  header.nSamplesPerSec = le32(raw + 4);
  header.nAvgBytesPerSec = le32(raw + 8);
  header.nBlockAlign = le16(raw + 12);
  header.wBitsPerSample = le16(raw + 14);
  clip.set_format(header);  // extra format bytes are never kept
  if (size < 16) return false;
  return skip_chunk(stream, body, size);
}

bool read_data(ByteStream& stream, AudioClip& clip, uint32_t size, WalkMode mode,
               ProgressSink* progress, WavDataLayout* layout) {
  const uint64_t body = stream.position();
  // The format must be known and sound before its block align is used.
  if (!clip.is_format_valid()) return false;
  const WaveFormat& format = clip.format();
  const bool pcm = format.wFormatTag == kWaveFormatPcm;
  const uint64_t frames = pcm ? size / format.nBlockAlign : 0;
  if (frames > INT32_MAX) return false;  // does not fit the frame count
  clip.set_counts(static_cast<int32_t>(frames), size);
  if (!clip.is_header_consistent()) return false;
  if (mode == WalkMode::kProbe) return true;
  if (!pcm || format.nChannels > 2 || cancel_requested(progress)) return false;
  if (mode == WalkMode::kLayout) {
    // Only what a load reads whole: one data chunk of frames that are all in the file.
    if (layout->frames != 0 || frames == 0 || body + size > stream.size()) return false;
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) return false;
    if (format.nSamplesPerSec > INT32_MAX) return false;
    layout->offset = body;
    layout->frames = static_cast<int32_t>(frames);
    return stream.seek_absolute(std::min(body + size + (size & 1), stream.size())) != 0;
  }
  // The declared length is reserved in full (silence where the file ends early): a short file
  // claiming gigabytes must not fill the temporary folder's disk unasked.
  if (check_temp_folder(frames * format.nChannels * sizeof(float))) return false;
  if (!clip.store().read_pcm(stream, format, static_cast<int32_t>(frames), progress)) {
    return false;
  }
  // Continue after the chunk as declared, whatever part of it the frames used.
  const uint64_t end = body + size;
  if (!stream.seek_absolute(std::min(end + (size & 1), stream.size()))) return false;
  return clip.store().is_valid();
}

// The chunk walk. Probe mode stops with success at the first data chunk.
int walk(ByteStream& stream, AudioClip& clip, ProgressSink* progress, WalkMode mode,
         WavDataLayout* layout = nullptr) {
  if (!stream.is_open() || !stream.rewind()) return 0;
  uint8_t riff[12];
  if (stream.read(riff, 8, 1) != 1 || le32(riff) != kRiff) return 0;
  if (stream.read(riff + 8, 4, 1) != 1 || le32(riff + 8) != kWave) return 0;
  if (mode == WalkMode::kFull) clip.clear();

  while (!cancel_requested(progress)) {
    uint8_t header[kChunkHeaderBytes];
    if (stream.read(header, sizeof header, 1) != 1) return 0;
    const uint32_t id = le32(header);
    const uint32_t size = le32(header + 4);
    if (id == kFmt) {
      // A format chunk after the data would empty the clip a load fills.
      if (layout != nullptr && layout->frames != 0) return 0;
      if (!read_fmt(stream, clip, size)) return 0;
    } else if (id == kData) {
      if (!read_data(stream, clip, size, mode, progress, layout)) return 0;
      if (mode == WalkMode::kProbe) return 1;
    } else {
      if (static_cast<int32_t>(size) <= 0) return 0;  // 0 or 2^31 and more
      if (!skip_chunk(stream, stream.position(), size)) return 0;
    }
    if (walk_finished(stream)) return 1;
  }
  return 0;
}

}  // namespace

int probe_wav_stream(ByteStream& stream, AudioClip& clip) {
  if (walk(stream, clip, nullptr, WalkMode::kProbe)) return 1;
  clip.clear();
  return 0;
}

int locate_wav_data(ByteStream& stream, AudioClip& clip, WavDataLayout& layout) {
  layout = WavDataLayout{};
  if (walk(stream, clip, nullptr, WalkMode::kLayout, &layout) && layout.frames != 0) return 1;
  clip.clear();
  layout = WavDataLayout{};
  return 0;
}

int read_wav_stream(ByteStream& stream, AudioClip& clip, ProgressSink* progress) {
  if (walk(stream, clip, progress, WalkMode::kFull)) return 1;
  clip.clear();
  return 0;
}

int load_wav(const std::string& path, AudioClip& clip, ProgressSink* progress) {
  clip.clear();
  AudioClip probed;
  {
    PlainFileStream probe;
    if (!probe.open_read(path) || !probe_wav_stream(probe, probed)) {
      report_failure(progress);
      return 0;
    }
  }

  // 20 % of the range for preparing, 80 % for reading.
  const uint32_t prepare_share = progress != nullptr ? progress->total() / 5 : 0;
  std::string source = path;
  std::string decoded;  // a temporary PCM file when the source needs decoding
  int decoded_lock = -1;
  int ok = 1;
  if (probed.format().wFormatTag == kWaveFormatPcm) {
    if (progress != nullptr) progress->advance(prepare_share);
  } else {
    MediaCodec* codec = installed_media_codec();
    // Locked like a sample file, whose name it shares, so no starting editor deletes it.
    decoded = LockedTempPathOpen({}, {}, {}, &decoded_lock);
    if (codec == nullptr || decoded.empty()) {
      ok = 0;
    } else if (progress != nullptr) {
      ProgressSlice slice(*progress, prepare_share);
      ok = codec->decode_to_wav(path, decoded, &slice);
    } else {
      ok = codec->decode_to_wav(path, decoded, nullptr);
    }
    source = decoded;
  }

  if (ok) {
    WavStream stream;
    ok = stream.open_read(source);
    if (ok) {
      stream.advise_sequential();
      if (progress != nullptr) {
        ProgressSlice slice(*progress, progress->total() - progress->position());
        ok = read_wav_stream(stream, clip, &slice);
      } else {
        ok = read_wav_stream(stream, clip, nullptr);
      }
      stream.close();
    }
  }
  if (!decoded.empty()) unlink(decoded.c_str());
  if (decoded_lock >= 0) ::close(decoded_lock);
  if (!ok || cancel_requested(progress)) {
    clip.clear();
    report_failure(progress);
    return 0;
  }
  report_complete(progress);
  return 1;
}

int AudioClip::load_wav(const std::string& path, ProgressSink* progress) {
  return voxtrelle::load_wav(path, *this, progress);
}

}  // namespace voxtrelle
