// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/audio_clip.h"

#include "voxtrelle/audio/format_changes.h"

#include <cstring>
#include <utility>

namespace voxtrelle {

AudioClip::~AudioClip() {
  clear();
}

void AudioClip::set_format(const PcmHeader& header) {
  clear();
  format_.wFormatTag = header.wFormatTag;
  format_.nChannels = header.nChannels;
  format_.nSamplesPerSec = header.nSamplesPerSec;
  format_.nAvgBytesPerSec = header.nAvgBytesPerSec;
  format_.nBlockAlign = header.nBlockAlign;
  format_.wBitsPerSample = header.wBitsPerSample;
  format_.cbSize = 0;
}

void AudioClip::clear_format() {
  extra_.reset();
  format_ = WaveFormat{};
  frames_ = 0;
  bytes_ = 0;
}

// Every field non-zero, at least two bits per sample; PCM also needs the derived fields to
// agree and no extra bytes.
int AudioClip::is_format_valid() const {
  const WaveFormat& f = format_;
  const bool pcm = f.wFormatTag == kWaveFormatPcm;
  if (f.wFormatTag == 0 || f.nChannels == 0 || f.nSamplesPerSec == 0) return 0;
  if (f.nAvgBytesPerSec == 0 ||
      (pcm && uint64_t{f.nAvgBytesPerSec} != uint64_t{f.nSamplesPerSec} * f.nBlockAlign)) {
    return 0;
  }
  if (f.nBlockAlign == 0 || (pcm && f.nBlockAlign != f.nChannels * f.wBitsPerSample / 8)) {
    return 0;
  }
  if (f.wBitsPerSample <= 1) return 0;
  if (pcm && f.cbSize != 0) return 0;
  return 1;
}

int AudioClip::is_header_consistent() const {
  if (!is_format_valid()) return 0;
  if (format_.cbSize != 0 && extra_ == nullptr) return 0;
  if (format_.wFormatTag == kWaveFormatPcm && frames_ == 0) return 0;
  return bytes_ != 0;
}

int AudioClip::has_audio() const {
  return is_header_consistent() && store_.is_valid();
}

int AudioClip::is_empty() const {
  return format_ == WaveFormat{} && extra_ == nullptr && frames_ == 0 && bytes_ == 0 &&
         store_.is_empty();
}

int AudioClip::is_editable() const {
  return is_empty() || (has_audio() && store_.is_flat());
}

bool AudioClip::pcm16_fits(uint16_t channels, uint32_t rate) {
  return format_changes::pcm16_fits(channels, rate);
}

void AudioClip::set_pcm16(uint16_t channels, uint32_t rate, int32_t frames) {
  extra_.reset();
  format_ = format_changes::pcm16(channels, rate);
  frames_ = frames;
  bytes_ = int64_t{format_.nBlockAlign} * frames;
}

int AudioClip::create_silent(bool stereo, int32_t frames, int32_t rate) {
  if (!is_empty() || frames <= 0 || rate <= 0) return 0;
  const uint16_t channels = stereo ? 2 : 1;
  if (!pcm16_fits(channels, static_cast<uint32_t>(rate))) return 0;
  if (!store_.create(channels, frames, rate)) return 0;
  set_pcm16(channels, static_cast<uint32_t>(rate), frames);
  return 1;
}

void AudioClip::clear() {
  clear_format();
  store_.clear();
}

int AudioClip::copy_from(const AudioClip& source) {
  if (this == &source) return source.has_audio() || source.is_empty();
  if (!is_empty()) clear();
  if (source.is_empty()) return 1;
  if (!source.has_audio()) return 0;
  format_ = source.format_;
  if (source.extra_ != nullptr && source.format_.cbSize != 0) {
    extra_ = std::make_unique<uint8_t[]>(source.format_.cbSize);
    std::memcpy(extra_.get(), source.extra_.get(), source.format_.cbSize);
  }
  frames_ = source.frames_;
  bytes_ = source.bytes_;
  if (!store_.copy_from(source.store_, nullptr)) {
    clear();
    return 0;
  }
  return 1;
}

int AudioClip::copy_to(AudioClip& target, ProgressSink* progress) const {
  if (cancel_requested(progress) || this == &target) {
    report_failure(progress);
    return 0;
  }
  if (!target.copy_from(*this)) {
    report_failure(progress);
    return 0;
  }
  report_complete(progress);
  return 1;
}

int AudioClip::move_from(AudioClip& other) {
  if (this == &other) return 1;
  clear();
  std::swap(format_, other.format_);
  std::swap(extra_, other.extra_);
  std::swap(frames_, other.frames_);
  std::swap(bytes_, other.bytes_);
  store_.swap(other.store_);
  return 1;
}

double AudioClip::duration() const {
  return store_.duration();
}

int AudioClip::peaks(PeakLists& lists, int32_t columns) const {
  if (is_empty() || columns <= 0) return 0;
  return store_.peaks(lists, columns);
}

}  // namespace voxtrelle
