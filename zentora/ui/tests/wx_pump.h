// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the wx event loop from a test for a while, so timers, posted events and paints happen.
#include <functional>

namespace zentora::test {

void Pump(int ms);
// Pumps until `done` answers true or `timeoutMs` passed; answers whether it became true.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

}  // namespace zentora::test
