// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/cut_job.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <thread>
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

void CutJob::start(const CutRequest& request, const std::string& toolPath) {
  request_ = request;
  stagedName_.clear();
  const std::string name = OutputName(request.output);
  const std::string tool = toolPath.empty() ? FindTool(kSplitterName) : toolPath;
  if (SplitterMangles(name)) stagedName_ = StagedName();
  state_ = State::Running;
  if (tool.empty() || !process_->start(SplitterArguments(
                          tool, request, stagedName_.empty() ? name : stagedName_))) {
    state_ = State::Failed;
  }
}

CutJob::State CutJob::finish() {
  bool ok = process_->exitStatus() == 0;
  if (!stagedName_.empty()) {
    const fs::path staged = StagedPath(request_, stagedName_);
    std::error_code ec;
    if (ok && NonEmptyFile(staged)) fs::rename(staged, fs::path(request_.output), ec);
    if (ec) ok = false;
    fs::remove(staged, ec);
  }
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
  if (stagedName_.empty()) {
    process_->abandon();  // the splitter still writes the output under its final name
    return;
  }
  // The output only gets its final name after the splitter ends, so someone must wait for it.
  auto process = std::exchange(process_, std::make_shared<ToolProcess>());
  std::thread([process, staged = StagedPath(request_, stagedName_),
               output = fs::path(request_.output)] {
    process->wait();
    std::error_code ec;
    if (process->exitStatus() == 0 && NonEmptyFile(staged)) fs::rename(staged, output, ec);
    fs::remove(staged, ec);
  }).detach();
}

std::string CutJob::resultText() const {
  return state_ == State::Succeeded ? LoadText(kTextCutDone) : CutFailedText();
}

}  // namespace zentora
