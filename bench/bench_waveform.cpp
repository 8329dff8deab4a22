// SPDX-License-Identifier: GPL-3.0-or-later
// Times the editor's waveform on a 60-minute 44.1 kHz 16-bit stereo WAV file: the peaks for a
// 584-pixel waveform (the width at the window's first size), the first paint after a load
// (peaks plus the cached picture), and a cursor repaint, which only copies the picture.
// The window part needs a display (run under xvfb-run); without one it is skipped.
#include <unistd.h>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "voxtrelle/audio/audio_document.h"
#include "voxtrelle/playback/wave_out_test.h"
#include "voxtrelle/ui/main_frame.h"
#include "voxtrelle/ui/ve_view.h"
#include "voxtrelle/ui/ve_waveform.h"

namespace {

using bench::Clock;

constexpr uint32_t kRate = 44100;
constexpr int kColumns = 584;

// A stereo PCM file of frames frames: two sines of slowly changing loudness.
bool WriteSource(const std::string& path, uint32_t frames) {
  return bench::write_stereo_wav(
      path, kRate, frames, [](uint32_t first, uint32_t n, int16_t* block) {
        for (uint32_t k = 0; k < n; ++k) {
          const double t = static_cast<double>(first + k) / kRate;
          const double level = 0.5 + 0.5 * std::sin(t * 0.05);
          block[2 * k] = static_cast<int16_t>(20000.0 * level * std::sin(t * 2764.6));
          block[2 * k + 1] = static_cast<int16_t>(-12000.0 * std::sin(t * 1382.3));
        }
      });
}

void TimePeaks(voxtrelle::AudioDocument& document) {
  double best = 1e300;
  for (int run = 0; run < 3; ++run) {
    voxtrelle::PeakLists lists;
    const auto start = Clock::now();
    if (!document.peaks(lists, kColumns)) {
      std::printf("peaks failed\n");
      return;
    }
    const double ms = bench::ms_since(start);
    std::printf("peaks, %d columns, run %d: %.1f ms\n", kColumns, run + 1, ms);
    best = std::min(best, ms);
  }
  std::printf("peaks, %d columns, best: %.1f ms\n", kColumns, best);
  // Dragging the window's edge: every step asks for a width not seen before.
  std::vector<double> times;
  for (int width = 600; width <= 2600; width += 97) {
    voxtrelle::PeakLists lists;
    const auto start = Clock::now();
    if (!document.peaks(lists, width)) {
      std::printf("peaks for %d columns failed\n", width);
      return;
    }
    times.push_back(bench::ms_since(start));
  }
  std::printf("peaks for a new width (%zu widths, 600..2600): median %.2f ms, slowest %.2f ms\n",
              times.size(), bench::median(times), *std::max_element(times.begin(), times.end()));
  const voxtrelle::SampleStore& store = document.current_clip().store();
  size_t summary = 0;
  for (int c = 0; c < store.channels(); ++c) summary += store.channel(c).file()->summary_bytes();
  std::printf("peak summary: %.2f MiB for %d channel(s) of %d frames\n",
              static_cast<double>(summary) / (1 << 20), store.channels(), store.frames());
}

void TimeFirstPaint(const std::string& path) {
  int argc = 1;
  char name[] = "bench_waveform";
  char* argv[] = {name, nullptr};
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::printf("first paint: skipped (no display; run under xvfb-run)\n");
    return;
  }
  {
    auto* frame = new voxtrelle::MainFrame(
        std::make_unique<voxtrelle::WaveOutTest>([](std::function<void()>) {}));
    frame->Show();
    wxTheApp->ProcessPendingEvents();
    wxYield();
    const auto load = Clock::now();
    if (!frame->document().load(path, nullptr)) {
      std::printf("load failed\n");
    } else {
      std::printf("load of the WAV file: %.0f ms\n", bench::ms_since(load));
      frame->ShowEditView(true);
      voxtrelle::VeWaveform* waveform = frame->edit_view()->waveform();
      const wxSize size = waveform->GetClientSize();
      wxBitmap bitmap(size.x, size.y, 24);
      const auto paint = Clock::now();
      frame->edit_view()->PrepareNow();
      {
        wxMemoryDC dc(bitmap);
        waveform->Render(dc);
      }
      std::printf("first paint after the load (%dx%d: peaks, picture, copy): %.1f ms\n", size.x,
                  size.y, bench::ms_since(paint));
      const int requests = frame->peak_requests();
      constexpr int kRepaints = 200;
      frame->player().SetSelection(0, frame->player().Length() / 3);
      const auto cursor = Clock::now();
      for (int i = 0; i < kRepaints; ++i) {
        frame->player().Seek(frame->player().Length() / kRepaints * i);
        wxMemoryDC dc(bitmap);
        waveform->Render(dc);
      }
      std::printf("cursor repaint with a selection: %.3f ms each (%d peak requests during %d)\n",
                  bench::ms_since(cursor) / kRepaints, frame->peak_requests() - requests,
                  kRepaints);
      frame->document().reset();
    }
    frame->Destroy();
    wxTheApp->ProcessPendingEvents();
  }
  wxEntryCleanup();
}

}  // namespace

int main(int argc, char** argv) {
  const uint32_t minutes = argc > 1 ? static_cast<uint32_t>(std::atoi(argv[1])) : 60;
  const uint32_t frames = kRate * 60 * minutes;
  const char* tmp = std::getenv("TMPDIR");
  const std::string path = std::string(tmp != nullptr ? tmp : "/tmp") + "/bench-waveform-" +
                           std::to_string(getpid()) + ".wav";
  std::printf("bench_waveform: %u-minute stereo 44.1 kHz 16-bit WAV\n", minutes);
  if (!WriteSource(path, frames)) {
    std::printf("cannot write %s\n", path.c_str());
    unlink(path.c_str());
    return 1;
  }
  {
    voxtrelle::AudioDocument document;
    const auto load = Clock::now();
    if (document.load(path, nullptr)) {
      std::printf("load: %.0f ms\n", bench::ms_since(load));
      TimePeaks(document);
    } else {
      std::printf("load failed\n");
    }
  }
  TimeFirstPaint(path);
  unlink(path.c_str());
  return 0;
}
