// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/core/instance_lock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "zentora/core/tests/test_support.h"

namespace zentora {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the scope (or unsets it) and restores the old value.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

bool IsEmptyFolder(const std::string& path) {
  return fs::is_directory(path) && fs::is_empty(path);
}

TEST(InstanceLock, LivesInTheRuntimeFolderNotInHome) {
  testing::TempDir home, runtime;
  ScopedEnv homeEnv("HOME", home.path().c_str());
  ScopedEnv runtimeEnv("XDG_RUNTIME_DIR", runtime.path().c_str());
  {
    InstanceLock lock;
    EXPECT_EQ(lock.path(), runtime.file("ZentoraMutex"));
    EXPECT_TRUE(fs::exists(lock.path()));
    EXPECT_TRUE(IsEmptyFolder(home.path()));
  }
  EXPECT_TRUE(IsEmptyFolder(runtime.path())) << "removed at the end";
  EXPECT_TRUE(IsEmptyFolder(home.path()));
}

TEST(InstanceLock, FallsBackToTheTemporaryFolder) {
  testing::TempDir home, temp;
  ScopedEnv homeEnv("HOME", home.path().c_str());
  ScopedEnv runtimeEnv("XDG_RUNTIME_DIR", nullptr);
  ScopedEnv tempEnv("TMPDIR", temp.path().c_str());
  {
    InstanceLock lock;
    EXPECT_EQ(fs::path(lock.path()).parent_path(), fs::path(temp.path()));
    EXPECT_EQ(fs::path(lock.path()).filename().string().rfind("ZentoraMutex-", 0), 0u);
    EXPECT_TRUE(fs::exists(lock.path()));
    InstanceLock second;  // a second copy is not prevented
    EXPECT_TRUE(IsEmptyFolder(home.path()));
  }
  EXPECT_TRUE(IsEmptyFolder(home.path()));
}

}  // namespace
}  // namespace zentora
