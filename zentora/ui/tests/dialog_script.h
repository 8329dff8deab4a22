// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plays the user's part in the modal dialogs a test opens: each dialog, once it shows, gets the
// next step of the script, run from inside the dialog's own loop. A dialog that is still open
// after a while is ended and the test fails, so a broken flow cannot hang the run.
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/timer.h>

#include <functional>
#include <vector>

namespace zentora::test {

class DialogScript : public wxModalDialogHook, public wxEvtHandler {
 public:
  using Step = std::function<void(wxDialog&)>;
  // Create it before the window: hooks made later are asked first, and the window's own hook
  // must see a dialog before the script acts on it.
  explicit DialogScript(std::vector<Step> steps, int timeoutMs = 15000);
  ~DialogScript() override;

  // Titles of the dialogs that showed, in order.
  const std::vector<wxString>& Shown() const { return shown_; }
  size_t StepsLeft() const { return steps_.size() - next_; }

 private:
  int Enter(wxDialog* dialog) override;
  void Exit(wxDialog* dialog) override;
  bool StillOpen(wxDialog* dialog) const;

  std::vector<Step> steps_;
  size_t next_ = 0;
  std::vector<wxDialog*> open_;
  std::vector<wxString> shown_;
  int timeoutMs_;
  wxTimer watchdog_;
};

// Presses the button `id` of `dialog` as a click would.
void Click(wxDialog& dialog, int id);

}  // namespace zentora::test
