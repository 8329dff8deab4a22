// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zentora/core/tool_process.h"

namespace zentora {

// "%d.%d.%d": minutes, seconds, hundredths, unpadded (75430 ms -> "1.15.43").
std::string SplitterTimeText(int32_t ms);

// Save-dialog name rule: ".mp3" appended unless the name already ends in it (any case).
std::string WithMp3Extension(const std::string& chosen);

// Checks of the chosen output, in the order the cut flow makes them.
enum class SaveTarget {
  Free,           // nothing there: go on
  SelfOverwrite,  // the open file itself (case ignored): text 150
  Exists,         // ask text 152 with FileNamePart(outputPath)
};
// Also makes an existing file at outputPath writable, as the flow always does.
SaveTarget CheckSaveTarget(const std::string& outputPath, const std::string& openPath);
// The file part, for text 152.
std::string FileNamePart(const std::string& path);
// Creates (truncating) and deletes outputPath. 1 on success; 0 with *errorText = text 151.
int WriteTest(const std::string& outputPath, std::string* errorText);

// The folder (without a trailing separator, unless it is the root "/") and the name without
// extension that the splitter gets for outputPath.
std::string OutputFolder(const std::string& outputPath);
std::string OutputName(const std::string& outputPath);

struct CutRequest {
  std::string input;
  std::string output;     // after WithMp3Extension
  int32_t pointA = 0;     // ms
  int32_t pointB = 0;     // ms
  bool frameMode = true;  // "逐帧计算" (1034) checked
};

// The splitter's arguments in order: tool, input, A, B, "-d", folder, "-o", name[, "-f"].
std::vector<std::string> SplitterArguments(const std::string& tool, const CutRequest& request,
                                           const std::string& outputName);

// One cut in progress, polled by the cutting dialog every 200 ms.
class CutJob {
 public:
  enum class State { Running, Succeeded, Failed };

  CutJob();
  ~CutJob();
  CutJob(const CutJob&) = delete;
  CutJob& operator=(const CutJob&) = delete;

  // Starts the splitter (found by FindTool, or at toolPath when given). A splitter that
  // cannot be started makes the job Failed at the first poll.
  void start(const CutRequest& request, const std::string& toolPath = std::string());
  // Non-blocking. Succeeded only when the splitter exited with 0 and the output exists and is
  // not empty.
  State poll();
  // Blocks until the job is no longer Running (tests, the bench).
  State wait();
  // "取消": stop waiting, leave the splitter running (its output still lands at the path).
  void abandon();
  // Text for the cutting dialog's static 1023: text 145 or CutFailedText().
  std::string resultText() const;

 private:
  State finish();

  CutRequest request_;
  std::unique_ptr<ToolProcess> process_ = std::make_unique<ToolProcess>();
  State state_ = State::Failed;
};

}  // namespace zentora
