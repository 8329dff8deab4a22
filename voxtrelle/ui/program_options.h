// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's command line: an optional file to open, --help and --version.

#include <string>
#include <vector>

namespace voxtrelle {

struct ProgramOptions {
  enum class Action { kRun, kHelp, kVersion, kUsageError };
  Action action = Action::kRun;
  std::string file;   // kRun: the file to open after start-up; empty for none
  std::string error;  // kUsageError: what was wrong
};

// Parses the arguments after the program's name. "--" ends the options.
ProgramOptions ParseProgramOptions(const std::vector<std::string>& args);

// Answers --help, --version and usage errors before any window exists: prints to standard
// output (help, version) or standard error (usage error) and returns false with the exit
// status in `status` (0, or 2 for a usage error). True when the program should start.
bool AnswerWithoutWindow(int argc, char** argv, int& status);

}  // namespace voxtrelle
