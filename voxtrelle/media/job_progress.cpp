// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/job_progress.h"

#include <utility>

namespace voxtrelle {

JobProgress::JobProgress(uint32_t total, JobNotifier notify)
    : ProgressSink(total), notify_(std::move(notify)) {}

void JobProgress::position_changed() {
  post(JobNotice::kPosition);
}

void JobProgress::on_fail() {
  if (is_cancel_requested() == 0) post(JobNotice::kFailed);
}

void JobProgress::post(JobNotice notice) {
  if (notify_) notify_(notice, position());
}

}  // namespace voxtrelle
