// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/cutter_app.h"

#include <filesystem>
#include <utility>

#include "zentora/core/commands.h"
#include "zentora/core/file_util.h"
#include "zentora/core/text_table.h"

namespace zentora {

CutterApp::CutterApp(PlayerBackend& backend, CutterView& view, TickTimer& timer)
    : backend_(backend), view_(view), timer_(timer) {}

CutterApp::~CutterApp() {
  if (player_ != nullptr) player_->setErrorCallback(nullptr);
}

CutterSnapshot CutterApp::snapshot() const {
  return {loaded(), playState_, pointA_, pointB_, onTop_};
}

int32_t CutterApp::currentMs() const {
  return player_ != nullptr ? player_->currentMs() : 0;
}

int32_t CutterApp::durationMs() const {
  return player_ != nullptr ? player_->durationMs() : 0;
}

std::string CutterApp::title() const {
  if (!loaded()) return LoadText(kTextCaption);
  return std::filesystem::path(currentPath_).stem().string() + " - " + LoadText(kTextCaption);
}

void CutterApp::refreshToolbar() {
  toolbarStrip_ = ToolbarStrip(snapshot());
  view_.updateToolbar();
}

// Both variants on one player object; the error text is the last variant's.
int CutterApp::tryBuild(Mp3Player& player, const std::string& path, std::string* errorText) {
  return player.build(path, 1, errorText) || player.build(path, 2, errorText);
}

int CutterApp::open(const std::string& path) {
  close();
  std::string errorText;
  if (!backend_.checkRenderer(&errorText)) {
    view_.showError(errorText);
    return 0;
  }
  std::unique_ptr<Mp3Player> player = backend_.createPlayer();
  if (!tryBuild(*player, path, &errorText)) {
    player.reset();
    // The repair tool rewrites the file and replaces its backup; only now must both be
    // writable, so a file that merely plays keeps the permissions its owner gave it.
    MakeWritable(path + ".bak");
    MakeWritable(path);
    view_.runRepair(path);
    player = backend_.createPlayer();
    if (!tryBuild(*player, path, &errorText)) {
      view_.showError(FormatText(kTextLoadFailed, {errorText}));
      return 0;
    }
  }
  player_ = std::move(player);
  const uint64_t serial = ++playerSerial_;
  CutterView& view = view_;
  player_->setErrorCallback(
      [&view, serial](const std::string& text) { view.postGraphError(serial, text); });
  player_->setVolume(settings_.mute ? kVolumeSilence : settings_.volume);
  playState_ = PlayState::Stopped;
  pointA_ = pointB_ = -1;
  currentPath_ = path;
  view_.refreshPanels();
  view_.setStatusText(0, LoadText(kTextLoaded));
  view_.setStatusText(2, path);
  refreshToolbar();
  view_.setTitle(title());
  playPause();
  return playState_ == PlayState::Playing ? 1 : 0;
}

void CutterApp::close() {
  if (!loaded()) return;
  stop();
  currentPath_.clear();
  player_->setErrorCallback(nullptr);
  player_->tearDown();
  player_.reset();
  playState_ = PlayState::Stopped;
  view_.refreshPanels();
  view_.setStatusText(0, LoadText(kTextNotLoaded));
  view_.setStatusText(2, std::string());
  refreshToolbar();
  view_.setTitle(title());
}

bool CutterApp::command(int commandId) {
  switch (commandId) {
    case kCmdPlayPause:
      playPause();
      return true;
    case kCmdStop:
      stop();
      return true;
    case kCmdJumpForward:
      jumpForward();
      return true;
    case kCmdJumpBack:
      jumpBack();
      return true;
    case kCmdHome:
      seekHome();
      return true;
    case kCmdEnd:
      seekEnd();
      return true;
    case kCmdABKey:
      abKey();
      return true;
    case kCmdCut:
      cutRequest();
      return true;
    case kCmdAPlus:
      aPlus();
      return true;
    case kCmdAMinus:
      aMinus();
      return true;
    case kCmdBPlus:
      bPlus();
      return true;
    case kCmdBMinus:
      bMinus();
      return true;
    default:
      return false;
  }
}

void CutterApp::playPause() {
  if (!loaded()) return;
  view_.hideTooltip();
  if (playState_ == PlayState::Playing) {
    player_->pause();
    timer_.stop();
    playState_ = PlayState::Paused;
    view_.setStatusText(0, LoadText(kTextPaused));
  } else {
    if (playState_ == PlayState::Stopped) player_->seekMs(0);
    std::string errorText;
    if (!player_->run(&errorText)) {
      view_.showError(FormatText(kTextPlayFailed, {errorText}));
      return;
    }
    timer_.start(kTickIntervalMs);
    playState_ = PlayState::Playing;
    view_.setStatusText(0, LoadText(kTextPlaying));
  }
  refreshToolbar();
  view_.refreshPanels();
}

void CutterApp::stop() {
  if (!active()) return;
  view_.hideTooltip();
  player_->stop();
  player_->seekMs(0);
  timer_.stop();
  playState_ = PlayState::Stopped;
  pointA_ = pointB_ = -1;
  refreshToolbar();
  view_.refreshPanels();
  view_.setStatusText(0, LoadText(kTextStopped));
}

void CutterApp::seekTo(int32_t ms) {
  if (!active()) return;
  turnPending_ = false;  // wherever the user went, the next tick judges it afresh
  player_->seekMs(ms);   // clamps to 0..duration
  view_.refreshPanels();
}

void CutterApp::jumpForward() {
  if (active()) seekTo(player_->currentMs() + settings_.jumpSeconds * 1000);
}

void CutterApp::jumpBack() {
  if (active()) seekTo(player_->currentMs() - settings_.jumpSeconds * 1000);
}

void CutterApp::seekHome() {
  seekTo(0);
}

void CutterApp::seekEnd() {
  if (active()) seekTo(player_->durationMs());
}

void CutterApp::abKey() {
  view_.hideTooltip();
  if (!active()) return;
  turnPending_ = false;
  if (pointA_ < 0) {
    pointA_ = player_->currentMs();
  } else if (pointB_ < 0) {
    pointB_ = player_->currentMs();
    if (pointB_ < pointA_) std::swap(pointA_, pointB_);
  } else {
    pointA_ = pointB_ = -1;
  }
  refreshToolbar();
  view_.refreshPanels();
}

void CutterApp::aMinus() {
  if (pointA_ < 0) return;
  pointA_ -= settings_.fineTuneMs;
  if (pointA_ < 0) pointA_ = 0;
  view_.refreshPanels();
}

void CutterApp::aPlus() {
  if (pointA_ < 0) return;
  pointA_ += settings_.fineTuneMs;
  if (pointA_ > durationMs()) pointA_ = durationMs();
  if (pointB_ >= 0 && pointA_ > pointB_) pointA_ = pointB_;
  view_.refreshPanels();
}

void CutterApp::bMinus() {
  if (pointB_ < 0) return;
  pointB_ -= settings_.fineTuneMs;
  if (pointB_ < pointA_) pointB_ = pointA_;
  view_.refreshPanels();
}

void CutterApp::bPlus() {
  if (pointB_ < 0) return;
  pointB_ += settings_.fineTuneMs;
  if (pointB_ > durationMs()) pointB_ = durationMs();
  view_.refreshPanels();
}

void CutterApp::onTick() {
  if (!loaded() || playState_ != PlayState::Playing) return;
  view_.refreshPanels();
  if (pointB_ >= 0) {
    // The end of the stream inside a repeat ends the pass: B may lie at or past the point
    // where the decoded stream really ends. After a seek back to A, a sound device with
    // latency still reports A (or earlier) for a while; that is the pass starting, not a
    // position outside the stretch.
    const int32_t p = player_->currentMs();
    if (p >= pointB_ || player_->atEnd() || (p <= pointA_ && !turnPending_)) {
      player_->seekMs(pointA_);
      turnPending_ = true;
    } else if (p > pointA_) {
      turnPending_ = false;
    }
  } else if (player_->atEnd()) {
    view_.endThumbDrag();
    stop();
  }
}

void CutterApp::cutRequest() {
  if (pointA_ < 0 || pointB_ < 0) return;
  if (playState_ == PlayState::Playing) playPause();
  if (pointB_ - pointA_ < kMinCutMs) {
    view_.showError(FormatText(kTextMinGap, {std::to_string(kMinCutMs)}));
    return;
  }
  view_.beginCut(currentPath_, pointA_, pointB_);
}

void CutterApp::onGraphEvent(uint64_t serial, const std::string& text) {
  if (!loaded() || serial != playerSerial_ || playState_ != PlayState::Playing) return;
  stop();
  view_.showError(FormatText(kTextPlaybackError, {text}));
}

void CutterApp::onVolumeSlider(int position) {
  settings_.volume = SliderPositionToVolume(position);
  if (loaded() && !settings_.mute) player_->setVolume(settings_.volume);
}

void CutterApp::setMute(bool mute) {
  settings_.mute = mute ? 1 : 0;
  if (loaded()) player_->setVolume(mute ? kVolumeSilence : settings_.volume);
}

}  // namespace zentora
