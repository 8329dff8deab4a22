// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/file_job_dialog.h"

#include <wx/sizer.h>

#include <algorithm>

#include "voxtrelle/audio/audio_document.h"

namespace voxtrelle {

namespace {

// Notices of the worker, handed from its thread to the dialog's.
wxDEFINE_EVENT(EVT_JOB_NOTICE, wxThreadEvent);

constexpr int kBarId = 1332;

}  // namespace

FileJobDialog::FileJobDialog(wxWindow* owner, AudioDocument& document, JobMode mode)
    : wxDialog(owner, wxID_ANY, mode == JobMode::kLoad ? "Loading..." : "Saving...",
               wxDefaultPosition, wxDefaultSize, wxCAPTION),
      document_(document),
      mode_(mode) {
  // Dialog units of the window: bar 142 x 13 at (11, 11), Cancel 50 x 14 at (57, 32).
  const wxSize barSize = ConvertDialogToPixels(wxSize(142, 13));
  const wxSize margin = ConvertDialogToPixels(wxSize(11, 11));
  bar_ = new wxGauge(this, kBarId, 100, wxDefaultPosition, barSize, wxGA_HORIZONTAL | wxGA_SMOOTH);
  bar_->SetMinSize(wxSize(barSize.x, std::max(barSize.y, bar_->GetBestSize().y)));
  cancel_ = new wxButton(this, wxID_CANCEL, "Cancel");
  cancel_->SetMinSize(
      wxSize(std::max(ConvertDialogToPixels(wxSize(50, 0)).x, cancel_->GetBestSize().x), -1));

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(bar_, wxSizerFlags().Border(wxALL, margin.x));
  top->Add(cancel_, wxSizerFlags().Centre().Border(wxLEFT | wxRIGHT | wxBOTTOM, margin.x));
  if (mode_ == JobMode::kSave) {
    // No Cancel while saving; the margin above the bar repeats below it.
    cancel_->Hide();
    top->Hide(cancel_);
  }
  SetSizerAndFit(top);
  CentreOnParent();

  Bind(EVT_JOB_NOTICE, &FileJobDialog::OnNotice, this);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { Cancel(); }, wxID_CANCEL);
  // Esc cancels in both modes, even with the button hidden.
  Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE) {
      Cancel();
    } else {
      event.Skip();
    }
  });
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Cancel(); });
  // The job starts once the modal loop runs, so its first notices find the dialog shown.
  Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
    event.Skip();
    if (worker_) return;
    // The bar's range is its width in pixels: at most one notice per pixel of travel.
    const int range = std::clamp(bar_->GetClientSize().x, 1, 0xFFFF);
    bar_->SetRange(range);
    bar_->SetValue(0);
    worker_ = std::make_unique<JobWorker>(document_, mode_, static_cast<uint32_t>(bar_->GetRange()),
                                          [this](JobNotice notice, uint32_t position) {
                                            auto* event = new wxThreadEvent(EVT_JOB_NOTICE);
                                            event->SetInt(static_cast<int>(notice));
                                            event->SetExtraLong(static_cast<long>(position));
                                            wxQueueEvent(this, event);
                                          });
    // When no thread can be started nothing arrives; the user can still cancel.
    worker_->start();
  });
}

FileJobDialog::~FileJobDialog() {
  // The worker posts to this window: it must be gone before the window is.
  if (worker_) {
    worker_->request_stop();
    worker_->join();
  }
}

int FileJobDialog::Run() {
  int result = ShowModal();
  if (worker_) {
    worker_->request_stop();
    worker_->join();
    // A cancel that came after the job had already finished changes nothing: the document
    // was loaded or saved, and saying otherwise would leave the window and the file out of
    // step with it.
    if (result == kJobCancelled && worker_->result() == 1) result = kJobDone;
  }
  return result;
}

void FileJobDialog::Cancel() {
  if (worker_ && worker_->running()) worker_->request_stop();
  Finish(kJobCancelled);
}

void FileJobDialog::OnNotice(wxThreadEvent& event) {
  switch (static_cast<JobNotice>(event.GetInt())) {
    case JobNotice::kNone:
      break;
    case JobNotice::kPosition:
      bar_->SetValue(std::clamp<int>(event.GetExtraLong(), 0, bar_->GetRange()));
      break;
    case JobNotice::kSucceeded:
      Finish(kJobDone);
      break;
    case JobNotice::kCancelled:
      Finish(kJobCancelled);
      break;
    case JobNotice::kFailed:
    default:
      Finish(kJobFailed);
      break;
  }
}

void FileJobDialog::Finish(int result) {
  if (ended_ || !IsModal()) return;
  ended_ = true;
  EndModal(result);
}

int RunFileJobDialog(wxWindow* owner, AudioDocument& document, JobMode mode) {
  FileJobDialog dialog(owner, document, mode);
  return dialog.Run();
}

}  // namespace voxtrelle
