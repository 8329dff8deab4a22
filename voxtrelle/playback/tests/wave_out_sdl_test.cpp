// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/playback/wave_out_sdl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/playback/tests/test_support.h"
#include "voxtrelle/playback/wave_player.h"

namespace voxtrelle {
namespace {

using testing::SampleAt;
using testing::ScratchFile;
using testing::WriteWav;

// Notifications arrive from SDL's threads; this stands in for the interface thread's queue.
class ThreadQueue {
 public:
  UiPoster poster() {
    return [this](std::function<void()> call) {
      std::lock_guard<std::mutex> lock(mutex_);
      calls_.push_back(std::move(call));
      ready_.notify_one();
    };
  }
  // Runs posted calls until done() holds or the time is up.
  template <typename Done>
  bool RunUntil(Done done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      std::unique_lock<std::mutex> lock(mutex_);
      if (!ready_.wait_until(lock, deadline, [this] { return !calls_.empty(); })) return false;
      auto call = std::move(calls_.front());
      calls_.pop_front();
      lock.unlock();
      call();
    }
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> calls_;
};

class NullHost : public PlayerHost {
 public:
  int WaveformWidth() override { return 100; }
  void RepaintWaveform() override {}
  int ArmTimer(uint32_t) override { return 1; }
  void KillTimer() override {}
};

// Plays a short stereo clip through SDL's "disk" driver, which writes the device's samples to a
// file, and compares that file with the clip.
TEST(WaveOutSdlTest, DiskDriverReceivesExactlyTheClipsSamples) {
  ScratchFile out(".raw");
  ScratchFile wav(".wav");
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", out.path().c_str(), 1);
  ::setenv("SDL_DISKAUDIODELAY", "0", 1);
  constexpr int32_t kFrames = 6000;
  WriteWav(wav.path(), 2, kFrames, 22050);
  AudioClip clip;
  ASSERT_EQ(1, clip.load_wav(wav.path(), nullptr));

  ThreadQueue queue;
  NullHost host;
  {
    WaveOutSdl device(queue.poster());
    WavePlayer player;
    player.set_device(&device);
    player.set_host(&host);
    player.set_clip_source([&clip]() -> const AudioClip* { return &clip; });
    ASSERT_EQ(1, player.Start(-1));
    ASSERT_TRUE(queue.RunUntil([&] { return player.is_open(); }, std::chrono::seconds(10)));
    ASSERT_TRUE(queue.RunUntil([&] { return !player.device_open(); }, std::chrono::seconds(20)));
    EXPECT_EQ(0, player.Position());
  }

  std::ifstream file(out.path(), std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<int16_t> written(bytes.size() / 2);
  std::copy_n(bytes.data(), written.size() * 2, reinterpret_cast<char*>(written.data()));
  // Silence may come before the clip (the device runs before the first buffer is queued) and
  // after it (until it closes); the clip itself must arrive whole and unchanged.
  const auto first = std::find_if(written.begin(), written.end(), [](int16_t v) { return v != 0; });
  ASSERT_GE(std::distance(first, written.end()), 2 * kFrames);
  for (int32_t f = 0; f < kFrames; ++f) {
    for (int c = 0; c < 2; ++c) {
      ASSERT_EQ(SampleAt(f, c), first[2 * f + c]) << "frame " << f << " channel " << c;
    }
  }
  EXPECT_TRUE(std::all_of(first + 2 * kFrames, written.end(), [](int16_t v) { return v == 0; }));
}

TEST(WaveOutSdlTest, CloseIsRefusedWhileBuffersAreQueued) {
  ScratchFile out(".raw");
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", out.path().c_str(), 1);
  ThreadQueue queue;
  WaveOutSdl device(queue.poster());
  struct Listener : WaveOutListener {
    void OnDeviceOpen() override { opened = true; }
    void OnBufferDone(WaveBuffer*) override { ++done; }
    void OnDeviceClose() override { closed = true; }
    bool opened = false;
    int done = 0;
    bool closed = false;
  } listener;
  ASSERT_EQ(1, device.Open(PcmFormat{1, 8000}, &listener));
  ASSERT_EQ(1, device.Pause());
  std::vector<int16_t> samples(8000, 1000);
  WaveBuffer buffer{samples.data(), 16000};
  ASSERT_EQ(1, device.Write(&buffer));
  EXPECT_EQ(0, device.Close());
  ASSERT_EQ(1, device.Reset());
  uint32_t position = 99;
  ASSERT_EQ(1, device.Position(&position));
  EXPECT_EQ(0u, position);
  EXPECT_EQ(1, device.Close());
  ASSERT_TRUE(queue.RunUntil([&] { return listener.closed; }, std::chrono::seconds(10)));
  EXPECT_TRUE(listener.opened);
  EXPECT_EQ(1, listener.done);  // returned by the reset, before the close
}

// The position is what has sounded, not what SDL has been handed: SDL takes a whole chunk (2048
// frames, 256 ms at 8 kHz) the moment the device starts, long before it has played it. The
// disk driver paces itself like a sound card, a chunk's duration per chunk.
TEST(WaveOutSdlTest, PositionNeverRunsAheadOfTheTimeSinceTheStart) {
  ScratchFile out(".raw");
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", out.path().c_str(), 1);
  ::unsetenv("SDL_DISKAUDIODELAY");
  ThreadQueue queue;
  WaveOutSdl device(queue.poster());
  struct Listener : WaveOutListener {
    void OnDeviceOpen() override {}
    void OnBufferDone(WaveBuffer*) override { ++done; }
    void OnDeviceClose() override {}
    std::atomic<int> done{0};
  } listener;
  constexpr uint32_t kRate = 8000;
  constexpr uint32_t kFrames = 8000;  // one second
  std::vector<int16_t> samples(kFrames, 1000);
  WaveBuffer buffer{samples.data(), 2 * kFrames};
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(1, device.Open(PcmFormat{1, kRate}, &listener));
  ASSERT_EQ(1, device.Write(&buffer));
  const auto elapsed_frames = [&] {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - started)
                        .count();
    return static_cast<uint32_t>(ms * kRate / 1000);
  };
  uint32_t position = 0;
  uint32_t last = 0;
  // Sample the position while the second plays; it can never be ahead of the clock.
  for (int i = 0; i < 30; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    ASSERT_EQ(1, device.Position(&position));
    const uint32_t limit = elapsed_frames();
    EXPECT_LE(position, limit) << "after " << limit << " frames of time";
    EXPECT_GE(position, last);
    last = position;
  }
  // It does reach the end once everything has sounded.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (position < kFrames && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(1, device.Position(&position));
  }
  EXPECT_EQ(position, kFrames);
  EXPECT_EQ(1, device.Reset());
}

}  // namespace
}  // namespace voxtrelle
