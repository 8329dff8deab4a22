// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "zentora/core/cutter_view.h"
#include "zentora/core/mp3_player.h"

namespace zentora::testing {

// A player without sound: the test moves the position by hand.
struct FakePlayerState {
  int32_t duration = 60000;
  int32_t position = 0;
  bool running = false;
  bool failRun = false;
  int buildFailures = 0;  // builds that fail before one succeeds
  int builds = 0;
  std::vector<int> buildVariants;
  std::vector<int32_t> seeks;
  std::vector<int32_t> volumes;
  Mp3Player::ErrorCallback callback;
};

class FakePlayer : public Mp3Player {
 public:
  explicit FakePlayer(FakePlayerState& s) : s_(s) {}
  int build(const std::string&, int variant, std::string* errorText) override {
    ++s_.builds;
    s_.buildVariants.push_back(variant);
    if (s_.buildFailures > 0) {
      --s_.buildFailures;
      if (errorText != nullptr) *errorText = "variant " + std::to_string(variant) + " failed";
      return 0;
    }
    built_ = true;
    return 1;
  }
  void tearDown() override { built_ = false; }
  bool isBuilt() const override { return built_; }
  int run(std::string* errorText) override {
    if (s_.failRun) {
      if (errorText != nullptr) *errorText = "device busy";
      return 0;
    }
    s_.running = true;
    return 1;
  }
  void pause() override { s_.running = false; }
  void stop() override { s_.running = false; }
  int32_t currentMs() override { return s_.position; }
  int32_t durationMs() override { return s_.duration; }
  bool atEnd() override { return s_.position >= s_.duration; }
  void seekMs(int32_t ms) override {
    s_.position = ms < 0 ? 0 : (ms > s_.duration ? s_.duration : ms);
    s_.seeks.push_back(s_.position);
  }
  void setVolume(int32_t v) override { s_.volumes.push_back(v); }
  void setErrorCallback(ErrorCallback callback) override { s_.callback = std::move(callback); }

 private:
  FakePlayerState& s_;
  bool built_ = false;
};

class FakeBackend : public PlayerBackend {
 public:
  FakePlayerState state;
  bool rendererPresent = true;
  std::unique_ptr<Mp3Player> createPlayer() override { return std::make_unique<FakePlayer>(state); }
  int checkRenderer(std::string* errorText) override {
    if (!rendererPresent && errorText != nullptr) *errorText = "no renderer";
    return rendererPresent ? 1 : 0;
  }
};

// Records what the state machine asked of the window.
class FakeView : public CutterView {
 public:
  int refreshes = 0;
  int toolbarUpdates = 0;
  int tooltipHides = 0;
  int dragEnds = 0;
  std::string status[3];
  std::string title;
  std::vector<std::string> errors;
  std::vector<std::string> repairs;
  struct Cut {
    std::string path;
    int32_t a, b;
  };
  std::vector<Cut> cuts;
  std::vector<std::pair<uint64_t, std::string>> postedErrors;
  // What runRepair does besides recording (e.g. really repair the file).
  std::function<void(const std::string&)> repairAction;

  void refreshPanels() override { ++refreshes; }
  void setStatusText(int part, const std::string& text) override { status[part] = text; }
  void setTitle(const std::string& t) override { title = t; }
  void updateToolbar() override { ++toolbarUpdates; }
  void hideTooltip() override { ++tooltipHides; }
  void endThumbDrag() override { ++dragEnds; }
  void showError(const std::string& text) override { errors.push_back(text); }
  void runRepair(const std::string& path) override {
    repairs.push_back(path);
    if (repairAction) repairAction(path);
  }
  void beginCut(const std::string& path, int32_t a, int32_t b) override {
    cuts.push_back({path, a, b});
  }
  // Runs on the calling (streaming) thread; postedErrors is only for single-threaded fakes.
  std::function<void(uint64_t, const std::string&)> onPostedError;
  void postGraphError(uint64_t serial, const std::string& text) override {
    if (onPostedError) {
      onPostedError(serial, text);
    } else {
      postedErrors.emplace_back(serial, text);
    }
  }
};

class FakeTimer : public TickTimer {
 public:
  bool running = false;
  int interval = 0;
  void start(int ms) override {
    running = true;
    interval = ms;
  }
  void stop() override { running = false; }
};

}  // namespace zentora::testing
