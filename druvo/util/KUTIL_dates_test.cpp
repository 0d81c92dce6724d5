#include <gtest/gtest.h>

#include <vector>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Exceptions.h"
#include "druvo/util/KUTIL.h"
#include "druvo/util/KorbLib.h"

namespace druvo {
namespace {

TDateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0) {
  return EncodeDate(y, m, d) + EncodeTime(h, n, s, ms);
}

TEST(KUTIL, DateTextsUseTheirFormats) {
  const TDateTime date = At(2024, 3, 5, 14, 7, 9, 42);
  EXPECT_EQ(Data2String(date), "05.03.2024");
  EXPECT_EQ(Data2SQLString(date), "'2024-03-05'");
  EXPECT_EQ(DataCzas2String(date), "05.03.2024 14:07");
  EXPECT_EQ(DataCzas2StringEx(date), "05.03.2024 14:07:09");
  EXPECT_EQ(DataCzas2StringNoSep(date), "20240305140709");
  EXPECT_EQ(DataCzas2StringNoSepEx(date), "20240305140709042");
  EXPECT_EQ(DataCzas2StringFN(date), "_2024-03-05_14-07");
  EXPECT_EQ(Data2String(At(5, 1, 2)), "02.01.0005");
  EXPECT_EQ(DataCzas2StringNoSepEx(At(2024, 12, 31, 23, 59, 59, 999)),
            "20241231235959999");
  EXPECT_EQ(FmtNrTyg2String(202401), "1 / 2024");
}

TEST(KUTIL, String2DataReadsWidthsAsMaximumDigits) {
  const TDateTime march5 = EncodeDate(2024, 3, 5);
  for (const char* text :
       {"05.03.2024", "5.3.2024", " 5. 3.2024 14:30", "20240305", "2024035"})
    EXPECT_EQ(String2Data(text), march5) << text;
  EXPECT_EQ(String2Data(Data2String(At(1999, 12, 31, 8))),
            EncodeDate(1999, 12, 31));
  // "123.4.2024" reads day "12", then month "3".
  for (const char* text : {"20240230", "123.4.2024", "05.03", "", "abc"})
    EXPECT_THROW(String2Data(text), EConvertError) << text;

  EXPECT_EQ(SQLString2Data(Data2SQLString(At(2000, 2, 29, 12))),
            EncodeDate(2000, 2, 29));
  // Impossible or unquoted dates give 0.
  for (const char* text : {"'2024-02-30'", "2024-03-05", ""})
    EXPECT_EQ(SQLString2Data(text), 0.0) << text;
}

TEST(KUTIL, MakeDateAndTimeLeaveValueOnFailure) {
  TDateTime value = 123.5;
  // "-1" is 65535 as a 16-bit day.
  for (const char* text : {"5.3", "31.2.1999", "-1.1.2024"})
    EXPECT_EQ(MakeDate(value, text), -1) << text;
  EXPECT_EQ(MakeDate(value, nullptr), -1);
  EXPECT_EQ(value, 123.5);
  EXPECT_EQ(MakeDate(value, " 1. 2. 2003xyz"), 0);
  EXPECT_EQ(value, EncodeDate(2003, 2, 1));
  // Parts reach the date encoding as 16-bit words.
  EXPECT_EQ(MakeDate(value, "65541.1.2024"), 0);
  EXPECT_EQ(value, EncodeDate(2024, 1, 5));

  value = 123.5;
  for (const char* text : {"25:00", "7", "7.30"})
    EXPECT_EQ(MakeTime(value, text), -1) << text;
  EXPECT_EQ(value, 123.5);
  EXPECT_EQ(MakeTime(value, "7:5"), 0);
  EXPECT_EQ(value, EncodeTime(7, 5, 0, 0));

  EXPECT_EQ(MakeDateTime(value, "29.2.2000", "23:59"), 0);
  EXPECT_EQ(DataCzas2StringEx(value), "29.02.2000 23:59:00");
  EXPECT_EQ(MakeDateTime(value, "29.2.2000", "24:00"), -1);
  EXPECT_EQ(MakeDateTime(value, "29.2.2001", "12:00"), -1);
  EXPECT_EQ(DataCzas2StringEx(value), "29.02.2000 23:59:00");
}

TEST(KUTIL, MorvikFormsRoundTrip) {
  unsigned char date[4] = {};
  unsigned char time[3] = {};
  const TDateTime newYearsEve = At(1999, 12, 31, 8, 30, 15, 600);
  ToMorvikDate(newYearsEve, date);
  ToMorvikTime(newYearsEve, time);
  EXPECT_EQ(std::vector<int>(date, date + 4),
            (std::vector<int>{19, 99, 12, 31}));
  EXPECT_EQ(std::vector<int>(time, time + 3), (std::vector<int>{8, 30, 15}));
  TDateTime value = 0.0;
  ASSERT_EQ(FromMorvikDateTime(value, date, time), 0);
  EXPECT_EQ(DataCzas2StringNoSepEx(value), "19991231083015000");

  const unsigned char leapDay[4] = {20, 0, 2, 29}, notLeap[4] = {19, 0, 2, 29};
  const unsigned char lastSecond[3] = {23, 59, 59}, badHour[3] = {24, 0, 0};
  ASSERT_EQ(FromMorvikDateTime(value, leapDay, lastSecond), 0);
  EXPECT_EQ(FromMorvikDateTime(value, notLeap, lastSecond), -1);
  EXPECT_EQ(FromMorvikDateTime(value, leapDay, badHour), -1);
  EXPECT_EQ(DataCzas2StringEx(value), "29.02.2000 23:59:59");
}

TEST(KUTIL, CalendarFacts) {
  EXPECT_EQ(LkYear(At(2024, 3, 5, 23, 59)), 2024);
  EXPECT_EQ(LkMonth(At(2024, 3, 5, 23, 59)), 3);
  const int monthYearDays[][3] = {{1, 2023, 31}, {4, 2023, 30}, {2, 1900, 28},
                                  {2, 2000, 29}, {2, 2024, 29}, {2, 2023, 28},
                                  {13, 2024, 0}, {0, 2024, 0}};
  for (const auto& m : monthYearDays)
    EXPECT_EQ(LkDaysInMonth(m[0], m[1]), m[2]) << m[0] << "/" << m[1];

  EXPECT_EQ(GetSecondsFromDate(EncodeDate(2024, 3, 5) + 0.5), 43200);
  EXPECT_EQ(GetSecondsFromDate(1.0 / 86400 * 0.9), 0);  // truncated
}

TEST(KUTIL, WeeksBeginOnSundayFromFirstOfJanuary) {
  const std::pair<TDateTime, int> weeks[] = {
      {EncodeDate(2024, 1, 1), 1},      // a Monday
      {At(2024, 1, 6, 23, 59, 59), 1},  // Saturday night
      {EncodeDate(2024, 1, 7), 2},      // Sunday
      {EncodeDate(2023, 1, 1), 1},      // a Sunday
      {EncodeDate(2023, 12, 31), 53},  {EncodeDate(2022, 1, 1), 1},
      {EncodeDate(2022, 1, 2), 2},     // the year began on Saturday
      {EncodeDate(2000, 12, 31), 54},  // leap, began on Saturday
  };
  for (const auto& [date, week] : weeks)
    EXPECT_EQ(LkWeekOfTheYear(date), week) << Data2String(date);
  EXPECT_EQ(QFmtNrTygRoku(EncodeDate(2000, 12, 31)), 200054);
  EXPECT_EQ(QFmtNrTygRoku(EncodeDate(2001, 1, 1)), 200101);
}

TEST(KUTIL, Month2StringIsTranslatable) {
  EXPECT_EQ(LkMonth2String(1), Utf8ToAnsi("styczeń"));
  EXPECT_EQ(LkMonth2String(10), Utf8ToAnsi("październik"));
  EXPECT_EQ(LkMonth2String(12), Utf8ToAnsi("grudzień"));
  EXPECT_EQ(LkMonth2String(0), "");
  EXPECT_EQ(LkMonth2String(13), "");
  TMLgTools::SetString("Druvo_KUTIL", "AnsiStri_00011", u"December");
  TMLgTools::SetString("Druvo_KUTIL", "AnsiStri_00000", u"Január");
  EXPECT_EQ(LkMonth2String(12), "December");
  EXPECT_EQ(LkMonth2String(1), Utf8ToAnsi("Január"));
  TMLgTools::Clear();
}

}  // namespace
}  // namespace druvo
