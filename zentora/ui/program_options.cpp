// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/program_options.h"

#include <cstdio>

#include "project_version.h"

namespace zentora {
namespace {

constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: zentora [FILE]\n"
    "       zentora --help | --version\n"
    "\n"
    "Opens the MP3 A-B cutter; FILE is opened after start-up as the open command would\n"
    "open it.\n"
    "\n"
    "  -h, --help     print this help and exit\n"
    "  -v, --version  print the version and exit\n"
    "  --             end of options: the next argument is a FILE\n";

}  // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& args) {
  ProgramOptions options;
  bool options_ended = false;
  for (const std::string& arg : args) {
    if (!options_ended && arg == "--") {
      options_ended = true;
    } else if (!options_ended && (arg == "--help" || arg == "-h")) {
      return {ProgramOptions::Action::kHelp, {}, {}};
    } else if (!options_ended && (arg == "--version" || arg == "-v")) {
      return {ProgramOptions::Action::kVersion, {}, {}};
    } else if (!options_ended && arg.size() > 1 && arg[0] == '-') {
      return {ProgramOptions::Action::kUsageError, {}, "unknown option \"" + arg + "\""};
    } else if (!options.file.empty()) {
      return {ProgramOptions::Action::kUsageError, {}, "only one FILE can be opened"};
    } else if (arg.empty()) {
      return {ProgramOptions::Action::kUsageError, {}, "the FILE name is empty"};
    } else {
      options.file = arg;
    }
  }
  return options;
}

bool AnswerWithoutWindow(int argc, char** argv, int& status) {
  const ProgramOptions options =
      ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
  switch (options.action) {
    case ProgramOptions::Action::kRun:
      return true;
    case ProgramOptions::Action::kHelp:
      std::fputs(kUsage, stdout);
      status = 0;
      return false;
    case ProgramOptions::Action::kVersion:
      std::printf("zentora %s\n", PROJECT_VERSION_TEXT);
      status = 0;
      return false;
    case ProgramOptions::Action::kUsageError:
      std::fprintf(stderr, "zentora: %s\n", options.error.c_str());
      std::fputs(kUsage, stderr);
      status = kExitUsage;
      return false;
  }
  return true;
}

}  // namespace zentora
