#include <windows.h>

#include "druvo/platform/LocalTime.h"

namespace druvo {

TLocalTime CurrentLocalTime() {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  TLocalTime parts;
  parts.Year = local.wYear;
  parts.Month = local.wMonth;
  parts.Day = local.wDay;
  parts.Hour = local.wHour;
  parts.Minute = local.wMinute;
  parts.Second = local.wSecond > 59 ? 59 : local.wSecond;
  parts.Millisecond = local.wMilliseconds;
  return parts;
}

}  // namespace druvo
