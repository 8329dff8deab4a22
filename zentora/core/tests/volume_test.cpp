// SPDX-License-Identifier: GPL-3.0-or-later
// The volume setting reaches the sound: the renderer's output is written to a file of float
// samples, and the gain is read back from the samples.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <ostream>
#include <thread>
#include <vector>

#include "zentora/core/cutter_app.h"
#include "zentora/core/gst_mp3_player.h"
#include "zentora/core/tests/fakes.h"
#include "zentora/core/tests/test_support.h"

namespace zentora {
namespace {

using namespace std::chrono_literals;

// The largest sample magnitude in a file of 32-bit floats, from byte `from` on.
double Peak(const std::string& path, size_t from = 0) {
  const std::string bytes = testing::ReadFile(path);
  double peak = 0;
  for (size_t i = from - from % 4; i + 4 <= bytes.size(); i += 4) {
    float sample;
    std::memcpy(&sample, bytes.data() + i, 4);
    peak = std::max(peak, static_cast<double>(std::fabs(sample)));
  }
  return peak;
}

class VolumeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<testing::TempDir>();
    ASSERT_TRUE(testing::WriteMp3(dir_->file("tone.mp3"), {.seconds = 2}));
  }
  static void TearDownTestSuite() { dir_.reset(); }
  void TearDown() override { testing::UseFakeAudioSink(); }

  // Plays the tone into `out` (as fast as it decodes, or in real time) with the settings
  // that `prepare` makes, `whilePlaying` then runs once playback started.
  void playInto(const std::string& out, bool realTime,
                const std::function<void(CutterApp&)>& prepare,
                const std::function<void(CutterApp&)>& whilePlaying = nullptr) {
    // Appended through a descriptor of our own: the seeks of playback flush the sink, and a
    // file sink would truncate its file at each flush.
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
    ASSERT_GE(fd, 0);
    const std::string sink =
        "capsfilter caps=audio/x-raw,format=F32LE ! fdsink fd=" + std::to_string(fd) +
        " sync=" + (realTime ? "true" : "false");
    ::setenv("ZENTORA_AUDIO_SINK", sink.c_str(), 1);
    testing::FakeView view;
    testing::FakeTimer timer;
    CutterApp app(backend, view, timer);
    prepare(app);
    ASSERT_EQ(app.open(dir_->file("tone.mp3")), 1) << (view.errors.empty() ? "" : view.errors[0]);
    if (whilePlaying) whilePlaying(app);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (app.playState() == PlayState::Playing && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(25ms);
      app.onTick();  // stops at the end
    }
    app.close();
    ::close(fd);
  }

  // The tone's peak at full volume, the reference for every gain.
  double fullPeak() {
    const std::string out = dir_->file("full.raw");
    playInto(out, false, [](CutterApp& app) { app.onVolumeSlider(100); });
    return Peak(out);
  }

  static std::unique_ptr<testing::TempDir> dir_;
  GstPlayerBackend backend;
};
std::unique_ptr<testing::TempDir> VolumeTest::dir_;

struct GainCase {
  const char* name;
  std::function<void(CutterApp&)> prepare;
  double factor;  // the linear gain the sound must show
};
void PrintTo(const GainCase& c, std::ostream* os) {
  *os << c.name;
}

class VolumeGain : public VolumeTest, public ::testing::WithParamInterface<GainCase> {};

TEST_P(VolumeGain, TheSoundCarriesTheGain) {
  const double full = fullPeak();
  ASSERT_GT(full, 0.3);
  const std::string out = dir_->file("gain.raw");
  playInto(out, false, GetParam().prepare);
  const double factor = Peak(out) / full;
  EXPECT_NEAR(factor, GetParam().factor, GetParam().factor * 0.02 + 1e-6);
}

// hundredths of a dB v give the amplitude factor 10^(v / 2000).
INSTANTIATE_TEST_SUITE_P(
    Settings, VolumeGain,
    ::testing::Values(
        GainCase{"default", [](CutterApp&) {}, 0.562341},                                // -500
        GainCase{"slider79", [](CutterApp& app) { app.onVolumeSlider(79); }, 0.555265},  // -511
        GainCase{"slider50", [](CutterApp& app) { app.onVolumeSlider(50); }, 0.176604},  // -1505
        GainCase{"slider10", [](CutterApp& app) { app.onVolumeSlider(10); }, 0.003162},  // -5000
        GainCase{"sliderMinimum", [](CutterApp& app) { app.onVolumeSlider(1); }, 0.0},
        GainCase{"mute", [](CutterApp& app) { app.setMute(true); }, 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

// Moving the slider while the file plays changes what is heard from then on.
TEST_F(VolumeTest, SliderWhilePlayingReachesTheSound) {
  const double full = fullPeak();
  const std::string out = dir_->file("moved.raw");
  playInto(
      out, true, [](CutterApp& app) { app.onVolumeSlider(100); },
      [](CutterApp& app) {
        std::this_thread::sleep_for(300ms);
        app.onVolumeSlider(50);
      });
  const auto bytes = testing::ReadFile(out).size();
  ASSERT_GT(bytes, 100000u);
  EXPECT_NEAR(Peak(out) / full, 1.0, 0.02) << "full volume at first";
  EXPECT_NEAR(Peak(out, bytes * 3 / 4) / full, 0.176604, 0.0036) << "the last quarter";
}

}  // namespace
}  // namespace zentora
