// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

namespace voxtrelle {

// Gives up a little CPU time now and then inside long loops so the rest of the system stays
// responsive: after every `interval` of work it sleeps for `sleep`.
class Throttle {
 public:
  using Clock = std::chrono::steady_clock;
  explicit Throttle(std::chrono::milliseconds interval = std::chrono::milliseconds(110),
                    std::chrono::milliseconds sleep = std::chrono::milliseconds(20));

  // Sleeps when more than the interval has passed since the start or the last sleep.
  void operator()();

  std::chrono::milliseconds interval() const { return interval_; }

 private:
  std::chrono::milliseconds interval_;
  std::chrono::milliseconds sleep_;
  Clock::time_point start_;
};

}  // namespace voxtrelle
