// SPDX-License-Identifier: GPL-3.0-or-later
// `edit` of a PCM WAV file into a WAV file without the editor's float store: the chain runs as
// streaming stages from the input to a new file beside the output, which replaces the output
// only when complete. Jobs it does not take (a WMA side, a file a load would not read whole,
// a chain the document path refuses or would fail) are left to the document path, which
// reports them as it always has.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "voxtrelle/audio/progress.h"
#include "voxtrelle/cli/command_line.h"

namespace voxtrelle::cli {

enum class StreamOutcome { kDone, kInterrupted, kReadFailed, kWriteFailed };

class StreamedEdit {
 public:
  // A prepared job when the chain can be streamed from input to output, else null. Nothing is
  // written yet.
  static std::unique_ptr<StreamedEdit> prepare(const std::string& input, const std::string& output,
                                               const std::vector<EditRequest>& edits);
  ~StreamedEdit();
  StreamedEdit(const StreamedEdit&) = delete;
  StreamedEdit& operator=(const StreamedEdit&) = delete;

  // Runs the job. Anything but kDone leaves the output as it was and no file behind.
  StreamOutcome run(ProgressSink* progress);

 private:
  struct Job;
  explicit StreamedEdit(std::unique_ptr<Job> job);
  std::unique_ptr<Job> job_;
};

}  // namespace voxtrelle::cli
