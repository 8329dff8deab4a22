// SPDX-License-Identifier: GPL-3.0-or-later
// The manual page and --help describe the same program: every operation and every exit
// status of the usage text is in the page.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "voxtrelle/cli/command_line.h"

namespace voxtrelle::cli {
namespace {

// The page's source with roff's escaped dashes and font changes taken out.
std::string ManualPageText() {
  std::ifstream in(VOXTRELLE_CLI_MANUAL_PAGE);
  std::stringstream text;
  text << in.rdbuf();
  std::string page = std::regex_replace(text.str(), std::regex(R"(\\-)"), "-");
  return std::regex_replace(page, std::regex(R"(\\f[BIRP])"), "");
}

class ManualPage : public ::testing::TestWithParam<EditKind> {};

TEST_P(ManualPage, DescribesEachOperationOfTheUsage) {
  const std::string name = edit_name(GetParam());
  EXPECT_NE(std::string(usage_text()).find("  " + name + " "), std::string::npos);
  // Each operation is a tagged paragraph of its own: ".BI name ..." or ".B name".
  EXPECT_TRUE(
      std::regex_search(ManualPageText(), std::regex("\\n\\.(B|BI|BR) " + name + "( |\\n)")))
      << name;
}

INSTANTIATE_TEST_SUITE_P(Operations, ManualPage,
                         ::testing::Values(EditKind::kDeleteSelected, EditKind::kDeleteUnselected,
                                           EditKind::kVolume, EditKind::kMaximize,
                                           EditKind::kFadeIn, EditKind::kFadeOut, EditKind::kToMono,
                                           EditKind::kToStereo),
                         [](const auto& info) {
                           std::string name = edit_name(info.param);
                           std::erase(name, '-');
                           return name;
                         });

TEST(ManualPageCommands, ListsTheCommandsAndExitStatusesOfTheUsage) {
  const std::string page = ManualPageText();
  ASSERT_FALSE(page.empty()) << VOXTRELLE_CLI_MANUAL_PAGE;
  for (const char* command : {"info", "edit", "peaks", "--help", "--version"}) {
    EXPECT_NE(std::string(usage_text()).find(command), std::string::npos) << command;
    EXPECT_NE(page.find(command), std::string::npos) << command;
  }
  // "Exit status: 0 done, 1 error, ..." in the usage; ".B 0" paragraphs in the page.
  const std::string usage = usage_text();
  std::smatch line;
  ASSERT_TRUE(std::regex_search(usage, line, std::regex("Exit status: ([^\\n]*)")));
  const std::string statuses = line[1];
  const std::regex number("\\d+");
  int found = 0;
  for (std::sregex_iterator it(statuses.begin(), statuses.end(), number), end; it != end;
       ++it, ++found) {
    EXPECT_NE(page.find("\n.B " + it->str() + "\n"), std::string::npos) << it->str();
  }
  EXPECT_EQ(found, 4);
}

}  // namespace
}  // namespace voxtrelle::cli
