// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace voxtrelle::cli {

enum class EditKind {
  kDeleteSelected,
  kDeleteUnselected,
  kVolume,
  kMaximize,
  kFadeIn,
  kFadeOut,
  kToMono,
  kToStereo,
};

// One operation of `edit`, as typed. Frames count per channel; the range is half-open.
struct EditRequest {
  EditKind kind = EditKind::kMaximize;
  bool has_range = false;
  int64_t begin = -1;  // frames
  int64_t end = -1;    // frames
  int32_t percent = 100;
};

enum class CommandKind { kHelp, kVersion, kInfo, kEdit, kPeaks };

struct Command {
  CommandKind kind = CommandKind::kHelp;
  std::string input;   // info, edit, peaks
  std::string output;  // edit
  std::vector<EditRequest> edits;
  int64_t columns = 0;  // peaks
};

// Removes every "--verbose" from the arguments after the program name (it may stand anywhere)
// and returns whether there was one: the media library's own log lines are then shown.
bool take_verbose_option(std::vector<std::string>& args);

// Parses the arguments after the program name. Returns 1 with `command` filled, or 0 with a
// short reason in `error` (a usage error).
int parse_command_line(const std::vector<std::string>& args, Command& command, std::string& error);

// The operation's name as typed on the command line ("fade-in").
const char* edit_name(EditKind kind);

// The text printed by --help and after a usage error.
const char* usage_text();

}  // namespace voxtrelle::cli
