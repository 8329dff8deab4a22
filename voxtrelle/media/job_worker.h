// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "voxtrelle/media/job_progress.h"

namespace voxtrelle {

class AudioDocument;

enum class JobMode : int { kSave = 0, kLoad = 1 };

// Runs one load or save of a document on a worker thread; the progress dialog (or any other
// caller) owns it for one run. Threads: the owner creates it, calls start(), request_stop()
// and join() on its own thread; the worker only calls the document and posts notices through
// the root. While the job runs the owner must not touch the document.
//
// Outcome, as notices: kSucceeded when the body succeeded; kFailed when it failed, unless the
// owner cancelled it (then nothing is posted: the owner already knows).
// Load: the document loads its loaded_path(); a failed or cancelled load resets the document
// (both holders and both paths emptied), so the owner keeps the path for its message.
// Save: the document saves to its saved_path(); a failed save leaves no new file behind and
// an existing file at that path untouched.
class JobWorker {
 public:
  // total: the range of the root sink (the progress bar's width in pixels).
  JobWorker(AudioDocument& document, JobMode mode, uint32_t total, JobNotifier notify);
  // Cancels a running job and waits for the thread.
  ~JobWorker();
  JobWorker(const JobWorker&) = delete;
  JobWorker& operator=(const JobWorker&) = delete;

  // Posts kPosition with position 0, then starts the thread. False when no thread could be
  // started (nothing more is posted then). Call once.
  bool start();
  // Cancels the root when the body is still running. Returns whether a thread exists.
  bool request_stop();
  // Waits for the thread to return; then result() is final.
  void join();

  // True while the body runs.
  bool running() const { return running_.load() != 0; }
  // 1 after a successful body, 0 otherwise (also before the end).
  int result() const { return result_.load(); }
  JobMode mode() const { return mode_; }
  JobProgress& progress() { return root_; }

 private:
  void run();
  int load();
  int save();

  AudioDocument& document_;
  const JobMode mode_;
  JobProgress root_;
  std::thread thread_;
  std::atomic<uint32_t> running_{0};
  std::atomic<int> result_{0};
};

}  // namespace voxtrelle
