// SPDX-License-Identifier: GPL-3.0-or-later
// The cutter's speed figures: opening a 60-minute MP3 until it plays, and how far the A-B
// repeat runs past B at the 25 ms tick before it seeks back to A.
#include <gst/gst.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "zentora/core/cutter_app.h"
#include "zentora/core/gst_mp3_player.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using zentora::CutterApp;
using zentora::Mp3Player;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Encodes minutes of a sine tone as 128 kbit/s CBR (kept between runs, it takes a while).
std::string SixtyMinuteFile() {
  const char* tmp = std::getenv("TMPDIR");
  const std::string path =
      std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/zentora-bench-60min.mp3";
  if (std::filesystem::exists(path) && std::filesystem::file_size(path) > 50'000'000) return path;
  std::printf("encoding a 60-minute MP3 into %s ...\n", path.c_str());
  const std::string description =
      "audiotestsrc wave=sine num-buffers=36000 samplesperbuffer=4410 ! "
      "audio/x-raw,rate=44100,channels=2 ! lamemp3enc target=bitrate cbr=true bitrate=128 ! "
      "filesink location=\"" +
      path + "\"";
  GstElement* pipeline = gst_parse_launch(description.c_str(), nullptr);
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  GstMessage* msg = gst_bus_timed_pop_filtered(
      bus, GST_CLOCK_TIME_NONE, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  gst_message_unref(msg);
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);
  return path;
}

class QuietView : public zentora::CutterView {
 public:
  void refreshPanels() override {}
  void setStatusText(int, const std::string&) override {}
  void setTitle(const std::string&) override {}
  void updateToolbar() override {}
  void hideTooltip() override {}
  void endThumbDrag() override {}
  void showError(const std::string& text) override { std::printf("error: %s\n", text.c_str()); }
  void runRepair(const std::string&) override {}
  void beginCut(const std::string&, int32_t, int32_t) override {}
  void postGraphError(uint64_t, const std::string&) override {}
};

class NoTimer : public zentora::TickTimer {
 public:
  void start(int) override {}
  void stop() override {}
};

// Notes the position at each seek back to A: that is where the repeat turned around.
class SeekRecorder : public Mp3Player {
 public:
  SeekRecorder(std::unique_ptr<Mp3Player> inner, std::vector<int32_t>& turns, int32_t& pointA)
      : inner_(std::move(inner)), turns_(turns), pointA_(pointA) {}
  int build(const std::string& p, int v, std::string* e) override { return inner_->build(p, v, e); }
  void tearDown() override { inner_->tearDown(); }
  bool isBuilt() const override { return inner_->isBuilt(); }
  int run(std::string* e) override { return inner_->run(e); }
  void pause() override { inner_->pause(); }
  void stop() override { inner_->stop(); }
  int32_t currentMs() override { return inner_->currentMs(); }
  int32_t durationMs() override { return inner_->durationMs(); }
  bool atEnd() override { return inner_->atEnd(); }
  void seekMs(int32_t ms) override {
    if (pointA_ >= 0 && ms == pointA_) turns_.push_back(inner_->currentMs());
    inner_->seekMs(ms);
  }
  void setVolume(int32_t v) override { inner_->setVolume(v); }
  void setErrorCallback(ErrorCallback cb) override { inner_->setErrorCallback(std::move(cb)); }

 private:
  std::unique_ptr<Mp3Player> inner_;
  std::vector<int32_t>& turns_;
  int32_t& pointA_;
};

class RecordingBackend : public zentora::GstPlayerBackend {
 public:
  std::vector<int32_t> turns;
  int32_t pointA = -1;
  std::unique_ptr<Mp3Player> createPlayer() override {
    return std::make_unique<SeekRecorder>(GstPlayerBackend::createPlayer(), turns, pointA);
  }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// A at 30:00, B 1.5 s later, ticks every 25 ms as the window's timer would deliver them;
// reports how far past B the position was at each seek back to A.
void MeasureOvershoot(CutterApp& app, RecordingBackend& backend, const std::string& file,
                      const std::string& sink) {
  app.close();
  if (!app.open(file)) return;
  app.playPause();  // paused while the points are set
  app.seekTo(30 * 60 * 1000);
  app.abKey();
  app.seekTo(30 * 60 * 1000 + 1500);
  app.abKey();
  backend.pointA = app.pointA();
  const int32_t pointB = app.pointB();
  app.seekTo(app.pointA() + 50);
  app.playPause();
  backend.turns.clear();
  const auto start = Clock::now();
  auto next = start;
  while (backend.turns.size() < 12 && Clock::now() - start < 60s) {
    next += 25ms;
    std::this_thread::sleep_until(next);
    app.onTick();
  }
  std::vector<double> overshoot;
  size_t early = 0;  // seeks back to A made before B: a pass cut short
  for (int32_t p : backend.turns) {
    if (p >= pointB) {
      overshoot.push_back(p - pointB);
    } else {
      ++early;
    }
  }
  if (overshoot.empty()) {
    std::printf("A-B repeat with %s: no pass reached B (%zu early seeks)\n", sink.c_str(), early);
    return;
  }
  double sum = 0;
  for (double o : overshoot) sum += o;
  std::printf(
      "A-B repeat overshoot past B with %s over %zu loops: mean %.1f ms, max %.1f ms, "
      "%zu seeks before B  [target < 40 ms]\n",
      sink.c_str(), overshoot.size(), sum / static_cast<double>(overshoot.size()),
      *std::max_element(overshoot.begin(), overshoot.end()), early);
  app.close();
}

}  // namespace

int main() {
  gst_init(nullptr, nullptr);
  ::setenv("ZENTORA_AUDIO_SINK", "fakesink sync=true", 0);
  std::printf("renderer: %s\n", zentora::AudioSinkDescription().c_str());
  const std::string file = SixtyMinuteFile();

  RecordingBackend backend;
  QuietView view;
  NoTimer timer;
  CutterApp app(backend, view, timer);

  // 1. Opening until it plays (open() returns with playback started), and until the
  //    position has visibly moved.
  std::vector<double> toPlaying, toMoving;
  for (int run = 0; run < 7; ++run) {
    const auto start = Clock::now();
    if (!app.open(file)) return 1;
    toPlaying.push_back(Ms(Clock::now() - start));
    while (app.currentMs() <= 0 && Clock::now() - start < 5s) std::this_thread::sleep_for(1ms);
    toMoving.push_back(Ms(Clock::now() - start));
    app.close();
  }
  std::printf("duration of the file: %d ms\n", [&] {
    app.open(file);
    return app.durationMs();
  }());
  std::printf(
      "open 60-min MP3 until playing: median %.1f ms (max %.1f); until position moves: "
      "median %.1f ms  [target < 300 ms]\n",
      Median(toPlaying), *std::max_element(toPlaying.begin(), toPlaying.end()), Median(toMoving));

  // 2. A-B repeat overshoot, with the renderer above and with sinks that have latency as a
  //    sound device has.
  MeasureOvershoot(app, backend, file, zentora::AudioSinkDescription());
  for (const char* sink : {"fakesink sync=true render-delay=150000000",
                           "queue max-size-time=300000000 ! fakesink sync=true "
                           "render-delay=100000000"}) {
    ::setenv("ZENTORA_AUDIO_SINK", sink, 1);
    MeasureOvershoot(app, backend, file, sink);
  }
  app.close();
  return 0;
}
