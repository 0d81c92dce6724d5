// The current local date and time in parts, with milliseconds, as the
// Windows local-time call gives it. Local time follows the process's time
// zone (TZ is read again on every call).
//
// A Windows build puts the real call behind this header (LocalTime_win32.cpp).
#pragma once

#include <ctime>

#include "druvo/platform/Export.h"

namespace druvo {

struct TLocalTime {
  unsigned short Year = 0;
  unsigned short Month = 0;  // 1 to 12
  unsigned short Day = 0;    // 1 to 31
  unsigned short Hour = 0;
  unsigned short Minute = 0;
  unsigned short Second = 0;  // 0 to 59 (a leap second is held at 59)
  unsigned short Millisecond = 0;
};

DRUVO_API TLocalTime CurrentLocalTime();

// The parts of `local`, a calendar time broken down as localtime gives it,
// with `nanoseconds` past its second (milliseconds cut, not rounded).
DRUVO_API TLocalTime LocalTimeParts(const std::tm& local, long nanoseconds);

}  // namespace druvo
