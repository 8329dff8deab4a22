// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/program_options.h"

#include <gtest/gtest.h>

namespace voxtrelle {
namespace {

using Action = ProgramOptions::Action;

struct OptionsCase {
  const char* name;
  std::vector<std::string> args;
  Action action;
  const char* file;
};
void PrintTo(const OptionsCase& c, std::ostream* os) {
  *os << c.name;
}

class ProgramOptionsTest : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(ProgramOptionsTest, ParsesTheCommandLine) {
  const OptionsCase& c = GetParam();
  const ProgramOptions options = ParseProgramOptions(c.args);
  EXPECT_EQ(options.action, c.action);
  EXPECT_EQ(options.file, c.file);
  EXPECT_EQ(options.error.empty(), c.action != Action::kUsageError);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ProgramOptionsTest,
    ::testing::Values(
        OptionsCase{"Nothing", {}, Action::kRun, ""},
        OptionsCase{"File", {"song.wav"}, Action::kRun, "song.wav"},
        OptionsCase{"FileWithSpaces", {"/tmp/my song.wma"}, Action::kRun, "/tmp/my song.wma"},
        OptionsCase{"Help", {"--help"}, Action::kHelp, ""},
        OptionsCase{"ShortHelp", {"-h"}, Action::kHelp, ""},
        OptionsCase{"Version", {"--version"}, Action::kVersion, ""},
        OptionsCase{"ShortVersion", {"-v"}, Action::kVersion, ""},
        OptionsCase{"HelpAfterFile", {"a.wav", "--help"}, Action::kHelp, ""},
        OptionsCase{"DashedFileAfterEnd", {"--", "-odd.wav"}, Action::kRun, "-odd.wav"},
        OptionsCase{"HelpAfterEndIsAFile", {"--", "--help"}, Action::kRun, "--help"},
        OptionsCase{"LoneDashIsAFile", {"-"}, Action::kRun, "-"},
        OptionsCase{"UnknownLong", {"--bogus"}, Action::kUsageError, ""},
        OptionsCase{"UnknownShort", {"-x", "a.wav"}, Action::kUsageError, ""},
        OptionsCase{"TwoFiles", {"a.wav", "b.wav"}, Action::kUsageError, ""},
        OptionsCase{"EmptyName", {""}, Action::kUsageError, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace voxtrelle
