// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A play state the panel tests set by hand; seeks and toggles are recorded.
#include <algorithm>
#include <vector>

#include "zentora/ui/play_view.h"

namespace zentora::test {

struct FakePlayView : PlayView {
  bool loaded = true;
  bool stopped = false;
  bool playing = true;
  int32_t pointA = -1, pointB = -1, current = 0, duration = 61500;
  std::vector<int32_t> seeks;
  int toggles = 0;

  bool IsLoaded() const override { return loaded; }
  bool IsStopped() const override { return stopped; }
  bool IsPlaying() const override { return playing; }
  int32_t PointAMs() const override { return pointA; }
  int32_t PointBMs() const override { return pointB; }
  int32_t CurrentMs() const override { return current; }
  int32_t DurationMs() const override { return duration; }
  void SeekTo(int32_t ms) override {
    current = std::clamp(ms, 0, duration);
    seeks.push_back(ms);
  }
  void TogglePlay() override {
    ++toggles;
    playing = !playing;
  }
};

}  // namespace zentora::test
