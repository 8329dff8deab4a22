// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/audio/throttle.h"

#include <thread>

namespace voxtrelle {

Throttle::Throttle(std::chrono::milliseconds interval, std::chrono::milliseconds sleep)
    : interval_(std::max(interval, std::chrono::milliseconds(55))),
      sleep_(sleep),
      start_(Clock::now()) {}

void Throttle::operator()() {
  const Clock::time_point now = Clock::now();
  // A clock that went backwards counts as an expired interval.
  if (now < start_ || now - start_ > interval_) {
    std::this_thread::sleep_for(sleep_);
    start_ = Clock::now();
  }
}

}  // namespace voxtrelle
