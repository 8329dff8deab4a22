// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/cli/command_line.h"

#include <gtest/gtest.h>

namespace voxtrelle::cli {
namespace {

using Args = std::vector<std::string>;

Command parse_ok(const std::vector<std::string>& args) {
  Command command;
  std::string error;
  EXPECT_EQ(parse_command_line(args, command, error), 1) << error;
  return command;
}

TEST(CommandLine, EditCollectsOperationsInOrder) {
  const Command command =
      parse_ok({"edit", "in.wav", "out.wma", "volume", "-50", "maximize", "10", "20", "fade-in",
                "to-mono", "delete-selected", "0", "+5", "volume", "250", "1", "2"});
  EXPECT_EQ(command.kind, CommandKind::kEdit);
  EXPECT_EQ(command.input, "in.wav");
  EXPECT_EQ(command.output, "out.wma");
  ASSERT_EQ(command.edits.size(), 6u);
  EXPECT_EQ(command.edits[0].kind, EditKind::kVolume);
  EXPECT_EQ(command.edits[0].percent, -50);
  EXPECT_FALSE(command.edits[0].has_range);
  EXPECT_EQ(command.edits[1].kind, EditKind::kMaximize);
  EXPECT_TRUE(command.edits[1].has_range);
  EXPECT_EQ(command.edits[1].begin, 10);
  EXPECT_EQ(command.edits[1].end, 20);
  EXPECT_EQ(command.edits[2].kind, EditKind::kFadeIn);
  EXPECT_FALSE(command.edits[2].has_range);
  EXPECT_EQ(command.edits[3].kind, EditKind::kToMono);
  EXPECT_EQ(command.edits[4].kind, EditKind::kDeleteSelected);
  EXPECT_EQ(command.edits[4].end, 5);
  EXPECT_EQ(command.edits[5].percent, 250);
  EXPECT_EQ(command.edits[5].begin, 1);
}

TEST(CommandLine, OtherCommands) {
  EXPECT_EQ(parse_ok({"--help"}).kind, CommandKind::kHelp);
  EXPECT_EQ(parse_ok({"--version"}).kind, CommandKind::kVersion);
  EXPECT_EQ(parse_ok({"info", "a.wav"}).input, "a.wav");
  const Command peaks = parse_ok({"peaks", "a.wav", "640"});
  EXPECT_EQ(peaks.kind, CommandKind::kPeaks);
  EXPECT_EQ(peaks.columns, 640);
  EXPECT_TRUE(parse_ok({"edit", "a.wav", "b.wav"}).edits.empty());
}

TEST(CommandLine, VerboseMayStandAnywhere) {
  for (std::vector<std::string> args :
       {Args{"--verbose", "info", "a.wav"}, Args{"info", "a.wav", "--verbose"},
        Args{"info", "--verbose", "a.wav", "--verbose"}}) {
    EXPECT_TRUE(take_verbose_option(args));
    EXPECT_EQ(args, (Args{"info", "a.wav"}));
  }
  Args plain = {"edit", "a.wav", "b.wav", "to-mono"};
  EXPECT_FALSE(take_verbose_option(plain));
  EXPECT_EQ(plain.size(), 4u);
  EXPECT_NE(std::string(usage_text()).find("--verbose"), std::string::npos);
}

class BadCommandLine : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(BadCommandLine, IsAUsageError) {
  Command command;
  std::string error;
  EXPECT_EQ(parse_command_line(GetParam(), command, error), 0);
  EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, BadCommandLine,
    ::testing::Values(Args{}, Args{"info"}, Args{"info", "a.wav", "b.wav"}, Args{"edit", "a.wav"},
                      Args{"peaks", "a.wav"}, Args{"peaks", "a.wav", "12x"},
                      Args{"edit", "a.wav", "b.wav", "bogus"},
                      Args{"edit", "a.wav", "b.wav", "delete-selected"},
                      Args{"edit", "a.wav", "b.wav", "delete-selected", "3"},
                      Args{"edit", "a.wav", "b.wav", "delete-unselected", "3", "x"},
                      Args{"edit", "a.wav", "b.wav", "fade-in", "5"},
                      Args{"edit", "a.wav", "b.wav", "volume"},
                      Args{"edit", "a.wav", "b.wav", "volume", "half"},
                      Args{"edit", "a.wav", "b.wav", "volume", "99999999999"},
                      Args{"edit", "a.wav", "b.wav", "maximize", "0", "4294967296"},
                      Args{"--help", "extra"}, Args{"--version", "extra"}, Args{"play", "a.wav"}));

}  // namespace
}  // namespace voxtrelle::cli
