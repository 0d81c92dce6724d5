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
  return LocalTimeParts(local, now.tv_nsec);
}

}  // namespace druvo
