// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/sample_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "voxtrelle/audio/edit_pages.h"
#include "voxtrelle/audio/sample_store.h"

namespace voxtrelle::kernels {
namespace {

// The hundredth is the single-precision 0.01 (0.0099999998), as the gain has always been.
constexpr float kHundredth = 0.01f;

// Loops that keep a running extreme use this many independent lanes: one long chain of
// dependent comparisons would keep them scalar and several times slower.
constexpr int kLanes = 8;

// The loops are also built for AVX2, picked at load time where the processor has it: the wider
// vectors handle twice the samples per instruction. AVX2 brings no fused multiply-add, so the
// results are the same. Not under ThreadSanitizer: the loader runs the clone picker before that
// runtime is up.
#if defined(__SANITIZE_THREAD__)
#define VX_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VX_THREAD_SANITIZER 1
#endif
#endif
#if defined(__x86_64__) && defined(__GNUC__) && !defined(VX_THREAD_SANITIZER)
#define VX_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VX_VECTOR_CLONES
#endif

}  // namespace

// The product is taken in double precision. Far wider than the float samples, it yields the same
// floats as an 80-bit product (checked over every 16-bit sample value), without the slow x87
// arithmetic that would need.
VX_VECTOR_CLONES void scale(float* s, int32_t n, int percent) {
  const double whole = static_cast<double>(percent);
  const double hundredth = static_cast<double>(kHundredth);
  for (int32_t i = 0; i < n; ++i) {
    const double scaled = whole * s[i] * hundredth;
    s[i] = static_cast<float>(std::clamp(scaled, -1.0, 1.0));
  }
}

// Explicit vectors, as in extremes(): NaN never enters, -0 counts as 0.
VX_VECTOR_CLONES float peak(const float* s, int32_t n) {
  typedef float Lanes __attribute__((vector_size(32)));
  const Lanes zero = {};
  Lanes lanes = {};
  int32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    Lanes v;
    std::memcpy(&v, s + i, sizeof v);
    const Lanes a = v < zero ? -v : v;
    lanes = a > lanes ? a : lanes;
  }
  float result = 0.0f;
  for (int j = 0; j < 8; ++j) result = std::max(result, lanes[j]);
  for (; i < n; ++i) result = std::max(result, std::fabs(s[i]));
  return result;
}

int maximize_percent(float peak) {
  if (peak == 0.0f) return 100;
  const float quotient = 100.0f / peak;
  if (!(quotient < static_cast<float>(std::numeric_limits<int>::max()))) {
    return std::numeric_limits<int>::max();
  }
  return static_cast<int>(quotient);
}

// One loop per direction, so each is plain arithmetic the compiler turns into vector code.
VX_VECTOR_CLONES void fade_in(float* s, int32_t n, int64_t at, int64_t length) {
  const double last = static_cast<double>(length - 1);
  for (int32_t i = 0; i < n; ++i) {
    const double k = static_cast<double>(at + i);
    s[i] = static_cast<float>(edit_pages::clamp_unit(k * s[i] / last));
  }
}

VX_VECTOR_CLONES void fade_out(float* s, int32_t n, int64_t at, int64_t length) {
  const double last = static_cast<double>(length - 1);
  for (int32_t i = 0; i < n; ++i) {
    const double k = static_cast<double>(at + i);
    s[i] = static_cast<float>(edit_pages::clamp_unit(s[i] * (1.0 - k / last)));
  }
}

VX_VECTOR_CLONES void mix(float* __restrict left, const float* __restrict right, int32_t n,
                          float& low, float& high) {
  float lows[kLanes] = {};
  float highs[kLanes] = {};
  int32_t k = 0;
  for (; k + kLanes <= n; k += kLanes) {
    for (int j = 0; j < kLanes; ++j) {
      const float sum = left[k + j] + right[k + j];
      left[k + j] = sum;
      lows[j] = sum < lows[j] ? sum : lows[j];
      highs[j] = sum > highs[j] ? sum : highs[j];
    }
  }
  for (; k < n; ++k) {
    const float sum = left[k] + right[k];
    left[k] = sum;
    low = std::min(low, sum);
    high = std::max(high, sum);
  }
  for (int j = 0; j < kLanes; ++j) {
    low = std::min(low, lows[j]);
    high = std::max(high, highs[j]);
  }
}

float mix_rescale(float low, float high) {
  const float loudest = std::max(-low, high);
  return loudest > 1.0f ? 1.0f / loudest : 0.0f;
}

VX_VECTOR_CLONES void rescale(float* s, int32_t n, float factor) {
  for (int32_t k = 0; k < n; ++k) s[k] = std::clamp(s[k] * factor, -1.0f, 1.0f);
}

VX_VECTOR_CLONES void pcm_to_floats(const uint8_t* pcm, int channels, bool eight_bit,
                                    int32_t frames, float* left, float* right) {
  if (eight_bit) {
    if (channels == 1) {
      for (int32_t k = 0; k < frames; ++k) left[k] = pcm8_to_float(pcm[k]);
    } else {
      for (int32_t k = 0; k < frames; ++k) {
        left[k] = pcm8_to_float(pcm[2 * k]);
        right[k] = pcm8_to_float(pcm[2 * k + 1]);
      }
    }
    return;
  }
  const int16_t* __restrict s = reinterpret_cast<const int16_t*>(pcm);
  if (channels == 1) {
    for (int32_t k = 0; k < frames; ++k) left[k] = pcm16_to_float(s[k]);
  } else {
    for (int32_t k = 0; k < frames; ++k) {
      left[k] = pcm16_to_float(s[2 * k]);
      right[k] = pcm16_to_float(s[2 * k + 1]);
    }
  }
}

VX_VECTOR_CLONES void floats_to_pcm(const float* __restrict left, const float* __restrict right,
                                    int channels, bool eight_bit, int32_t frames,
                                    uint8_t* __restrict pcm) {
  if (eight_bit) {
    if (channels == 1) {
      for (int32_t k = 0; k < frames; ++k) pcm[k] = float_to_pcm8(left[k]);
    } else {
      for (int32_t k = 0; k < frames; ++k) {
        pcm[2 * k] = float_to_pcm8(left[k]);
        pcm[2 * k + 1] = float_to_pcm8(right[k]);
      }
    }
    return;
  }
  int16_t* __restrict s = reinterpret_cast<int16_t*>(pcm);
  if (channels == 1) {
    for (int32_t k = 0; k < frames; ++k) s[k] = float_to_pcm16(left[k]);
  } else {
    for (int32_t k = 0; k < frames; ++k) {
      s[2 * k] = float_to_pcm16(left[k]);
      s[2 * k + 1] = float_to_pcm16(right[k]);
    }
  }
}

// Written with explicit vectors: the compiler does not turn two running extremes into vector
// code by itself. s > h ? s : h keeps h for NaN, as the waveform's comparison does.
VX_VECTOR_CLONES void extremes(const float* s, int32_t n, float& high, float& low) {
  typedef float Lanes __attribute__((vector_size(32)));
  Lanes highs = {};
  Lanes lows = {};
  int32_t k = 0;
  for (; k + 8 <= n; k += 8) {
    Lanes v;
    std::memcpy(&v, s + k, sizeof v);
    highs = v > highs ? v : highs;
    lows = v < lows ? v : lows;
  }
  float h = 0.0f;
  float l = 0.0f;
  for (; k < n; ++k) {
    h = s[k] > h ? s[k] : h;
    l = s[k] < l ? s[k] : l;
  }
  for (int j = 0; j < 8; ++j) {
    h = highs[j] > h ? highs[j] : h;
    l = lows[j] < l ? lows[j] : l;
  }
  high = h;
  low = l;
}

}  // namespace voxtrelle::kernels
