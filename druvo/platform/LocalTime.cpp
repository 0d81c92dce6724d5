#include "druvo/platform/LocalTime.h"

namespace druvo {

TLocalTime LocalTimeParts(const std::tm& local, long nanoseconds) {
  TLocalTime parts;
  parts.Year = static_cast<unsigned short>(local.tm_year + 1900);
  parts.Month = static_cast<unsigned short>(local.tm_mon + 1);
  parts.Day = static_cast<unsigned short>(local.tm_mday);
  parts.Hour = static_cast<unsigned short>(local.tm_hour);
  parts.Minute = static_cast<unsigned short>(local.tm_min);
  // A leap second (60) is held at 59, as Windows never reports one.
  parts.Second =
      static_cast<unsigned short>(local.tm_sec > 59 ? 59 : local.tm_sec);
  parts.Millisecond = static_cast<unsigned short>(nanoseconds / 1000000);
  return parts;
}

}  // namespace druvo
