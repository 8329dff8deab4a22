// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into voxtrelle-cli by a test: every fsync() first sends the process SIGINT, as if
// the user pressed Ctrl+C just when a finished file goes to the disk before it is renamed.
#include <dlfcn.h>
#include <signal.h>

extern "C" int fsync(int fd) {
  using Fsync = int (*)(int);
  static const auto real = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
  raise(SIGINT);
  return real(fd);
}
