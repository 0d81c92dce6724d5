// The runtime's date and time: TDateTime counts days since 30 Dec 1899, its
// fraction the time of day (1 Jan 2000 is 36526).
//
// Encode* raise EConvertError on impossible values ("Invalid argument to date
// encode" / "Invalid argument to time encode"); TryEncode* answer false
// instead. For negative day counts the fraction is the time of day counted
// from the date's midnight away from zero (-1.25 is 29 Dec 1899, 06:00).
// Decoded times are rounded to the nearest millisecond.
#pragma once

#include "druvo/platform/Export.h"

namespace druvo {

using TDateTime = double;

DRUVO_API bool IsLeapYear(unsigned short year);
DRUVO_API unsigned short DaysInAMonth(unsigned short year,
                                      unsigned short month);

DRUVO_API bool TryEncodeDate(unsigned short year, unsigned short month,
                             unsigned short day, TDateTime& date);
DRUVO_API TDateTime EncodeDate(unsigned short year, unsigned short month,
                               unsigned short day);
DRUVO_API bool TryEncodeTime(unsigned short hour, unsigned short min,
                             unsigned short sec, unsigned short msec,
                             TDateTime& time);
DRUVO_API TDateTime EncodeTime(unsigned short hour, unsigned short min,
                               unsigned short sec, unsigned short msec);

DRUVO_API void DecodeDate(TDateTime date, unsigned short& year,
                          unsigned short& month, unsigned short& day);
DRUVO_API void DecodeTime(TDateTime time, unsigned short& hour,
                          unsigned short& min, unsigned short& sec,
                          unsigned short& msec);

// 1 = Sunday ... 7 = Saturday.
DRUVO_API int DayOfWeek(TDateTime date);

// The local date and time; Date() without the time of day.
DRUVO_API TDateTime Now();
DRUVO_API TDateTime Date();

}  // namespace druvo
