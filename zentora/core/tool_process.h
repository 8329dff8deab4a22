// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace zentora {

// One external program started with an argument vector (never through a shell), its output
// discarded. The owner polls it; abandoning it leaves the program running.
class ToolProcess {
 public:
  ToolProcess();
  ~ToolProcess();  // abandons a running program
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  // argv[0] is the program's path. 1 when started; 0 when it could not be started (then
  // finished() is true at once and exitStatus() is -1).
  int start(const std::vector<std::string>& argv);
  // Non-blocking: true once the program has ended (or never started, or was abandoned).
  bool finished();
  // Blocks until the program ends.
  void wait();
  // The exit status once finished normally; -1 when it never started or was killed.
  int exitStatus() const { return exitStatus_; }
  // Stops waiting; the program runs on and is reaped in the background.
  void abandon();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int exitStatus_ = -1;
};

// The running program's folder (from /proc/self/exe).
std::string ProgramFolder();
// A tool by name: the program's folder first (or `folder` when given), then PATH; "" when
// neither has it.
std::string FindTool(const std::string& name, const std::string& folder = std::string());
inline constexpr const char* kSplitterName = "mp3splt";
inline constexpr const char* kRepairName = "mp3val";

// Repair: `mp3val -f INPUT`, run to the end (for callers without a dialog, and tests).
std::vector<std::string> RepairArguments(const std::string& tool, const std::string& input);
void RunRepairBlocking(const std::string& input);

}  // namespace zentora
