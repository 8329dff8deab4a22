// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/cli/command_line.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace voxtrelle::cli {
namespace {

struct EditSyntax {
  EditKind kind;
  const char* name;
  bool takes_percent;
  enum { kNoRange, kOptionalRange, kRequiredRange } range;
};

constexpr EditSyntax kEdits[] = {
    {EditKind::kDeleteSelected, "delete-selected", false, EditSyntax::kRequiredRange},
    {EditKind::kDeleteUnselected, "delete-unselected", false, EditSyntax::kRequiredRange},
    {EditKind::kVolume, "volume", true, EditSyntax::kOptionalRange},
    {EditKind::kMaximize, "maximize", false, EditSyntax::kOptionalRange},
    {EditKind::kFadeIn, "fade-in", false, EditSyntax::kOptionalRange},
    {EditKind::kFadeOut, "fade-out", false, EditSyntax::kOptionalRange},
    {EditKind::kToMono, "to-mono", false, EditSyntax::kNoRange},
    {EditKind::kToStereo, "to-stereo", false, EditSyntax::kNoRange},
};

bool parse_integer(const std::string& text, int64_t& value) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, status] = std::from_chars(first, last, value);
  return status == std::errc() && end == last && first != last;
}

bool is_integer(const std::string& text) {
  int64_t ignored = 0;
  return parse_integer(text, ignored);
}

// Reads "B E" at args[i], args[i + 1]: frame numbers in the signed 32-bit range.
bool parse_range(const std::vector<std::string>& args, size_t i, EditRequest& edit,
                 std::string& error) {
  if (i + 1 >= args.size() || !parse_integer(args[i], edit.begin) ||
      !parse_integer(args[i + 1], edit.end)) {
    error = std::string(edit_name(edit.kind)) + " needs two frame numbers B E";
    return false;
  }
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  if (edit.begin < -kMax || edit.begin > kMax || edit.end < -kMax || edit.end > kMax) {
    error = "frame number out of range in " + std::string(edit_name(edit.kind));
    return false;
  }
  edit.has_range = true;
  return true;
}

int parse_edits(const std::vector<std::string>& args, size_t i, std::vector<EditRequest>& edits,
                std::string& error) {
  while (i < args.size()) {
    const EditSyntax* syntax = nullptr;
    for (const EditSyntax& candidate : kEdits) {
      if (args[i] == candidate.name) syntax = &candidate;
    }
    if (syntax == nullptr) {
      error = "unknown operation \"" + args[i] + "\"";
      return 0;
    }
    ++i;
    EditRequest edit;
    edit.kind = syntax->kind;
    if (syntax->takes_percent) {
      int64_t percent = 0;
      if (i >= args.size() || !parse_integer(args[i], percent) ||
          percent < std::numeric_limits<int32_t>::min() ||
          percent > std::numeric_limits<int32_t>::max()) {
        error = "volume needs a whole percentage";
        return 0;
      }
      edit.percent = static_cast<int32_t>(percent);
      ++i;
    }
    const bool range_follows = i < args.size() && is_integer(args[i]);
    if (syntax->range == EditSyntax::kRequiredRange ||
        (syntax->range == EditSyntax::kOptionalRange && range_follows)) {
      if (!parse_range(args, i, edit, error)) return 0;
      i += 2;
    }
    edits.push_back(edit);
  }
  return 1;
}

int parse_columns(const std::string& text, int64_t& columns) {
  return parse_integer(text, columns) && columns >= std::numeric_limits<int32_t>::min() &&
         columns <= std::numeric_limits<int32_t>::max();
}

}  // namespace

const char* edit_name(EditKind kind) {
  for (const EditSyntax& syntax : kEdits) {
    if (syntax.kind == kind) return syntax.name;
  }
  return "?";
}

bool take_verbose_option(std::vector<std::string>& args) {
  const auto kept = std::remove(args.begin(), args.end(), std::string("--verbose"));
  const bool found = kept != args.end();
  args.erase(kept, args.end());
  return found;
}

int parse_command_line(const std::vector<std::string>& args, Command& command, std::string& error) {
  command = Command{};
  if (args.empty()) {
    error = "no command given";
    return 0;
  }
  const std::string& verb = args[0];
  if ((verb == "--help" || verb == "-h" || verb == "help") && args.size() == 1) {
    command.kind = CommandKind::kHelp;
    return 1;
  }
  if (verb == "--version" && args.size() == 1) {
    command.kind = CommandKind::kVersion;
    return 1;
  }
  if (verb == "info") {
    if (args.size() != 2) {
      error = "info takes one FILE";
      return 0;
    }
    command.kind = CommandKind::kInfo;
    command.input = args[1];
    return 1;
  }
  if (verb == "peaks") {
    if (args.size() != 3 || !parse_columns(args[2], command.columns)) {
      error = "peaks takes FILE and a whole number of COLUMNS";
      return 0;
    }
    command.kind = CommandKind::kPeaks;
    command.input = args[1];
    return 1;
  }
  if (verb == "edit") {
    if (args.size() < 3) {
      error = "edit takes INPUT and OUTPUT";
      return 0;
    }
    command.kind = CommandKind::kEdit;
    command.input = args[1];
    command.output = args[2];
    return parse_edits(args, 3, command.edits, error);
  }
  error = "unknown command \"" + verb + "\"";
  return 0;
}

const char* usage_text() {
  return "usage: voxtrelle-cli info FILE\n"
         "       voxtrelle-cli edit INPUT OUTPUT [OP ...]\n"
         "       voxtrelle-cli peaks FILE COLUMNS\n"
         "       voxtrelle-cli --help | --version\n"
         "\n"
         "Files are WAV (.wav) or WMA (.wma), chosen by extension.\n"
         "Operations of edit, applied in order; frames count per channel and B E is the\n"
         "half-open range [B, E). Without B E an operation works on the whole clip.\n"
         "  delete-selected B E     remove frames B .. E-1\n"
         "  delete-unselected B E   keep only frames B .. E-1\n"
         "  volume PCT [B E]        change the volume to PCT percent\n"
         "  maximize [B E]          raise each channel to full scale\n"
         "  fade-in [B E]           fade in from silence\n"
         "  fade-out [B E]          fade out to silence\n"
         "  to-mono                 mix the two channels into one\n"
         "  to-stereo               duplicate the one channel\n"
         "\n"
         "peaks prints one line per column: max min (mono) or max0 min0 max1 min1 (stereo).\n"
         "--verbose, anywhere, also shows the media library's own messages on standard error.\n"
         "Exit status: 0 done, 1 error, 2 usage error, 130 interrupted.\n";
}

}  // namespace voxtrelle::cli
