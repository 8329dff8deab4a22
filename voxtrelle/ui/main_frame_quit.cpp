// SPDX-License-Identifier: GPL-3.0-or-later
// MainFrame: ending the program without a question (on a termination signal).
#include <gtk/gtk.h>
#include <wx/dialog.h>

#include "voxtrelle/ui/file_job_dialog.h"
#include "voxtrelle/ui/main_frame.h"
#include "voxtrelle/ui/ve_view.h"

namespace voxtrelle {

namespace {

constexpr int kQuitRetryMs = 50;

// Answers every open dialog with Cancel: a running job is cancelled (its thread is joined when
// its dialog returns), wx's own dialogs end, and native message boxes and file choosers get
// the response of their window being closed. Returns whether any was open.
bool CloseDialogs() {
  bool any = false;
  for (wxWindow* window : wxTopLevelWindows) {
    if (auto* job = dynamic_cast<FileJobDialog*>(window); job != nullptr && job->IsShown()) {
      job->Cancel();
      any = true;
    } else if (auto* dialog = dynamic_cast<wxDialog*>(window);
               dialog != nullptr && dialog->IsModal()) {
      dialog->EndModal(wxID_CANCEL);
      any = true;
    }
  }
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    GtkWidget* widget = GTK_WIDGET(item->data);
    if (GTK_IS_DIALOG(widget) && gtk_widget_get_visible(widget) &&
        gtk_window_get_modal(GTK_WINDOW(widget))) {
      gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_DELETE_EVENT);
      any = true;
    }
  }
  g_list_free(windows);
  return any;
}

}  // namespace

void MainFrame::QuitWithoutAsking() {
  const bool dialogs = CloseDialogs();
  if (!document_busy()) {
    // What matters is done at once: no sound, no sample files, no record left behind.
    if (player_.is_open()) player_.Stop();
    edit_view_->DropPeaks();
    document_.reset();
  }
  if (dialogs || document_busy()) {
    // The dialogs' loops unwind first; the window goes once nothing runs inside it.
    if (!quit_timer_) {
      quit_timer_ = std::make_unique<wxTimer>(this);
      Bind(
          wxEVT_TIMER, [this](wxTimerEvent&) { QuitWithoutAsking(); }, quit_timer_->GetId());
    }
    quit_timer_->StartOnce(kQuitRetryMs);
    return;
  }
  Destroy();
  // Called from outside wx's own events (a GLib source), the loop must be told that the
  // window's deletion waits for its idle time.
  wxWakeUpIdle();
}

}  // namespace voxtrelle
