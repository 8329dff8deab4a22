// SPDX-License-Identifier: GPL-3.0-or-later
// The program starts on a desktop with a window manager without GTK complaining on standard
// error.
#include <gtest/gtest.h>

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

TEST(QuietStartTest, TheWindowShowsWithoutGtkWarningsOrCriticals) {
  const fs::path home = fs::temp_directory_path() / ("zentora_quiet_" + std::to_string(getpid()));
  fs::create_directories(home);
  const std::string command = "env XDG_CONFIG_HOME='" + home.string() +
                              "' ZENTORA_AUDIO_SINK='fakesink sync=true' ZENTORA_SERVER='" +
                              test::DeadServerBase() + "' " + ZT_QUIET_START + " " + ZT_PROGRAM +
                              " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  std::array<char, 4096> buffer;
  while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) output.append(buffer.data(), n);
  const int status = pclose(pipe);
  fs::remove_all(home);
  ASSERT_EQ(status, 0) << output;

  const std::regex complaint(R"((Gtk|Gdk|GLib|GLib-GObject)-(CRITICAL|WARNING))");
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);)
    EXPECT_FALSE(std::regex_search(line, complaint)) << line;
}

}  // namespace
}  // namespace zentora
