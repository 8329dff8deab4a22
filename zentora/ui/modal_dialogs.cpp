// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/modal_dialogs.h"

#include <wx/dialog.h>

#include <algorithm>
#include <utility>

namespace zentora {

ModalDialogs::ModalDialogs(wxEvtHandler* owner) : owner_(owner) {
  Register();
}

int ModalDialogs::Enter(wxDialog* dialog) {
  if (ending_) return wxID_CANCEL;
  open_.push_back(dialog);
  return wxID_NONE;
}

void ModalDialogs::Exit(wxDialog* dialog) {
  open_.erase(std::remove(open_.begin(), open_.end(), dialog), open_.end());
  // The next step runs from the loop that is now innermost, after this ShowModal returned.
  if (ending_) owner_->CallAfter([this] { EndInnermost(); });
}

void ModalDialogs::EndAllThen(std::function<void()> done) {
  done_ = std::move(done);
  ending_ = true;
  EndInnermost();
}

void ModalDialogs::EndInnermost() {
  if (open_.empty()) {
    if (done_) owner_->CallAfter(std::exchange(done_, nullptr));
    return;
  }
  wxDialog* dialog = open_.back();
  // A dialog's own close handling comes first: the cutting dialog stops waiting for the
  // splitter that way. A dialog that vetoes closing is ended all the same.
  dialog->Close();
  if (dialog->IsModal()) dialog->EndModal(wxID_CANCEL);
  // A native message box runs outside wx's modal loop and cannot be ended from here; it is
  // waited for, and its Exit continues the ending.
}

}  // namespace zentora
