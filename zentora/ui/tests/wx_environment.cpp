// SPDX-License-Identifier: GPL-3.0-or-later
// Starts wxWidgets once for the window tests (they run on a virtual display).
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include "zentora/ui/tests/wx_pump.h"

namespace {

class WxEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "zentora_ui_tests";
    static char* argv[] = {name, nullptr};
    wxApp::SetInstance(new wxApp);
    ASSERT_TRUE(wxEntryStart(argc, argv)) << "no display: run the tests under xvfb-run";
    wxTheApp->CallOnInit();
    // A failed wx assertion is a test failure, never a dialog that blocks the run.
    wxSetAssertHandler([](const wxString& file, int line, const wxString& func,
                          const wxString& cond, const wxString& msg) {
      ADD_FAILURE() << "wx assertion " << cond << " " << msg << " in " << func << " at " << file
                    << ":" << line;
    });
  }
  void TearDown() override { wxEntryCleanup(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WxEnvironment);

}  // namespace

namespace zentora::test {

void Pump(int ms) {
  const wxLongLong end = wxGetLocalTimeMillis() + ms;
  do {
    wxTheApp->ProcessPendingEvents();
    wxTheApp->Yield(true);
    wxMilliSleep(2);
  } while (wxGetLocalTimeMillis() < end);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const wxLongLong end = wxGetLocalTimeMillis() + timeoutMs;
  while (!done()) {
    if (wxGetLocalTimeMillis() >= end) return false;
    Pump(5);
  }
  return true;
}

}  // namespace zentora::test
