// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/job_worker.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <system_error>
#include <utility>

#include "voxtrelle/audio/audio_document.h"

namespace voxtrelle {
namespace {

bool exists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

JobWorker::JobWorker(AudioDocument& document, JobMode mode, uint32_t total, JobNotifier notify)
    : document_(document), mode_(mode), root_(total, std::move(notify)) {}

JobWorker::~JobWorker() {
  request_stop();
  join();
}

bool JobWorker::start() {
  if (thread_.joinable()) return false;
  root_.post(JobNotice::kPosition);
  // Set before the thread exists, so a stop requested right after start() is not lost.
  running_.store(1);
  try {
    thread_ = std::thread(&JobWorker::run, this);
  } catch (const std::system_error&) {
    running_.store(0);
    return false;
  }
  return true;
}

bool JobWorker::request_stop() {
  if (!thread_.joinable()) return false;
  if (running()) root_.request_cancel();
  return true;
}

void JobWorker::join() {
  if (thread_.joinable()) thread_.join();
}

void JobWorker::run() {
  const int ok = mode_ == JobMode::kLoad ? load() : save();
  result_.store(ok);
  running_.store(0);
  if (ok != 0) {
    root_.post(JobNotice::kSucceeded);
  } else if (root_.has_failed() == 0) {
    root_.set_failed();
  }
}

int JobWorker::load() {
  if (document_.load(&root_) != 0) return 1;
  document_.reset();
  return 0;
}

int JobWorker::save() {
  // The document saves through a new file that replaces the target only when complete, so a
  // failure can only have left a file that was not there before; a file the user had is
  // never removed here.
  const std::string target = document_.saved_path();
  const bool existed = exists(target);
  if (document_.save(&root_) != 0) return 1;
  if (!existed && exists(target)) ::unlink(target.c_str());
  return 0;
}

}  // namespace voxtrelle
