// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/cut_job.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <system_error>
#include <utility>

#include "zentora/core/file_util.h"
#include "zentora/core/text_table.h"

namespace fs = std::filesystem;

namespace zentora {
namespace {

// The splitter reads "@x" in its output name as a tag variable and "+" as a blank; such names
// are written under a plain temporary name and renamed afterwards.
bool SplitterMangles(const std::string& name) {
  return name.find_first_of("@+") != std::string::npos;
}

std::string StagedName() {
  static std::atomic<unsigned> counter{0};
  return ".zentora-cut-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

bool NonEmptyFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec) && fs::file_size(path, ec) > 0 && !ec;
}

fs::path StagedPath(const CutRequest& request, const std::string& stagedName) {
  return fs::path(OutputFolder(request.output)) / (stagedName + ".mp3");
}

}  // namespace

std::string SplitterTimeText(int32_t ms) {
  const int32_t cs = ms / 10;
  const int32_t minutes = cs / 6000;
  const int32_t seconds = (cs - minutes * 6000) / 100;
  const int32_t hundredths = cs - (minutes * 60 + seconds) * 100;
  return std::to_string(minutes) + "." + std::to_string(seconds) + "." + std::to_string(hundredths);
}

std::string WithMp3Extension(const std::string& chosen) {
  return EndsWithNoCase(chosen, ".mp3") ? chosen : chosen + ".mp3";
}

SaveTarget CheckSaveTarget(const std::string& outputPath, const std::string& openPath) {
  MakeWritable(outputPath);
  std::error_code ec;
  if (AsciiLower(outputPath) == AsciiLower(openPath) ||
      fs::equivalent(fs::path(outputPath), fs::path(openPath), ec)) {
    return SaveTarget::SelfOverwrite;
  }
  return fs::exists(fs::path(outputPath), ec) ? SaveTarget::Exists : SaveTarget::Free;
}

std::string FileNamePart(const std::string& path) {
  return fs::path(path).filename().string();
}

int WriteTest(const std::string& outputPath, std::string* errorText) {
  FILE* file = std::fopen(outputPath.c_str(), "wb");
  if (file == nullptr) {
    if (errorText != nullptr) *errorText = FormatText(kTextCreateFailed, {ErrnoText(errno)});
    return 0;
  }
  std::fclose(file);
  std::remove(outputPath.c_str());
  return 1;
}

std::string OutputFolder(const std::string& outputPath) {
  std::string folder = fs::path(outputPath).parent_path().string();
  if (folder.empty()) return ".";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string OutputName(const std::string& outputPath) {
  return fs::path(outputPath).stem().string();
}

std::vector<std::string> SplitterArguments(const std::string& tool, const CutRequest& request,
                                           const std::string& outputName) {
  std::vector<std::string> args = {tool,
                                   request.input,
                                   SplitterTimeText(request.pointA),
                                   SplitterTimeText(request.pointB),
                                   "-d",
                                   OutputFolder(request.output),
                                   "-o",
                                   outputName};
  if (request.frameMode) args.push_back("-f");
  return args;
}

CutJob::CutJob() = default;

CutJob::~CutJob() {
  if (state_ == State::Running) abandon();
}

namespace {

// The splitter run for a staged name: a shell gets the staged path, the output path and the
// splitter's argument vector as positional parameters (none is parsed as shell text), runs
// the splitter and gives the staged file its final name. Being part of the detached process,
// the renaming happens even when the program has ended in the meantime, so no hidden file
// outlives a cancelled cut.
std::vector<std::string> StagedRun(const fs::path& staged, const std::string& output,
                                   std::vector<std::string> splitter) {
  static constexpr const char* kScript =
      "staged=$1; output=$2; shift 2; \"$@\"; status=$?; "
      "if [ \"$status\" -eq 0 ] && [ -s \"$staged\" ]; then "
      "mv -f -- \"$staged\" \"$output\" || status=1; fi; "
      "rm -f -- \"$staged\"; exit \"$status\"";
  std::vector<std::string> argv = {"/bin/sh",       "-c",  kScript, "zentora-cut",
                                   staged.string(), output};
  argv.insert(argv.end(), std::make_move_iterator(splitter.begin()),
              std::make_move_iterator(splitter.end()));
  return argv;
}

}  // namespace

void CutJob::start(const CutRequest& request, const std::string& toolPath) {
  request_ = request;
  const std::string name = OutputName(request.output);
  const std::string tool = toolPath.empty() ? FindTool(kSplitterName) : toolPath;
  std::vector<std::string> argv;
  if (SplitterMangles(name)) {
    const std::string staged = StagedName();
    argv = StagedRun(StagedPath(request, staged), request.output,
                     SplitterArguments(tool, request, staged));
  } else {
    argv = SplitterArguments(tool, request, name);
  }
  state_ = State::Running;
  if (tool.empty() || !process_->start(argv)) state_ = State::Failed;
}

CutJob::State CutJob::finish() {
  const bool ok = process_->exitStatus() == 0;
  state_ = ok && NonEmptyFile(fs::path(request_.output)) ? State::Succeeded : State::Failed;
  return state_;
}

CutJob::State CutJob::poll() {
  if (state_ != State::Running) return state_;
  if (!process_->finished()) return State::Running;
  return finish();
}

CutJob::State CutJob::wait() {
  if (state_ != State::Running) return state_;
  process_->wait();
  return finish();
}

void CutJob::abandon() {
  if (state_ != State::Running) return;
  state_ = State::Failed;
  process_->abandon();  // the splitter still writes the output under its final name
}

std::string CutJob::resultText() const {
  return state_ == State::Succeeded ? LoadText(kTextCutDone) : CutFailedText();
}

}  // namespace zentora
