// SPDX-License-Identifier: GPL-3.0-or-later
// The per-sample arithmetic of the edits, the PCM conversions and the peak summary, on runs of
// samples in ordinary memory. The document's edits and the command line's streaming stages both
// call these, so the two produce the same floats, and so the same file bytes.
#pragma once

#include <cstdint>

namespace voxtrelle::kernels {

// s <- clamp(percent * s * 0.01f) over n samples (Change Volume).
void scale(float* s, int32_t n, int percent);

// The largest |s| of n samples, 0 for none.
float peak(const float* s, int32_t n);

// Maximize's gain for a range whose largest |s| is peak: truncate(100 / peak) from a
// single-precision division; 100 (no change) for silence.
int maximize_percent(float peak);

// The linear ramps over a range of `length` samples (length >= 2): s holds the range's samples
// [at, at + n), and sample k of the range gets k / (length - 1) (in) or 1 - k / (length - 1)
// (out).
void fade_in(float* s, int32_t n, int64_t at, int64_t length);
void fade_out(float* s, int32_t n, int64_t at, int64_t length);

// left[k] <- left[k] + right[k] (no halving), widening [low, high] to take in every sum.
void mix(float* left, const float* right, int32_t n, float& low, float& high);
// The factor a mix whose sums span [low, high] is rescaled by, or 0 when it needs none.
float mix_rescale(float low, float high);
// s <- clamp(s * factor, -1, 1).
void rescale(float* s, int32_t n, float factor);

// Interleaved PCM of 1 or 2 channels, 8-bit unsigned or 16-bit signed, <-> planar floats with
// the editor's rounding (see float_to_pcm16 and friends). right is unused for mono.
void pcm_to_floats(const uint8_t* pcm, int channels, bool eight_bit, int32_t frames, float* left,
                   float* right);
void floats_to_pcm(const float* left, const float* right, int channels, bool eight_bit,
                   int32_t frames, uint8_t* pcm);

// The largest sample (at least 0) and the smallest (at most 0) of n samples, compared the way
// the waveform's columns compare them, so NaN never enters.
void extremes(const float* s, int32_t n, float& high, float& low);

}  // namespace voxtrelle::kernels
