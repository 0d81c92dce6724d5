#include "druvo/platform/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "druvo/platform/Exceptions.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::MessageOf;

// "year-month-day hour:min:sec.msec" as DecodeDate and DecodeTime give them.
std::string Decoded(TDateTime value) {
  unsigned short y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
  DecodeDate(value, y, mo, d);
  DecodeTime(value, h, mi, s, ms);
  const unsigned short parts[] = {y, mo, d, h, mi, s, ms};
  const char* after[] = {"-", "-", " ", ":", ":", ".", ""};
  std::string text;
  for (int i = 0; i < 7; ++i) text += std::to_string(parts[i]) + after[i];
  return text;
}

TEST(DateTime, DaysCountFrom30December1899AndWeeksFromSunday) {
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  EXPECT_EQ(Decoded(2958465.5), "9999-12-31 12:0:0.0");
  EXPECT_EQ(Decoded(45356.75), "2024-3-5 18:0:0.0");
  // Negative day counts count time away from zero: a date before day 0
  // combined with a time is date minus time.
  EXPECT_EQ(Decoded(-1.25), "1899-12-29 6:0:0.0");
  EXPECT_EQ(Decoded(EncodeDate(1800, 7, 14) - EncodeTime(13, 45, 30, 250)),
            "1800-7-14 13:45:30.250");
  // Outside the runtime's years nothing is decoded.
  for (TDateTime outside : {-693594.0, 2958466.0, double(NAN), 1e300})
    EXPECT_EQ(Decoded(outside).substr(0, 6), "0-0-0 ") << outside;

  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000) && IsLeapYear(2024));
  for (const auto& [month, days] :
       {std::pair{1, 31}, {2, 29}, {4, 30}, {12, 31}, {13, 0}})
    EXPECT_EQ(DaysInAMonth(2024, month), days) << month;
  TDateTime date = -1;
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, date));
  EXPECT_EQ(date, 45351);
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, date));
  EXPECT_EQ(date, 45351);  // untouched on failure

  // Weekdays count from 1 = Sunday.
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3)), 1);
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 9) + 0.99), 7);
  EXPECT_EQ(DayOfWeek(0), 7);                    // 30 Dec 1899, a Saturday
  EXPECT_EQ(DayOfWeek(-1.5), 6);                 // 29 Dec 1899, a Friday
  EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);  // a Monday
}

TEST(DateTime, ImpossibleDatesAndTimesRaiseConvertError) {
  const int dates[][3] = {
      {2023, 2, 29}, {2024, 13, 1}, {2024, 4, 31}, {0, 1, 1}, {10000, 1, 1}};
  for (const auto& d : dates) {
    EXPECT_EQ(MessageOf<EConvertError>([&] { EncodeDate(d[0], d[1], d[2]); }),
              "Invalid argument to date encode")
        << d[0] << "-" << d[1] << "-" << d[2];
  }
  const int times[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 0, 1000}};
  for (const auto& t : times) {
    EXPECT_EQ(
        MessageOf<EConvertError>([&] { EncodeTime(t[0], t[1], t[2], t[3]); }),
        "Invalid argument to time encode");
  }
  TDateTime time = -1;
  EXPECT_FALSE(TryEncodeTime(23, 59, 60, 0, time));
  EXPECT_TRUE(TryEncodeTime(23, 59, 59, 999, time));
  EXPECT_EQ(Decoded(time), "1899-12-30 23:59:59.999");
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
}

TEST(DateTime, TimeIsRoundedToTheNearestMillisecond) {
  const TDateTime msec = 1.0 / 86400000;
  const TDateTime time = EncodeTime(10, 20, 30, 400);
  EXPECT_EQ(Decoded(time + 0.4 * msec), "1899-12-30 10:20:30.400");
  EXPECT_EQ(Decoded(time + 0.6 * msec), "1899-12-30 10:20:30.401");
  EXPECT_EQ(Decoded(EncodeTime(10, 59, 59, 999) + 0.6 * msec),
            "1899-12-30 11:0:0.0");
  // Just short of midnight rounds into the next day, date and time alike.
  const TDateTime almost_midnight = 45356 + 1 - 0.2 * msec;
  EXPECT_EQ(Decoded(almost_midnight), "2024-3-6 0:0:0.0");
  EXPECT_EQ(DayOfWeek(almost_midnight), 4);
  EXPECT_EQ(Decoded(-1 - (1 - 0.2 * msec)), "1899-12-28 0:0:0.0");
  // Every millisecond of a day survives encode and decode.
  for (unsigned short sec = 0; sec < 60; sec += 7) {
    for (unsigned short ms = 0; ms < 1000; ++ms) {
      ASSERT_EQ(
          Decoded(45356 + EncodeTime(23, 59, sec, ms)),
          "2024-3-5 23:59:" + std::to_string(sec) + "." + std::to_string(ms));
    }
  }
}

TEST(DateTime, NowAndDateAreTheLocalDay) {
  const TDateTime now = Now(), today = Date();
  EXPECT_EQ(today, std::trunc(today));
  EXPECT_GE(now, today - 1);  // tolerate a midnight between the calls
  EXPECT_LT(now - today, 1.0);
  EXPECT_GT(today, EncodeDate(2020, 1, 1));
}

}  // namespace
}  // namespace druvo
