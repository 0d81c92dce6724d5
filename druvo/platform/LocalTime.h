// The current local date and time in parts, with milliseconds, as the
// Windows local-time call gives it. Local time follows the process's time
// zone (TZ is read again on every call).
//
// A Windows build puts the real call behind this header (LocalTime_win32.cpp).
#pragma once

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

}  // namespace druvo
