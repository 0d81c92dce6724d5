#include <time.h>

#include "druvo/platform/LocalTime.h"

namespace druvo {

TLocalTime CurrentLocalTime() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  // localtime_r need not look at TZ again; tzset makes a changed zone count.
  ::tzset();
  tm local{};
  ::localtime_r(&now.tv_sec, &local);
  TLocalTime parts;
  parts.Year = static_cast<unsigned short>(local.tm_year + 1900);
  parts.Month = static_cast<unsigned short>(local.tm_mon + 1);
  parts.Day = static_cast<unsigned short>(local.tm_mday);
  parts.Hour = static_cast<unsigned short>(local.tm_hour);
  parts.Minute = static_cast<unsigned short>(local.tm_min);
  parts.Second =
      static_cast<unsigned short>(local.tm_sec > 59 ? 59 : local.tm_sec);
  parts.Millisecond = static_cast<unsigned short>(now.tv_nsec / 1000000);
  return parts;
}

}  // namespace druvo
