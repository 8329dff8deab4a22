// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/cli/cli_main.h"

#include <cstdio>
#include <string_view>

#include "project_version.h"
#include "voxtrelle/audio/audio_document.h"
#include "voxtrelle/audio/media_codec.h"
#include "voxtrelle/audio/recovery_record.h"
#include "voxtrelle/audio/temp_folder.h"
#include "voxtrelle/cli/command_line.h"
#include "voxtrelle/cli/edit_ranges.h"
#include "voxtrelle/cli/file_checks.h"
#include "voxtrelle/cli/interrupt.h"
#include "voxtrelle/cli/streamed_edit.h"
#include "voxtrelle/cli/terminal_progress.h"

namespace voxtrelle::cli {
namespace {

void print_error(const std::string& message) {
  std::fprintf(stderr, "voxtrelle-cli: %s\n", message.c_str());
}

// `verb "path": reason`
int fail(const char* verb, const std::string& path, const std::string& reason) {
  print_error(std::string(verb) + " \"" + path + "\": " + reason);
  return kExitError;
}

int fail_interrupted() {
  print_error("interrupted; nothing was written");
  return kExitInterrupted;
}

std::string file_name(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Returns kExitDone when `document` holds the audio of `path`.
int load_document(AudioDocument& document, const std::string& path) {
  const FileKind kind = file_kind(path);
  if (const std::string problem = kind_problem(path); !problem.empty()) {
    return fail("cannot open", path, problem);
  }
  if (const std::string problem = read_problem(path); !problem.empty()) {
    return fail("cannot open", path, problem);
  }
  if (kind == FileKind::kWma && installed_media_codec() == nullptr) {
    return fail("cannot open", path, "WMA files are not supported by this build");
  }
  // Like the editor's, the sample files are named in a recovery record while they live.
  document.keep_recovery_record();
  int ok = 0;
  {
    TerminalProgress progress("Loading " + file_name(path));
    ok = document.load(path, &progress);
  }
  if (interrupted()) return kExitInterrupted;
  if (!ok) {
    // The temporary folder is blamed before the file when it is the cause.
    const uint64_t needed = kind == FileKind::kWav ? wav_sample_bytes(path) : 0;
    if (const std::string problem = temp_folder_problem(needed); !problem.empty()) {
      return fail("cannot open", path, problem);
    }
    return fail("cannot open", path,
                kind == FileKind::kWav ? wav_content_problem(path)
                                       : "not a WMA file, or it cannot be decoded");
  }
  if (document.is_empty()) return fail("cannot open", path, "the file holds no audio");
  return kExitDone;
}

int check_output(const std::string& output) {
  const FileKind kind = file_kind(output);
  if (const std::string problem = kind_problem(output); !problem.empty()) {
    return fail("cannot save", output, problem);
  }
  if (kind == FileKind::kWma && installed_media_codec() == nullptr) {
    return fail("cannot save", output, "WMA files are not supported by this build");
  }
  if (const std::string problem = write_problem(output); !problem.empty()) {
    return fail("cannot save", output, problem);
  }
  return kExitDone;
}

int fail_save(const std::string& output) {
  std::string problem = write_problem(output);
  // A WMA save passes through a WAV file in the temporary folder.
  if (problem.empty() && file_kind(output) == FileKind::kWma) problem = temp_folder_problem(0);
  return fail("cannot save", output,
              problem.empty() ? "writing the file failed (out of disk space, or the clip's "
                                "format cannot be encoded?)"
                              : problem);
}

// The chain as streaming stages from file to file, when it can be streamed; -1 when it is left
// to the document.
int run_streamed_edit(const Command& command) {
  const auto job = StreamedEdit::prepare(command.input, command.output, command.edits);
  if (job == nullptr) return -1;
  StreamOutcome outcome = StreamOutcome::kWriteFailed;
  {
    TerminalProgress progress("Editing " + file_name(command.input));
    outcome = job->run(&progress);
  }
  switch (outcome) {
    case StreamOutcome::kDone:
      return kExitDone;
    case StreamOutcome::kInterrupted:
      return fail_interrupted();
    case StreamOutcome::kReadFailed:
      return fail("cannot open", command.input, "reading the file failed");
    case StreamOutcome::kWriteFailed:
      break;
  }
  return interrupted() ? fail_interrupted() : fail_save(command.output);
}

int run_edit(const Command& command) {
  // A bad OUTPUT is reported before any work is done.
  if (const int status = check_output(command.output); status != kExitDone) return status;
  if (const int status = run_streamed_edit(command); status >= 0) return status;
  AudioDocument document;
  if (const int status = load_document(document, command.input); status != kExitDone) {
    return status == kExitInterrupted ? fail_interrupted() : status;
  }
  for (const EditRequest& edit : command.edits) {
    if (interrupted()) return fail_interrupted();
    int32_t begin = -1;
    int32_t end = -1;
    const std::string problem = resolve_range(edit, document.current_clip().frames(), begin, end);
    if (!problem.empty()) return fail("cannot edit", command.input, problem);
    if (!apply_edit(document, edit, begin, end)) {
      const uint64_t needed =
          edit.kind == EditKind::kToStereo
              ? uint64_t{static_cast<uint32_t>(document.current_clip().frames())} * sizeof(float)
              : 0;
      if (const std::string problem = temp_folder_problem(needed); !problem.empty()) {
        return fail("cannot edit", command.input, problem);
      }
      return fail("cannot edit", command.input,
                  std::string(edit_name(edit.kind)) + " failed (out of disk space?)");
    }
  }
  if (interrupted()) return fail_interrupted();
  int ok = 0;
  {
    TerminalProgress progress("Saving " + file_name(command.output));
    ok = document.save(command.output, &progress);
  }
  // A signal that comes after the new file is in place changes nothing: the work is done.
  if (!ok && interrupted()) return fail_interrupted();
  if (!ok) return fail_save(command.output);
  return kExitDone;
}

const char* kind_name(FileKind kind) {
  return kind == FileKind::kWma ? "wma" : "wav";
}

// Tag text on one line: backslashes and line breaks are escaped.
std::string one_line(std::string_view text) {
  std::string line;
  for (char c : text) {
    if (c == '\\') {
      line += "\\\\";
    } else if (c == '\n') {
      line += "\\n";
    } else if (c == '\r') {
      line += "\\r";
    } else if (c == '\t') {
      line += "\\t";
    } else {
      line += c;
    }
  }
  return line;
}

void print_tags(const MediaTags& tags) {
  const auto text = [](const char* key, const std::string& value) {
    if (!value.empty()) std::printf("%s: %s\n", key, one_line(value).c_str());
  };
  const auto number = [](const char* key, uint32_t value) {
    if (value != 0) std::printf("%s: %u\n", key, value);
  };
  text("title", tags.title);
  text("artist", tags.artist);
  text("album", tags.album);
  number("year", tags.year);
  number("track", tags.track);
  text("genre", tags.genre);
  text("comment", tags.comment);
  text("album_artist", tags.album_artist);
  text("lyrics", tags.lyrics);
  number("rating", tags.rating);
}

int run_info(const Command& command) {
  AudioDocument document;
  if (const int status = load_document(document, command.input); status != kExitDone) {
    return status == kExitInterrupted ? fail_interrupted() : status;
  }
  const AudioClip& clip = document.current_clip();
  std::printf("kind: %s\n", kind_name(document.kind()));
  std::printf("channels: %u\n", unsigned{clip.format().nChannels});
  std::printf("rate: %u\n", unsigned{clip.format().nSamplesPerSec});
  std::printf("bits: %u\n", unsigned{clip.format().wBitsPerSample});
  std::printf("frames: %d\n", clip.frames());
  std::printf("duration: %.3f\n", clip.duration());
  if (document.kind() == FileKind::kWma) print_tags(document.tags());
  return kExitDone;
}

int run_peaks(const Command& command) {
  AudioDocument document;
  if (const int status = load_document(document, command.input); status != kExitDone) {
    return status == kExitInterrupted ? fail_interrupted() : status;
  }
  PeakLists lists;
  const auto columns = static_cast<int32_t>(command.columns);
  if (!document.peaks(lists, columns)) {
    return fail("cannot compute peaks of", command.input,
                std::to_string(command.columns) + " columns for " +
                    std::to_string(document.current_clip().frames()) + " frames");
  }
  const bool stereo = document.is_stereo() != 0;
  for (size_t i = 0; i < lists.first.size(); ++i) {
    if (stereo) {
      std::printf("%.9g %.9g %.9g %.9g\n", lists.first[i].max, lists.first[i].min,
                  lists.second[i].max, lists.second[i].min);
    } else {
      std::printf("%.9g %.9g\n", lists.first[i].max, lists.first[i].min);
    }
  }
  return kExitDone;
}

}  // namespace

int run_command_line(const std::vector<std::string>& args) {
  // What dead runs left in the temporary folder goes without a question; unsaved edits of a
  // dead editor stay for the editor to offer, and files of live processes are never touched.
  collect_stale_documents();
  Command command;
  std::string error;
  if (!parse_command_line(args, command, error)) {
    print_error(error);
    std::fputs(usage_text(), stderr);
    return kExitUsage;
  }
  switch (command.kind) {
    case CommandKind::kHelp:
      std::fputs(usage_text(), stdout);
      return kExitDone;
    case CommandKind::kVersion:
      std::printf("voxtrelle-cli %s\n", PROJECT_VERSION_TEXT);
      return kExitDone;
    case CommandKind::kInfo:
      return run_info(command);
    case CommandKind::kEdit:
      return run_edit(command);
    case CommandKind::kPeaks:
      return run_peaks(command);
  }
  return kExitUsage;
}

}  // namespace voxtrelle::cli
