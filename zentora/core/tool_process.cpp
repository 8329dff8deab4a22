// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/tool_process.h"

#include <gio/gio.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace zentora {

// GLib reaps the child on its own worker thread, so polling needs no main loop and an
// abandoned program is still reaped when it ends.
struct ToolProcess::Impl {
  GSubprocess* process = nullptr;

  void release() {
    if (process != nullptr) g_object_unref(process);
    process = nullptr;
  }
};

ToolProcess::ToolProcess() : impl_(std::make_unique<Impl>()) {}

ToolProcess::~ToolProcess() {
  abandon();
}

int ToolProcess::start(const std::vector<std::string>& argv) {
  abandon();
  exitStatus_ = -1;
  if (argv.empty()) return 0;
  std::vector<const char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(a.c_str());
  args.push_back(nullptr);
  GError* error = nullptr;
  // Hidden: no input (stdin is /dev/null), output discarded.
  impl_->process =
      g_subprocess_newv(args.data(),
                        static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDOUT_SILENCE |
                                                      G_SUBPROCESS_FLAGS_STDERR_SILENCE),
                        &error);
  if (impl_->process == nullptr) {
    g_clear_error(&error);
    return 0;
  }
  return 1;
}

bool ToolProcess::finished() {
  if (impl_->process == nullptr) return true;
  // The identifier (the pid) is gone once GLib has reaped the program.
  if (g_subprocess_get_identifier(impl_->process) != nullptr) return false;
  // Returns at once now; it takes GLib's lock, so the status below is the one GLib stored.
  g_subprocess_wait(impl_->process, nullptr, nullptr);
  exitStatus_ = g_subprocess_get_if_exited(impl_->process)
                    ? g_subprocess_get_exit_status(impl_->process)
                    : -1;
  impl_->release();
  return true;
}

void ToolProcess::wait() {
  if (impl_->process == nullptr) return;
  g_subprocess_wait(impl_->process, nullptr, nullptr);
  finished();
}

void ToolProcess::abandon() {
  if (impl_ != nullptr) impl_->release();
}

std::string ProgramFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

std::string FindTool(const std::string& name, const std::string& folder) {
  const std::string dir = folder.empty() ? ProgramFolder() : folder;
  if (!dir.empty()) {
    const std::string beside = dir + "/" + name;
    if (::access(beside.c_str(), X_OK) == 0 && !std::filesystem::is_directory(beside)) {
      return beside;
    }
  }
  gchar* found = g_find_program_in_path(name.c_str());
  if (found == nullptr) return std::string();
  std::string result(found);
  g_free(found);
  return result;
}

std::vector<std::string> RepairArguments(const std::string& tool, const std::string& input) {
  return {tool, "-f", input};
}

void RunRepairBlocking(const std::string& input) {
  const std::string tool = FindTool(kRepairName);
  if (tool.empty()) return;
  ToolProcess process;
  if (process.start(RepairArguments(tool, input))) process.wait();
}

}  // namespace zentora
