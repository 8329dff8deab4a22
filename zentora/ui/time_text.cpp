// SPDX-License-Identifier: GPL-3.0-or-later
#include "zentora/ui/time_text.h"

#include <cstdio>

namespace zentora {
namespace {

struct Clock {
  int hours, minutes, seconds, millis;
};

Clock Split(int32_t ms) {
  if (ms < 0) return {0, 0, 0, 0};
  const int hours = ms / 3600000;
  const int s = ms / 1000 - hours * 3600;
  return {hours, s / 60, s % 60, ms % 1000};
}

}  // namespace

std::string ShortTimeText(int32_t ms) {
  const Clock c = Split(ms);
  char text[32];
  std::snprintf(text, sizeof text, "%.2d:%.2d:%.2d", c.hours, c.minutes, c.seconds);
  return text;
}

std::string LongTimeText(int32_t ms) {
  const Clock c = Split(ms);
  char text[40];
  std::snprintf(text, sizeof text, "%.2d:%.2d:%.2d.%.3d", c.hours, c.minutes, c.seconds, c.millis);
  return text;
}

}  // namespace zentora
