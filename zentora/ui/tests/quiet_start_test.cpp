// SPDX-License-Identifier: GPL-3.0-or-later
// The program starts on a desktop with a window manager without GTK complaining on standard
// error.
#include <gtest/gtest.h>
#include <wx/image.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

#include "zentora/core/tests/loopback_http_server.h"

namespace zentora {
namespace {
namespace fs = std::filesystem;

// Runs the program through quiet-start.sh with `options`; answers its standard error.
std::string RunOnDesktop(const fs::path& home, const std::string& options) {
  const std::string command = "env XDG_CONFIG_HOME='" + home.string() +
                              "' ZENTORA_AUDIO_SINK='fakesink sync=true' ZENTORA_SERVER='" +
                              test::DeadServerBase() + "' " + ZT_QUIET_START + " " + options + " " +
                              ZT_PROGRAM + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return "popen failed";
  std::string output;
  std::array<char, 4096> buffer;
  while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) output.append(buffer.data(), n);
  const int status = pclose(pipe);
  EXPECT_EQ(status, 0) << output;
  return output;
}

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = fs::temp_directory_path() /
            ("zentora_desktop_" + std::to_string(getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(home_);
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(home_);  // a failure leaves its screenshots to look at
  }
  fs::path home_;
};

TEST_F(DesktopTest, TheWindowShowsWithoutGtkWarningsOrCriticals) {
  const std::string output = RunOnDesktop(home_, "");
  const std::regex complaint(R"((Gtk|Gdk|GLib|GLib-GObject)-(CRITICAL|WARNING))");
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);)
    EXPECT_FALSE(std::regex_search(line, complaint)) << line;
}

// Key strokes that cover part of the web page and then close what covered it.
class PageRepaintTest : public DesktopTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PageRepaintTest, TheWebPageRepaintsWhatWasCovered) {
  RunOnDesktop(home_, "--shots '" + home_.string() + "' --keys '" + GetParam() + "'");
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  const wxImage before((home_ / "before.png").string(), wxBITMAP_TYPE_PNG);
  const wxImage after((home_ / "after.png").string(), wxBITMAP_TYPE_PNG);
  ASSERT_TRUE(before.IsOk() && after.IsOk());
  ASSERT_EQ(before.GetSize(), after.GetSize());
  // The page: right of the settings columns, below the menu bar, above the tip strip.
  const wxRect page(360, 30, before.GetWidth() - 370, 90);
  int differing = 0;
  for (int y = page.GetTop(); y <= page.GetBottom(); ++y)
    for (int x = page.GetLeft(); x <= page.GetRight(); ++x)
      differing += before.GetRed(x, y) != after.GetRed(x, y) ||
                   before.GetGreen(x, y) != after.GetGreen(x, y) ||
                   before.GetBlue(x, y) != after.GetBlue(x, y);
  EXPECT_EQ(differing, 0) << "pixels of the page still show what covered it, or a gap; see "
                          << home_;
}

// The help menu drops over the left part of the page's heading; the About box (its last
// item) lies over the page's lower edge.
INSTANTIATE_TEST_SUITE_P(MenuAndDialog, PageRepaintTest,
                         ::testing::Values("alt+h Escape", "alt+h Up Return Escape"));

}  // namespace
}  // namespace zentora
