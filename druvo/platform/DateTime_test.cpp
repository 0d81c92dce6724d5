#include "druvo/platform/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "druvo/platform/Exceptions.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::MessageOf;

std::string DecodeDateText(TDateTime value) {
  unsigned short year = 0, month = 0, day = 0;
  DecodeDate(value, year, month, day);
  return std::to_string(year) + "-" + std::to_string(month) + "-" +
         std::to_string(day);
}

std::string DecodeTimeText(TDateTime value) {
  unsigned short hour = 0, min = 0, sec = 0, msec = 0;
  DecodeTime(value, hour, min, sec, msec);
  return std::to_string(hour) + ":" + std::to_string(min) + ":" +
         std::to_string(sec) + "." + std::to_string(msec);
}

TEST(DateTime, KnownDayCountsRoundTrip) {
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  EXPECT_EQ(DecodeDateText(36526), "2000-1-1");
  EXPECT_EQ(DecodeDateText(2958465.999), "9999-12-31");
  EXPECT_EQ(DecodeDateText(45356.75), "2024-3-5");
  // Outside the runtime's years nothing is decoded.
  EXPECT_EQ(DecodeDateText(-693594), "0-0-0");
  EXPECT_EQ(DecodeDateText(2958466), "0-0-0");
  EXPECT_EQ(DecodeDateText(NAN), "0-0-0");
  EXPECT_EQ(DecodeDateText(1e300), "0-0-0");
}

TEST(DateTime, LeapYearsAndMonthLengths) {
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_EQ(DaysInAMonth(2000, 2), 29);
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(2024, 4), 30);
  EXPECT_EQ(DaysInAMonth(2024, 13), 0);
  TDateTime date = -1;
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, date));
  EXPECT_EQ(date, 45351);
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, date));
  EXPECT_EQ(date, 45351);  // untouched on failure
}

TEST(DateTime, ImpossibleDatesAndTimesRaiseConvertError) {
  const std::string date_error = "Invalid argument to date encode";
  EXPECT_EQ(MessageOf<EConvertError>([] { EncodeDate(2023, 2, 29); }),
            date_error);
  EXPECT_EQ(MessageOf<EConvertError>([] { EncodeDate(2024, 13, 1); }),
            date_error);
  EXPECT_EQ(MessageOf<EConvertError>([] { EncodeDate(2024, 4, 31); }),
            date_error);
  EXPECT_EQ(MessageOf<EConvertError>([] { EncodeDate(0, 1, 1); }), date_error);
  EXPECT_EQ(MessageOf<EConvertError>([] { EncodeDate(10000, 1, 1); }),
            date_error);
  const std::string time_error = "Invalid argument to time encode";
  EXPECT_EQ(MessageOf<EConvertError>([] { EncodeTime(24, 0, 0, 0); }),
            time_error);
  EXPECT_EQ(MessageOf<EConvertError>([] { EncodeTime(0, 60, 0, 0); }),
            time_error);
  EXPECT_EQ(MessageOf<EConvertError>([] { EncodeTime(0, 0, 0, 1000); }),
            time_error);
  TDateTime time = -1;
  EXPECT_FALSE(TryEncodeTime(23, 59, 60, 0, time));
  EXPECT_TRUE(TryEncodeTime(23, 59, 59, 999, time));
  EXPECT_EQ(DecodeTimeText(time), "23:59:59.999");
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
}

TEST(DateTime, DayOfWeekStartsOnSunday) {
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3)), 1);  // Sunday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 9) + 0.99), 7);
  EXPECT_EQ(DayOfWeek(0), 7);  // 30 Dec 1899, a Saturday
  EXPECT_EQ(DayOfWeek(-1.5), 6);
  EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);  // a Monday
}

TEST(DateTime, NegativeDayCountsCountTimeAwayFromZero) {
  EXPECT_EQ(DecodeDateText(-1.25), "1899-12-29");
  EXPECT_EQ(DecodeTimeText(-1.25), "6:0:0.0");
  // A date before day 0 combined with a time is date minus time.
  const TDateTime moment =
      EncodeDate(1800, 7, 14) - EncodeTime(13, 45, 30, 250);
  EXPECT_EQ(DecodeDateText(moment), "1800-7-14");
  EXPECT_EQ(DecodeTimeText(moment), "13:45:30.250");
}

TEST(DateTime, TimeIsRoundedToTheNearestMillisecond) {
  const TDateTime msec = 1.0 / 86400000;
  EXPECT_EQ(DecodeTimeText(EncodeTime(10, 20, 30, 400) + 0.4 * msec),
            "10:20:30.400");
  EXPECT_EQ(DecodeTimeText(EncodeTime(10, 20, 30, 400) + 0.6 * msec),
            "10:20:30.401");
  EXPECT_EQ(DecodeTimeText(EncodeTime(10, 59, 59, 999) + 0.6 * msec),
            "11:0:0.0");
  // Just short of midnight rounds into the next day, date and time alike.
  const TDateTime almost_midnight = 45356 + 1 - 0.2 * msec;
  EXPECT_EQ(DecodeTimeText(almost_midnight), "0:0:0.0");
  EXPECT_EQ(DecodeDateText(almost_midnight), "2024-3-6");
  EXPECT_EQ(DayOfWeek(almost_midnight), 4);
  EXPECT_EQ(DecodeDateText(-1 - (1 - 0.2 * msec)), "1899-12-28");
  // Every millisecond of a day survives encode and decode.
  for (unsigned short sec = 0; sec < 60; sec += 7) {
    for (unsigned short ms = 0; ms < 1000; ++ms) {
      const TDateTime value = 45356 + EncodeTime(23, 59, sec, ms);
      unsigned short h, m, s, decoded_ms;
      DecodeTime(value, h, m, s, decoded_ms);
      ASSERT_EQ(s * 1000 + decoded_ms, sec * 1000 + ms);
    }
  }
}

TEST(DateTime, NowAndDateAreTheLocalDay) {
  const TDateTime now = Now();
  const TDateTime today = Date();
  EXPECT_EQ(today, std::trunc(today));
  EXPECT_GE(now, today - 1);  // tolerate a midnight between the calls
  EXPECT_LT(now - today, 1.0);
  EXPECT_GT(today, EncodeDate(2020, 1, 1));
}

}  // namespace
}  // namespace druvo
