// SPDX-License-Identifier: GPL-3.0-or-later
// Interleaved 8/16-bit PCM <-> planar float pages, one page of frames per step.
#include <algorithm>
#include <cstring>
#include <memory>

#include "voxtrelle/audio/edit_pages.h"
#include "voxtrelle/audio/sample_kernels.h"
#include "voxtrelle/audio/sample_store.h"
#include "voxtrelle/audio/throttle.h"
#include "voxtrelle/audio/wav_file.h"

namespace voxtrelle {

namespace {

// Bytes per sample as the format's block align divided by its channels: 1 is 8-bit unsigned,
// anything else 16-bit signed.
bool is_8bit(const WaveFormat& format) {
  return format.nBlockAlign / format.nChannels == 1;
}

bool pcm_format_ok(const WaveFormat& format) {
  return format.wFormatTag == kWaveFormatPcm && (format.nChannels == 1 || format.nChannels == 2) &&
         (format.wBitsPerSample == 8 || format.wBitsPerSample == 16) &&
         format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8;
}

// After each step: cancellation, position in percent, then a short rest now and then unless
// the sink's owner says nobody needs the CPU time.
bool step_done(ProgressSink* progress, int32_t step, int32_t steps, Throttle& throttle) {
  if (cancel_requested(progress)) return false;
  if (progress != nullptr) {
    progress->set_percent(static_cast<float>(int64_t{step} * 100 / steps));
  }
  if (progress == nullptr || progress->yields_cpu()) throttle();
  return true;
}

// One page of interleaved PCM (aligned for 16-bit samples), the stream's transfer unit, and
// one run of floats per channel.
class PageBuffers {
 public:
  explicit PageBuffers(const WaveFormat& format)
      : pcm_(std::make_unique_for_overwrite<int16_t[]>(
            (size_t{kPageSamples} * format.nBlockAlign + 1) / 2)),
        floats_(std::make_unique_for_overwrite<float[]>(size_t{2} * kRunSamples)),
        eight_bit_(is_8bit(format)) {}

  uint8_t* pcm() { return reinterpret_cast<uint8_t*>(pcm_.get()); }
  float* left() { return floats_.get(); }
  float* right() { return floats_.get() + kRunSamples; }
  bool eight_bit() const { return eight_bit_; }

 private:
  std::unique_ptr<int16_t[]> pcm_;
  std::unique_ptr<float[]> floats_;
  bool eight_bit_;
};

}  // namespace

// The samples travel through plain file reads and writes: one page of PCM and one run of floats
// per channel, whatever the length.
int SampleStore::read_pcm(ByteStream& stream, const WaveFormat& format, int32_t frames,
                          ProgressSink* progress) {
  if (!is_empty() || !stream.is_open() || !pcm_format_ok(format) || frames <= 0 ||
      format.nSamplesPerSec == 0 || format.nSamplesPerSec > INT32_MAX) {
    return 0;
  }
  if (!create(format.nChannels, frames, static_cast<int32_t>(format.nSamplesPerSec))) return 0;
  PageBuffers page(format);
  uint8_t* pcm = page.pcm();
  float* left = page.left();
  float* right = page.right();
  const int32_t steps = channel0_.pages();
  Throttle throttle;
  for (int32_t step = 0; step < steps; ++step) {
    const int32_t want = channel0_.samples_in_page(step);
    const size_t got = stream.read(pcm, format.nBlockAlign, static_cast<size_t>(want));
    if (got == 0) break;  // the file holds fewer frames than its header claims: silence
    const int32_t n = static_cast<int32_t>(got);
    const int32_t first = step * static_cast<int32_t>(kPageSamples);
    const int converted =
        edit_pages::for_each_page_run(first, first + n, [&](int32_t at, int32_t run) {
          kernels::pcm_to_floats(
              pcm + size_t{static_cast<uint32_t>(at - first)} * format.nBlockAlign, channels_,
              page.eight_bit(), run, left, right);
          return channel0_.write_samples(at, left, run) &&
                 (channels_ == 1 || channel1_.write_samples(at, right, run));
        });
    if (!converted || !step_done(progress, step + 1, steps, throttle)) {
      clear();
      return 0;
    }
  }
  return 1;
}

int SampleStore::write_pcm(ByteStream& stream, const WaveFormat& format,
                           ProgressSink* progress) const {
  if (!is_valid() || !is_flat() || !stream.is_open() || !pcm_format_ok(format) ||
      format.nChannels != channels_) {
    return 0;
  }
  PageBuffers page(format);
  uint8_t* pcm = page.pcm();
  float* left = page.left();
  float* right = page.right();
  const int32_t steps = channel0_.pages();
  Throttle throttle;
  for (int32_t step = 0; step < steps; ++step) {
    const int32_t n = channel0_.samples_in_page(step);
    const int32_t first = step * static_cast<int32_t>(kPageSamples);
    const int converted =
        edit_pages::for_each_page_run(first, first + n, [&](int32_t at, int32_t run) {
          if (!channel0_.read_samples(at, left, run) ||
              (channels_ == 2 && !channel1_.read_samples(at, right, run))) {
            return false;
          }
          kernels::floats_to_pcm(
              left, right, channels_, page.eight_bit(), run,
              pcm + size_t{static_cast<uint32_t>(at - first)} * format.nBlockAlign);
          return true;
        });
    if (!converted) return 0;
    if (stream.write(pcm, format.nBlockAlign, static_cast<size_t>(n)) != static_cast<size_t>(n)) {
      return 0;
    }
    if (!step_done(progress, step + 1, steps, throttle)) return 0;
  }
  return 1;
}

}  // namespace voxtrelle
