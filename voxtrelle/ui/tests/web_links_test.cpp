// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/web_links.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <wx/log.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "voxtrelle/playback/wave_out_test.h"
#include "voxtrelle/ui/command_ids.h"
#include "voxtrelle/ui/link_label.h"
#include "voxtrelle/ui/main_frame.h"
#include "wx_test_environment.h"

namespace voxtrelle {
namespace {

namespace fs = std::filesystem;

// Everything wx would show or print as a log message.
class CapturedLog : public wxLog {
 public:
  std::vector<wxString> messages;

 protected:
  void DoLogRecord(wxLogLevel, const wxString& message, const wxLogRecordInfo&) override {
    messages.push_back(message);
  }
};

// An environment in which no browser can be started: no program on the PATH, no desktop
// handler for web addresses.
class NoBrowser {
 public:
  NoBrowser() : dir_(fs::temp_directory_path() / ("vx-nobrowser-" + std::to_string(::getpid()))) {
    fs::create_directories(dir_);
    for (const char* name : {"PATH", "BROWSER", "XDG_DATA_DIRS", "XDG_DATA_HOME"}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name,
                          value != nullptr ? std::optional<std::string>(value) : std::nullopt);
    }
    ::setenv("PATH", dir_.c_str(), 1);
    ::unsetenv("BROWSER");
    ::setenv("XDG_DATA_DIRS", dir_.c_str(), 1);
    ::setenv("XDG_DATA_HOME", dir_.c_str(), 1);
  }
  ~NoBrowser() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

 private:
  fs::path dir_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class WebLinksTest : public testing::Test {
 protected:
  WebLinksTest() : previous_(wxLog::SetActiveTarget(&log_)) {}
  ~WebLinksTest() override { wxLog::SetActiveTarget(previous_); }

  void ExpectNothingShown() {
    test::Pump();
    wxLog::FlushActive();
    EXPECT_TRUE(log_.messages.empty()) << log_.messages.front();
    for (wxWindow* window : wxTopLevelWindows) {
      EXPECT_FALSE(window->IsShown() && dynamic_cast<wxDialog*>(window) != nullptr)
          << window->GetLabel();
    }
  }

  NoBrowser no_browser_;
  CapturedLog log_;
  wxLog* previous_;
};

TEST_F(WebLinksTest, AFailedOpenShowsNothing) {
  EXPECT_FALSE(web::OpenWebAddress(wxString::FromUTF8(web::MakerUrl())));
  ExpectNothingShown();
}

TEST_F(WebLinksTest, TheWebsiteCommandsAndTheLinksShowNoErrorWithoutABrowser) {
  auto* frame = new MainFrame(std::make_unique<WaveOutTest>([](std::function<void()>) {}));
  frame->Show();
  test::Pump();
  for (int id : {cmd::kWebsite, cmd::kConverterSite}) {
    wxCommandEvent event(wxEVT_MENU, id);
    frame->GetEventHandler()->ProcessEvent(event);
  }
  ExpectNothingShown();

  auto* link = new LinkLabel(frame, wxID_ANY, "voxtrelle.example");
  link->SetTarget(wxString::FromUTF8(web::MakerUrl()));
  EXPECT_FALSE(link->Open());
  EXPECT_FALSE(link->IsVisited());
  ExpectNothingShown();
  frame->Destroy();
  test::Pump();
}

}  // namespace
}  // namespace voxtrelle
