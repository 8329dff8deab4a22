// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/quit_signals.h"

#include <glib-unix.h>
#include <gtk/gtk.h>
#include <wx/dialog.h>
#include <wx/timer.h>

#include <csignal>

#include "zentora/ui/main_frame.h"

namespace zentora {

namespace {

constexpr int kRetryMs = 50;

// Answers every open modal dialog with Cancel (wx's own and GTK's native message boxes and
// file choosers). Returns whether any was open.
bool CloseDialogs() {
  bool any = false;
  for (wxWindow* window : wxTopLevelWindows) {
    if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog != nullptr && dialog->IsModal()) {
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

QuitSignals::QuitSignals(MainFrame* frame) : frame_(frame) {
  for (const int signal_number : {SIGTERM, SIGHUP, SIGINT}) {
    sources_.push_back(g_unix_signal_add(signal_number, &QuitSignals::OnSignal, this));
  }
}

QuitSignals::~QuitSignals() {
  for (const unsigned source : sources_) g_source_remove(source);
}

int QuitSignals::OnSignal(void* self) {
  // Runs as a wx event, so that what it destroys is reaped at the loop's next idle time.
  auto* signals = static_cast<QuitSignals*>(self);
  if (MainFrame* frame = signals->frame_.get()) frame->CallAfter([signals] { signals->Quit(); });
  return G_SOURCE_CONTINUE;
}

void QuitSignals::Quit() {
  MainFrame* frame = frame_.get();
  if (frame == nullptr) return;
  if (CloseDialogs()) {
    // The dialogs' loops unwind first; the window goes once nothing runs inside it.
    if (!retry_) {
      retry_ = std::make_unique<wxTimer>();
      retry_->Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Quit(); });
    }
    retry_->StartOnce(kRetryMs);
    return;
  }
  frame->Exit();
  wxWakeUpIdle();
}

}  // namespace zentora
