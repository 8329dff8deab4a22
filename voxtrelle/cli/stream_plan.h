// SPDX-License-Identifier: GPL-3.0-or-later
// A chain of `edit` operations turned into streaming stages: each operation's range resolved
// in the frames of the clip as it stands when the operation runs, the stages that change
// nothing dropped, and the output file's format and length worked out ahead.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "voxtrelle/audio/wave_format.h"
#include "voxtrelle/cli/command_line.h"

namespace voxtrelle::cli {

enum class StageKind {
  kCut,       // drops frames [begin, end)
  kKeep,      // keeps only frames [begin, end)
  kScale,     // Change Volume by percent over [begin, end)
  kMaximize,  // Change Volume by each channel's own percent over [begin, end)
  kFadeIn,    // ramps over [begin, end)
  kFadeOut,
  kToMono,    // L + R, rescaled by factor when the loudest sum passes full scale
  kToStereo,  // the right channel a copy of the left
};

struct Stage {
  StageKind kind = StageKind::kScale;
  int64_t begin = 0;  // frames of the stage's input
  int64_t end = 0;
  int channels = 1;   // of the stage's input
  int percent = 100;  // kScale
  // Found by a pass over the stage's input before the stage can run (see needs_analysis).
  int percents[2] = {100, 100};  // kMaximize, per channel
  // kToMono: the rescale factor, 0 for none. Nearly every mix stays inside full scale, so the
  // mix is first run with none, checking its sums on the way; mix_known says that check is done.
  float factor = 0.0f;
  bool mix_known = false;
};

// Whether a stage needs a reading pass over its whole input first: Maximize needs its peak.
inline bool needs_analysis(StageKind kind) {
  return kind == StageKind::kMaximize;
}

struct StreamPlan {
  std::vector<Stage> stages;
  WaveFormat input_format;
  int32_t input_frames = 0;
  WaveFormat output_format;
  int32_t output_frames = 0;
};

// Plans the chain for a PCM input of the format and length. Returns "" with plan filled, or
// why the chain is left to the document: a range the document path refuses (it reports it),
// or an operation that would fail there (a format that cannot hold the result).
std::string plan_stream(const WaveFormat& format, int32_t frames,
                        const std::vector<EditRequest>& edits, StreamPlan& plan);

}  // namespace voxtrelle::cli
