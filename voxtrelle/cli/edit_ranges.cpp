// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/cli/edit_ranges.h"

#include "voxtrelle/audio/audio_document.h"

#include <algorithm>

namespace voxtrelle::cli {
namespace {

// Describes a range for messages: "B..E" as typed.
std::string range_text(const EditRequest& edit) {
  return std::to_string(edit.begin) + ".." + std::to_string(edit.end);
}

}  // namespace

std::string resolve_range(const EditRequest& edit, int32_t frames, int32_t& begin, int32_t& end) {
  begin = -1;
  end = -1;
  const bool deletion =
      edit.kind == EditKind::kDeleteSelected || edit.kind == EditKind::kDeleteUnselected;
  if (!edit.has_range) return {};
  if (edit.begin < 0 || edit.begin >= edit.end) {
    return "the selection " + range_text(edit) + " is not a range (0 <= B < E)";
  }
  if (edit.begin >= frames) {
    return "the selection " + range_text(edit) + " starts after the end of the clip (" +
           std::to_string(frames) + " frames)";
  }
  begin = static_cast<int32_t>(edit.begin);
  end = static_cast<int32_t>(std::min<int64_t>(edit.end, frames));
  if (deletion && begin == 0 && end == frames) {
    return "the selection " + range_text(edit) + " is the whole clip";
  }
  return {};
}

int apply_edit(AudioDocument& document, const EditRequest& edit, int32_t begin, int32_t end) {
  switch (edit.kind) {
    case EditKind::kDeleteSelected:
      return document.delete_range(begin, end, 1);
    case EditKind::kDeleteUnselected:
      return document.delete_range(begin, end, 0);
    case EditKind::kVolume:
      return document.change_volume(begin, end, edit.percent);
    case EditKind::kMaximize:
      return document.maximize(begin, end);
    case EditKind::kFadeIn:
      return document.fade_in(begin, end);
    case EditKind::kFadeOut:
      return document.fade_out(begin, end);
    case EditKind::kToMono:
      return document.to_mono();
    case EditKind::kToStereo:
      return document.to_stereo();
  }
  return 0;
}

}  // namespace voxtrelle::cli
