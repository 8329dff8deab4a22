// SPDX-License-Identifier: GPL-3.0-or-later
// The editor starts on a desktop with a window manager without GTK complaining on standard
// error.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>

namespace {

TEST(QuietStartTest, TheWindowShowsWithoutGtkWarningsOrCriticals) {
  std::string command = VX_QUIET_START;
  command.append(" ").append(VX_PROGRAM).append(" 2>&1");
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  std::array<char, 4096> buffer;
  while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) output.append(buffer.data(), n);
  ASSERT_EQ(pclose(pipe), 0) << output;

  const std::regex complaint(R"((Gtk|Gdk|GLib|GLib-GObject)-(CRITICAL|WARNING))");
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);)
    EXPECT_FALSE(std::regex_search(line, complaint)) << line;
}

}  // namespace
