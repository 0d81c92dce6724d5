#include "druvo/platform/DateTime.h"

#include <chrono>
#include <cmath>

#include "druvo/platform/Exceptions.h"
#include "druvo/platform/LocalTime.h"

namespace druvo {

namespace {

namespace chr = std::chrono;

constexpr long long kMSecsPerDay = 86400000;
constexpr chr::sys_days kDayZero{chr::year{1899} / chr::December / 30};
// Day counts of 1 Jan 0001 and 31 Dec 9999, the runtime's valid range.
constexpr long long kFirstDay =
    (chr::sys_days{chr::year{1} / chr::January / 1} - kDayZero).count();
constexpr long long kLastDay =
    (chr::sys_days{chr::year{9999} / chr::December / 31} - kDayZero).count();

// A TDateTime split into its day count and the time of day in milliseconds.
struct TDayAndTime {
  long long Day = 0;
  long long MSec = 0;
  bool Valid = false;
};

// The integer part is the day, the fraction (taken without its sign) the time
// of day. A time that rounds to 24:00 carries into the next day, counted away
// from zero as the fraction is.
TDayAndTime SplitDateTime(TDateTime value) {
  TDayAndTime parts;
  if (!std::isfinite(value) || std::fabs(value) > 1e7) return parts;
  const double whole = std::trunc(value);
  parts.Day = static_cast<long long>(whole);
  parts.MSec = std::llround(std::fabs(value - whole) * kMSecsPerDay);
  if (parts.MSec >= kMSecsPerDay) {
    parts.MSec -= kMSecsPerDay;
    parts.Day += std::signbit(value) ? -1 : 1;
  }
  parts.Valid = true;
  return parts;
}

}  // namespace

bool IsLeapYear(unsigned short year) { return chr::year{year}.is_leap(); }

unsigned short DaysInAMonth(unsigned short year, unsigned short month) {
  if (month < 1 || month > 12) return 0;
  const chr::year_month_day_last last{chr::year{year},
                                      chr::month_day_last{chr::month{month}}};
  return static_cast<unsigned short>(unsigned{last.day()});
}

bool TryEncodeDate(unsigned short year, unsigned short month,
                   unsigned short day, TDateTime& date) {
  if (year < 1 || year > 9999) return false;
  const chr::year_month_day ymd{chr::year{year}, chr::month{month},
                                chr::day{day}};
  if (!ymd.ok()) return false;
  date = static_cast<TDateTime>((chr::sys_days{ymd} - kDayZero).count());
  return true;
}

TDateTime EncodeDate(unsigned short year, unsigned short month,
                     unsigned short day) {
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date))
    throw EConvertError("Invalid argument to date encode");
  return date;
}

bool TryEncodeTime(unsigned short hour, unsigned short min, unsigned short sec,
                   unsigned short msec, TDateTime& time) {
  if (hour >= 24 || min >= 60 || sec >= 60 || msec >= 1000) return false;
  const long long total =
      hour * 3600000LL + min * 60000LL + sec * 1000LL + msec;
  time = static_cast<TDateTime>(total) / kMSecsPerDay;
  return true;
}

TDateTime EncodeTime(unsigned short hour, unsigned short min,
                     unsigned short sec, unsigned short msec) {
  TDateTime time = 0;
  if (!TryEncodeTime(hour, min, sec, msec, time))
    throw EConvertError("Invalid argument to time encode");
  return time;
}

// Days outside 1 Jan 0001 .. 31 Dec 9999 (and non-finite values) decode as
// year, month and day 0, as the runtime does for days before its first.
void DecodeDate(TDateTime date, unsigned short& year, unsigned short& month,
                unsigned short& day) {
  year = month = day = 0;
  const TDayAndTime parts = SplitDateTime(date);
  if (!parts.Valid || parts.Day < kFirstDay || parts.Day > kLastDay) return;
  const chr::year_month_day ymd{kDayZero + chr::days{parts.Day}};
  year = static_cast<unsigned short>(int{ymd.year()});
  month = static_cast<unsigned short>(unsigned{ymd.month()});
  day = static_cast<unsigned short>(unsigned{ymd.day()});
}

void DecodeTime(TDateTime time, unsigned short& hour, unsigned short& min,
                unsigned short& sec, unsigned short& msec) {
  const long long total = SplitDateTime(time).MSec;
  hour = static_cast<unsigned short>(total / 3600000);
  min = static_cast<unsigned short>(total / 60000 % 60);
  sec = static_cast<unsigned short>(total / 1000 % 60);
  msec = static_cast<unsigned short>(total % 1000);
}

int DayOfWeek(TDateTime date) {
  const TDayAndTime parts = SplitDateTime(date);
  if (!parts.Valid) return 0;
  // Day 0 (30 Dec 1899) was a Saturday.
  return static_cast<int>(((parts.Day + 6) % 7 + 7) % 7) + 1;
}

TDateTime Now() {
  const TLocalTime local = CurrentLocalTime();
  return EncodeDate(local.Year, local.Month, local.Day) +
         EncodeTime(local.Hour, local.Minute, local.Second, local.Millisecond);
}

TDateTime Date() { return std::trunc(Now()); }

}  // namespace druvo
