// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps track of the modal dialogs open over the program, so the window can end them before it
// is destroyed: a dialog's own event loop runs code that belongs to the window, and the window
// must not vanish beneath it.
#include <wx/modalhook.h>

#include <functional>
#include <vector>

class wxEvtHandler;

namespace zentora {

class ModalDialogs : public wxModalDialogHook {
 public:
  // Steps of the ending are posted to `owner`, so none runs once the owner is gone.
  explicit ModalDialogs(wxEvtHandler* owner);
  ModalDialogs(const ModalDialogs&) = delete;
  ModalDialogs& operator=(const ModalDialogs&) = delete;

  bool AnyOpen() const { return !open_.empty(); }
  // Ends the open dialogs one at a time, innermost first, and refuses every dialog asked for
  // from then on (its ShowModal answers wxID_CANCEL at once). `done` runs from the owner's
  // event queue once no dialog is open, so no dialog loop is left on the stack.
  void EndAllThen(std::function<void()> done);

 private:
  int Enter(wxDialog* dialog) override;
  void Exit(wxDialog* dialog) override;
  void EndInnermost();

  wxEvtHandler* owner_;
  std::vector<wxDialog*> open_;  // in the order they were opened
  std::function<void()> done_;   // set while ending
  bool ending_ = false;
};

}  // namespace zentora
