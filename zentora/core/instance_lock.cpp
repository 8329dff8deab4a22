// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/instance_lock.h"

#include <wx/filename.h>
#include <wx/snglinst.h>
#include <wx/utils.h>

#include <cstdlib>

namespace zentora {
namespace {

bool InRuntimeFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return runtime != nullptr && *runtime != '\0';
}

}  // namespace

std::string InstanceLockFolder() {
  if (InRuntimeFolder()) return std::getenv("XDG_RUNTIME_DIR");
  return wxFileName::GetTempDir().utf8_string();
}

InstanceLock::InstanceLock() {
  // The runtime folder belongs to the user; the temporary folder is shared, so the name there
  // carries the user's id.
  const std::string name =
      InRuntimeFolder() ? "ZentoraMutex" : "ZentoraMutex-" + wxGetUserId().utf8_string();
  const std::string folder = InstanceLockFolder();
  path_ = folder + "/" + name;
  checker_ = std::make_unique<wxSingleInstanceChecker>();
  checker_->Create(wxString::FromUTF8(name), wxString::FromUTF8(folder));
}

InstanceLock::~InstanceLock() = default;

}  // namespace zentora
