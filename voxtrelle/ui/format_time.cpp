// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/format_time.h"

#include <cstdio>

namespace voxtrelle {

std::string FormatTime(double ms) {
  if (ms < 0) return std::string();
  int h = static_cast<int>(ms * 2.7777777777777776e-7);
  double r = ms - h * 3600000.0;
  // The reciprocal products can fall a hair short of a whole unit (3600000 x 1/3600000 gives
  // 0.99999...); a full unit left in the remainder moves up.
  if (r >= 3600000.0) {
    ++h;
    r -= 3600000.0;
  }
  int m = static_cast<int>(r * 1.6666666666666667e-5);
  r -= m * 60000.0;
  if (r >= 60000.0) {
    ++m;
    r -= 60000.0;
  }
  int s = static_cast<int>(r * 0.001);
  if (r - s * 1000.0 >= 1000.0) ++s;
  int f = static_cast<int>(r - s * 1000.0 + 0.5);
  // A remainder of 999.5 ms or more rounds up to the next whole second.
  if (f >= 1000) {
    f -= 1000;
    if (++s == 60) {
      s = 0;
      if (++m == 60) {
        m = 0;
        ++h;
      }
    }
  }
  char text[48];
  if (h > 0) {
    std::snprintf(text, sizeof text, "%d:%02d:%02d.%03d", h, m, s, f);
  } else {
    std::snprintf(text, sizeof text, "%02d:%02d.%03d", m, s, f);
  }
  return text;
}

}  // namespace voxtrelle
