// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/gauge.h>

#include <memory>

#include "voxtrelle/media/job_worker.h"

namespace voxtrelle {

class AudioDocument;

// What a file job dialog ended with.
enum FileJobResult { kJobDone = 1, kJobCancelled = 2, kJobFailed = 3 };

// The modal progress window of one load or save: "Loading..." with a bar and Cancel, or the
// shorter "Saving..." without Cancel (Esc still cancels). The worker starts when the dialog is
// shown and is always joined before Run() returns, so it never outlives the document.
class FileJobDialog : public wxDialog {
 public:
  FileJobDialog(wxWindow* owner, AudioDocument& document, JobMode mode);
  ~FileJobDialog() override;

  // Shows the dialog until the job ends; returns kJobDone, kJobCancelled or kJobFailed.
  int Run();

  wxGauge* Bar() const { return bar_; }
  wxButton* CancelButton() const { return cancel_; }
  // The user's Cancel (button, Esc or closing the window).
  void Cancel();

 private:
  void OnNotice(wxThreadEvent& event);
  void Finish(int result);

  AudioDocument& document_;
  JobMode mode_;
  wxGauge* bar_ = nullptr;
  wxButton* cancel_ = nullptr;
  std::unique_ptr<JobWorker> worker_;
  bool ended_ = false;
};

// Runs a load or save of document behind its progress dialog, owned by owner (normally the
// active window). Returns kJobDone, kJobCancelled or kJobFailed.
int RunFileJobDialog(wxWindow* owner, AudioDocument& document, JobMode mode);

}  // namespace voxtrelle
