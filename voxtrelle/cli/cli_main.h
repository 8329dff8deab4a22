// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace voxtrelle::cli {

// Exit statuses of voxtrelle-cli.
inline constexpr int kExitDone = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;  // 128 + SIGINT, as shells report it

// Runs one command line (the arguments after the program name) and returns the exit status.
// Output goes to standard output, errors and progress to standard error.
int run_command_line(const std::vector<std::string>& args);

}  // namespace voxtrelle::cli
