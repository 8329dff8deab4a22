// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two time formats of the time panel and the position bar's drag label.
#include <cstdint>
#include <string>

namespace zentora {

// "hh:mm:ss"; a negative time shows as "00:00:00"; hours past 99 take the digits they need.
std::string ShortTimeText(int32_t ms);
// "hh:mm:ss.mmm"; a negative time shows as "00:00:00.000".
std::string LongTimeText(int32_t ms);

}  // namespace zentora
