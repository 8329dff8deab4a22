// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/tests/dialog_script.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>

#include <algorithm>

namespace zentora::test {

DialogScript::DialogScript(std::vector<Step> steps, int timeoutMs)
    : steps_(std::move(steps)), timeoutMs_(timeoutMs), watchdog_(this) {
  Register();
  Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
    if (open_.empty()) return;
    wxDialog* dialog = open_.back();
    ADD_FAILURE() << "dialog \"" << dialog->GetTitle() << "\" was still open";
    dialog->EndModal(wxID_ABORT);
  });
}

DialogScript::~DialogScript() {
  watchdog_.Stop();
  Unregister();
}

int DialogScript::Enter(wxDialog* dialog) {
  open_.push_back(dialog);
  shown_.push_back(dialog->GetTitle());
  watchdog_.StartOnce(timeoutMs_);
  if (next_ >= steps_.size()) {
    ADD_FAILURE() << "unexpected dialog \"" << dialog->GetTitle() << "\"";
    wxTheApp->CallAfter([this, dialog] {
      if (StillOpen(dialog)) dialog->EndModal(wxID_ABORT);
    });
    return wxID_NONE;
  }
  Step step = steps_[next_++];
  wxTheApp->CallAfter([this, dialog, step] {
    if (StillOpen(dialog) && step) step(*dialog);
  });
  return wxID_NONE;
}

void DialogScript::Exit(wxDialog* dialog) {
  open_.erase(std::remove(open_.begin(), open_.end(), dialog), open_.end());
  if (open_.empty()) watchdog_.Stop();
}

bool DialogScript::StillOpen(wxDialog* dialog) const {
  return std::find(open_.begin(), open_.end(), dialog) != open_.end() && dialog->IsModal();
}

void Click(wxDialog& dialog, int id) {
  wxWindow* button = dialog.FindWindow(id);
  ASSERT_NE(button, nullptr) << "no button " << id << " in \"" << dialog.GetTitle() << "\"";
  wxCommandEvent click(wxEVT_BUTTON, id);
  click.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(click);
}

}  // namespace zentora::test
