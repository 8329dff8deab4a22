// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

#include "voxtrelle/audio/progress.h"

namespace voxtrelle {

// What a load/save job tells the window that shows it. The values are those the progress
// dialog switches on.
enum class JobNotice : uint32_t {
  kNone = 0,
  kPosition = 1,   // the root's position moved; the bar shows it
  kSucceeded = 2,  // the job is done; the dialog ends with 1
  kCancelled = 3,  // the dialog ends with 2
  kFailed = 4,     // the job failed; the dialog ends with 3
};

// Receives a notice with the root's position at that moment. Called on the worker thread (and
// once on the thread that starts the job): a window must hand the notice over to its own
// thread (wxWindow::CallAfter or a queued event) and must not block here.
using JobNotifier = std::function<void(JobNotice notice, uint32_t position)>;

// The root sink of one job: total = the bar's range (its width in pixels, so there is at most
// one notice per pixel of travel). Every position change posts kPosition; a failure posts
// kFailed unless the user cancelled first, in which case nothing more is posted.
class JobProgress final : public ProgressSink {
 public:
  JobProgress(uint32_t total, JobNotifier notify);

  void position_changed() override;
  void on_fail() override;
  // Posts notice with the current position.
  void post(JobNotice notice);

 private:
  JobNotifier notify_;
};

}  // namespace voxtrelle
