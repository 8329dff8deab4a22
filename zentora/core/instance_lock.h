// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

class wxSingleInstanceChecker;

namespace zentora {

// The folder for the program's lock file: $XDG_RUNTIME_DIR, or the temporary folder when that
// is unset, so that no file is left in the user's home folder.
std::string InstanceLockFolder();

// The single-instance object, created at start and kept until the end. Whether another copy
// runs is not examined: a second copy of the program runs normally.
class InstanceLock {
 public:
  InstanceLock();
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // The lock file's full path.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::unique_ptr<wxSingleInstanceChecker> checker_;
};

}  // namespace zentora
