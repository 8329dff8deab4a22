// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/cli/stream_plan.h"

#include "voxtrelle/audio/edit_pages.h"
#include "voxtrelle/audio/format_changes.h"
#include "voxtrelle/cli/edit_ranges.h"

namespace voxtrelle::cli {
namespace {

// The data of a WAV file must stay below 4 GiB with its header and pad byte.
bool fits_wav(const WaveFormat& format, int32_t frames) {
  const uint64_t data = uint64_t{static_cast<uint32_t>(frames)} * format.nBlockAlign;
  return data + 36 + (data & 1) <= UINT32_MAX;
}

}  // namespace

std::string plan_stream(const WaveFormat& input_format, int32_t input_frames,
                        const std::vector<EditRequest>& edits, StreamPlan& plan) {
  plan = StreamPlan{};
  plan.input_format = input_format;
  plan.input_frames = input_frames;
  WaveFormat format = input_format;
  int32_t frames = input_frames;
  for (const EditRequest& edit : edits) {
    int32_t begin = -1;
    int32_t end = -1;
    if (std::string problem = resolve_range(edit, frames, begin, end); !problem.empty()) {
      return problem;
    }
    Stage stage;
    stage.channels = format.nChannels;
    switch (edit.kind) {
      case EditKind::kDeleteSelected:
      case EditKind::kDeleteUnselected: {
        // The clip's rule: clamp into the clip, refuse an empty range or an empty result.
        begin = std::clamp(begin, int32_t{0}, frames);
        end = std::clamp(end, int32_t{0}, frames);
        const bool outside = edit.kind == EditKind::kDeleteSelected;
        const int32_t kept = outside ? frames - (end - begin) : end - begin;
        if (end - begin <= 0 || kept <= 0) return "the deletion leaves nothing";
        if (!format_changes::pcm16_fits(format.nChannels, format.nSamplesPerSec)) {
          return "the result's format does not fit";
        }
        stage.kind = outside ? StageKind::kCut : StageKind::kKeep;
        stage.begin = begin;
        stage.end = end;
        format = format_changes::pcm16(format.nChannels, format.nSamplesPerSec);
        frames = kept;
        plan.stages.push_back(stage);
        continue;
      }
      case EditKind::kToMono:
        if (format.nChannels == 1) continue;
        stage.kind = StageKind::kToMono;
        format_changes::to_mono(format);
        plan.stages.push_back(stage);
        continue;
      case EditKind::kToStereo:
        if (format.nChannels == 2) continue;
        if (!format_changes::stereo_fits(frames, format.nBlockAlign)) {
          return "the stereo result does not fit a WAV file";
        }
        stage.kind = StageKind::kToStereo;
        format_changes::to_stereo(format);
        plan.stages.push_back(stage);
        continue;
      case EditKind::kVolume:
        if (edit.percent == 100) continue;
        stage.kind = StageKind::kScale;
        stage.percent = edit.percent;
        break;
      case EditKind::kMaximize:
        stage.kind = StageKind::kMaximize;
        break;
      case EditKind::kFadeIn:
        stage.kind = StageKind::kFadeIn;
        break;
      case EditKind::kFadeOut:
        stage.kind = StageKind::kFadeOut;
        break;
    }
    // The in-place edits' per-channel range rule; a ramp over one sample changes nothing.
    if (!edit_pages::resolve_range(frames, begin, end)) return "the range is reversed";
    if ((stage.kind == StageKind::kFadeIn || stage.kind == StageKind::kFadeOut) &&
        end - begin <= 1) {
      continue;
    }
    stage.begin = begin;
    stage.end = end;
    plan.stages.push_back(stage);
  }
  if (!fits_wav(format, frames)) return "the result does not fit a WAV file";
  plan.output_format = format;
  plan.output_frames = frames;
  return {};
}

}  // namespace voxtrelle::cli
