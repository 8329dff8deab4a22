// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/cli/streamed_edit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/file_kind.h"
#include "voxtrelle/audio/replace_file.h"
#include "voxtrelle/audio/temp_file.h"
#include "voxtrelle/audio/wav_file.h"
#include "voxtrelle/audio/wav_layout.h"
#include "voxtrelle/cli/stream_pipeline.h"
#include "voxtrelle/cli/stream_plan.h"

namespace voxtrelle::cli {

struct StreamedEdit::Job {
  std::string output;
  int input = -1;
  WavDataLayout layout;
  StreamPlan plan;

  ~Job() {
    if (input >= 0) ::close(input);
  }
};

StreamedEdit::StreamedEdit(std::unique_ptr<Job> job) : job_(std::move(job)) {}
StreamedEdit::~StreamedEdit() = default;

std::unique_ptr<StreamedEdit> StreamedEdit::prepare(const std::string& input,
                                                    const std::string& output,
                                                    const std::vector<EditRequest>& edits) {
  if (file_kind(input) != FileKind::kWav || file_kind(output) != FileKind::kWav) return nullptr;
  auto job = std::make_unique<Job>();
  job->output = output;
  job->input = ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
  if (job->input < 0) return nullptr;
  struct stat st {};
  if (fstat(job->input, &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  {
    // The same walk a load makes, on the same open file the frames are read from.
    PlainFileStream probe;
    AudioClip header;
    if (!probe.open_read("/proc/self/fd/" + std::to_string(job->input)) ||
        !locate_wav_data(probe, header, job->layout) ||
        !plan_stream(header.format(), job->layout.frames, edits, job->plan).empty()) {
      return nullptr;
    }
  }
  posix_fadvise(job->input, 0, 0, POSIX_FADV_SEQUENTIAL);
  return std::unique_ptr<StreamedEdit>(new StreamedEdit(std::move(job)));
}

StreamOutcome StreamedEdit::run(ProgressSink* progress) {
  // Written beside the file it replaces and renamed over it only when complete (or, in a folder
  // that takes no new file, copied into a writable output), so a failure or an interrupt leaves
  // the output as it was, and an output that is the input (by any spelling or link) is not cut
  // short while it is being read. A write-protected output is refused, not replaced.
  if (!target_is_writable(job_->output)) {
    report_failure(progress);
    return StreamOutcome::kWriteFailed;
  }
  const std::string temporary = sibling_temp_path(job_->output, "wav");
  const int fd = temporary.empty() ? -1 : ::open(temporary.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) {
    if (!temporary.empty()) unlink(temporary.c_str());
    report_failure(progress);
    return StreamOutcome::kWriteFailed;
  }
  StreamResult result = StreamResult::kWriteFailed;
  result = stream_edit(job_->input, job_->layout, job_->plan, fd, progress);
  if (::close(fd) != 0 && result == StreamResult::kDone) result = StreamResult::kWriteFailed;
  if (result == StreamResult::kDone && !replace_file(temporary, job_->output, progress)) {
    result = cancel_requested(progress) ? StreamResult::kCancelled : StreamResult::kWriteFailed;
  }
  if (result != StreamResult::kDone) unlink(temporary.c_str());
  switch (result) {
    case StreamResult::kDone:
      report_complete(progress);
      return StreamOutcome::kDone;
    case StreamResult::kCancelled:
      return StreamOutcome::kInterrupted;
    case StreamResult::kReadFailed:
      report_failure(progress);
      return StreamOutcome::kReadFailed;
    case StreamResult::kWriteFailed:
      break;
  }
  report_failure(progress);
  return StreamOutcome::kWriteFailed;
}

}  // namespace voxtrelle::cli
