// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/wma_audio.h"

#include <unistd.h>

#include <cmath>
#include <optional>

#include "voxtrelle/audio/media_codec.h"
#include "voxtrelle/audio/replace_file.h"
#include "voxtrelle/audio/temp_file.h"

namespace voxtrelle {
namespace {

// A step's share of an optional parent sink: a slice when there is a parent, else nothing.
class Step {
 public:
  Step(ProgressSink* parent, uint32_t share) {
    if (parent != nullptr) slice_.emplace(*parent, share);
  }
  ProgressSink* sink() { return slice_ ? &*slice_ : nullptr; }

 private:
  std::optional<ProgressSlice> slice_;
};

uint32_t share_of(ProgressSink* progress, double fraction) {
  return progress == nullptr ? 0 : static_cast<uint32_t>(std::floor(progress->total() * fraction));
}

// Deletes a file by path when it goes out of scope.
class RemoveOnExit {
 public:
  explicit RemoveOnExit(std::string path) : path_(std::move(path)) {}
  ~RemoveOnExit() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  RemoveOnExit(const RemoveOnExit&) = delete;
  RemoveOnExit& operator=(const RemoveOnExit&) = delete;
  void release() { path_.clear(); }

 private:
  std::string path_;
};

}  // namespace

int WmaAudio::create_silent_ms(bool stereo, int32_t milliseconds, int32_t rate) {
  const auto frames = static_cast<int32_t>(static_cast<double>(milliseconds) * rate * 0.001);
  return clip_.create_silent(stereo, frames, rate);
}

void WmaAudio::clear() {
  clip_.clear();
  tags_.clear();
}

int WmaAudio::load(const std::string& path, ProgressSink* progress) {
  MediaCodec* codec = installed_media_codec();
  int ok = 0;
  clear();
  if (!path.empty() && codec != nullptr) {
    codec->read_tags(path, tags_);  // tags are a bonus: the audio loads without them
    const std::string decoded = cancel_requested(progress) ? std::string() : UniqueTempPath("wav");
    RemoveOnExit remove_decoded(decoded);
    if (!decoded.empty()) {
      const uint32_t decode_share = share_of(progress, 0.1);
      Step decode(progress, decode_share);
      if (codec->decode_to_wav(path, decoded, decode.sink())) {
        Step read(progress, progress == nullptr ? 0 : progress->total() - decode_share);
        ok = clip_.load_wav(decoded, read.sink());
      }
    }
  }
  if (!ok) {
    clear();
    report_failure(progress);
    return 0;
  }
  report_complete(progress);
  return 1;
}

int WmaAudio::save(const std::string& path, ProgressSink* progress) {
  MediaCodec* codec = installed_media_codec();
  int ok = 0;
  if (codec != nullptr && clip_.has_audio() && !cancel_requested(progress) &&
      target_is_writable(path)) {
    const std::string encoded = sibling_temp_path(path, "wma");
    RemoveOnExit remove_encoded(encoded);
    TempFile wav("wav");
    if (!encoded.empty() && !wav.path().empty()) {
      const uint32_t write_share = share_of(progress, 0.2);
      Step write(progress, write_share);
      if (clip_.save_wav(wav.path(), write.sink())) {
        Step encode(progress, progress == nullptr ? 0 : progress->total() - write_share);
        ok = codec->encode_to_wma(wav.path(), encoded, encode.sink());
      }
      wav.remove();
      // A tag failure never fails the save.
      if (ok && tags_.has_values()) codec->write_tags(encoded, tags_);
      ok = ok && !cancel_requested(progress) && replace_file(encoded, path, progress);
      if (ok) remove_encoded.release();
    }
  }
  if (!ok) {
    report_failure(progress);
    return 0;
  }
  report_complete(progress);
  return 1;
}

}  // namespace voxtrelle
