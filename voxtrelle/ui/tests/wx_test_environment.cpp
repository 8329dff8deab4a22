// SPDX-License-Identifier: GPL-3.0-or-later
#include "wx_test_environment.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/timer.h>

namespace voxtrelle::test {

namespace {

class WxEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    if (wxTheApp != nullptr) return;  // another test file set it up already
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    wxApp::SetInstance(new wxApp);
    ASSERT_TRUE(wxEntryStart(argc, argv)) << "no display? run the window tests under xvfb-run";
    ASSERT_TRUE(wxTheApp->CallOnInit());
    // A failed wx assertion fails the test instead of opening a message box.
    wxSetAssertHandler([](const wxString& file, int line, const wxString& func,
                          const wxString& cond, const wxString& msg) {
      ADD_FAILURE_AT(file.utf8_str(), line)
          << "wx assertion " << cond << " in " << func << ": " << msg;
    });
  }
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new WxEnvironment);

}  // namespace

void Pump() {
  for (int i = 0; i < 5; ++i) {
    wxTheApp->ProcessPendingEvents();
    wxYield();
  }
}

int RunModal(wxDialog& dialog, std::function<void()> steps, int timeoutMs) {
  wxTimer guard;
  guard.Bind(wxEVT_TIMER, [&dialog](wxTimerEvent&) {
    ADD_FAILURE() << "the dialog did not end";
    if (dialog.IsModal()) dialog.EndModal(wxID_ABORT);
  });
  guard.StartOnce(timeoutMs);
  dialog.CallAfter([steps]() { steps(); });
  return dialog.ShowModal();
}

void SendKeyDown(wxWindow* window, int keyCode) {
  wxKeyEvent key(wxEVT_KEY_DOWN);
  key.m_keyCode = keyCode;
  key.SetEventObject(window);
  key.SetId(window->GetId());
  window->GetEventHandler()->ProcessEvent(key);
}

}  // namespace voxtrelle::test
