#include "druvo/util/KUTIL.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Exceptions.h"
#include "druvo/util/KorbLib.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::Lines;
using test::MessageOf;
using W = std::vector<WideString>;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kTiny = std::numeric_limits<double>::denorm_min();
constexpr int kMaxInt = std::numeric_limits<int>::max();
constexpr int kMinInt = std::numeric_limits<int>::min();

TEST(KUTIL, FieldsAreCountedBySeparators) {
  const char* fields[] = {"a", "b", "", "d", ""};
  for (int i = -1; i < 5; ++i)
    EXPECT_EQ(LkCzytajPole("a;b;;d", ';', i), i < 0 ? "" : fields[i]) << i;
  EXPECT_EQ(LkCzytajPole("", ';', 0), "");
  EXPECT_EQ(LkIloscPol("a;b;", ';'), 3);

  TStringList list;
  list.Add(u"old");
  LkSplitString("\xA3\xF3\x9F;;b;", ';', &list);
  EXPECT_EQ(Lines(list), (W{u"Łóź", u"", u"b", u""}));
  LkSplitString("", ';', &list);
  EXPECT_EQ(Lines(list), (W{u""}));
}

TEST(KUTIL, PodzielStringBreaksAtLastBlank) {
  const std::tuple<const char*, int, W> cases[] = {
      {"Ala ma kota i psa", 10, {u"Ala ma", u"kota i", u"psa"}},
      // A rest of exactly width - 1 characters is still broken at its blank.
      {"abc defgh", 10, {u"abc", u"defgh"}},
      {"abcdefghi", 10, {u"abcdefghi"}},
      {"abcdefghijklm", 10, {u"abcdefghij", u"klm"}},
      // A blank in front gives an empty line; a blank at the width is dropped.
      {" abcdefghijk", 5, {u"", u"abcde", u"fghij", u"k"}},
      {"abcd efgh", 5, {u"abcd", u"efgh"}},
      {"ab", 1, {u"a", u"b"}},
      {"a b c", 0, {u"a b c"}},
      {"", 10, {}}};
  TStringList list;
  for (const auto& [text, width, lines] : cases) {
    LkPodzielString(text, &list, width);
    EXPECT_EQ(Lines(list), lines) << text << " at " << width;
  }
}

TEST(KUTIL, CleaningKeepsLengthOrTrimsZeros) {
  EXPECT_EQ(ClrCrLf("a\r\nb\n"), "a  b ");
  EXPECT_EQ(LkClearChars("a-b_c\xB3", "-_\xB3"), "a b c ");
  const std::pair<const char*, const char*> zeros[] = {
      {"  007 ", "7"}, {"0 12", "12"}, {"\t0\x01", ""}, {"100", "100"}};
  for (const auto& [text, cleared] : zeros)
    EXPECT_EQ(LkClrLeadZeros(text), cleared) << text;
  EXPECT_TRUE(LkNipCompareOK("123-456-78-90", "1234567890"));
  EXPECT_FALSE(LkNipCompareOK("12 3", "123"));
  EXPECT_FALSE(LkNipCompareOK("pl123", "PL123"));
}

TEST(KUTIL, BackSlashNotationEscapesAndRefusesBackslash) {
  EXPECT_EQ(LkStrBackSlashNotation("a;b\\c", ';'), "a\\;b\\\\c");
  EXPECT_EQ(LkStrBackSlashNotation("", ';'), "");
  const auto refused = [] { LkStrBackSlashNotation("a", '\\'); };
  EXPECT_EQ(MessageOf(refused),
            Utf8ToAnsi("Separator nie może być znakiem: \\"));
  // A plain Exception: one catching conversion errors lets it pass.
  EXPECT_THROW(MessageOf<EConvertError>(refused), Exception);
  TMLgTools::SetString("Druvo_KUTIL", "Exceptio", u"Zły separator");
  EXPECT_EQ(MessageOf(refused), Utf8ToAnsi("Zły separator"));
  TMLgTools::Clear();
}

TEST(KUTIL, StrCmpFollowsPolishAlphabetIgnoringCase) {
  EXPECT_EQ(LkStrCmp(AnsiString("ab"), AnsiString("abc")), -1);
  EXPECT_EQ(LkStrCmp(AnsiString("abc"), AnsiString("ab")), 1);
  EXPECT_EQ(LkStrCmp(Utf8ToAnsi("ąćęłńóśźż"), Utf8ToAnsi("ĄĆĘŁŃÓŚŹŻ")), 0);
  // Each letter of the alphabet sorts after the one before it, in both cases.
  const AnsiString upper = Utf8ToAnsi("AĄBCĆDEĘFGHIJKLŁMNŃOÓPQRSŚTUVWXYZŹŻ");
  const AnsiString lower = Utf8ToAnsi("aąbcćdeęfghijklłmnńoópqrsśtuvwxyzźż");
  for (size_t i = 1; i < upper.size(); ++i) {
    EXPECT_EQ(LkStrCmp(upper.substr(i - 1, 1), lower.substr(i, 1)), -1) << i;
    EXPECT_EQ(LkStrCmp(lower.substr(i, 1), upper.substr(i - 1, 1)), 1) << i;
  }
  // Other high bytes sort before control characters, digits and letters.
  EXPECT_EQ(LkStrCmp("\xA7", "\x01"), -1);
  EXPECT_EQ(LkStrCmp("[", "A"), -1);  // the first letter too
  // The text version stops at a zero byte as the array version does.
  EXPECT_EQ(LkStrCmp(AnsiString("a\0b", 3), AnsiString("a")), 0);

  // At most n positions, none when n is not positive; a longer text is
  // greater whatever byte follows; both overloads.
  const std::tuple<const char*, const char*, int, int> ncmp[] = {
      {"abcX", "ABCy", 3, 0}, {"abcX", "ABCy", 4, -1}, {"ab", "abc", 5, -1},
      {"abc", "ab", 5, 1},    {"ab", "AB", 5, 0},      {"a", "b", -3, 0},
      {"\xA3", "M", 1, -1},   {"a\xA7", "a", 5, 1}};
  for (const auto& [a, b, n, result] : ncmp) {
    EXPECT_EQ(LkStrNCmp(a, b, n), result) << a << " " << b << " " << n;
    EXPECT_EQ(LkStrNCmp(AnsiString(a), AnsiString(b), n), result) << a << b;
  }
  char buffer[8] = "zzzzzzz";
  EXPECT_EQ(LkStrNCpy(buffer, "abcdef", 3), buffer);
  EXPECT_STREQ(buffer, "abc");
  LkStrNCpy(buffer, "xy", 6);
  EXPECT_STREQ(buffer, "xy");
  LkStrNCpy(buffer, "xy", 0);
  EXPECT_STREQ(buffer, "");
}

TEST(KUTIL, ToDoubleScansLikePercentLf) {
  // "1e": an exponent without digits is ignored.
  const std::pair<const char*, double> cases[] = {
      {"12,50", 12.5},     {"1,234,5", 1.234},
      {"abc", 0},          {" \t\n-3.5e2x", -350},
      {"+.5", 0.5},        {"7.", 7},
      {"1e", 1},           {"1e+5.5", 1e5},
      {"0x1.8p1", 3},      {"- 1", 0},
      {"1e400", kInf},     {"-1e-400", 0},
      {"4.9e-324", kTiny}, {"-Infinity", -kInf},
      {"infx", kInf},      {"infinit", 0}};
  for (const auto& [text, value] : cases)
    EXPECT_EQ(LkToDouble(text), value) << text;
  EXPECT_TRUE(std::isnan(LkToDouble("NaN")));
}

TEST(KUTIL, SqlAndVatTexts) {
  EXPECT_EQ(LkToStringSQL("O'Hara"), "'O'Hara'");
  // 0.00005 is just above a half, 2.00005 just below.
  const std::pair<double, const char*> sql[] = {{1.5, "1.5000"},
                                                {-0.25, "-0.2500"},
                                                {0.00005, "0.0001"},
                                                {2.00005, "2.0000"}};
  for (const auto& [value, text] : sql) EXPECT_EQ(LkToFloatSQL(value), text);
  EXPECT_EQ(LkToFloatSQL(1e20), "100000000000000000000.0000");

  EXPECT_EQ(LkVatNaL(850), 8.5);
  for (int code : {-1, -2, -3}) EXPECT_EQ(LkVatNaL(code), 0.0) << code;
  EXPECT_EQ(LkVatNaL(-4), -0.04);
  const std::pair<int, const char*> vat[] = {
      {0, "0 %"}, {2300, "23 %"}, {850, "8.50 %"}, {5, "0.05 %"},
      {-1, "zw"}, {-2, "np"},     {-3, ""}};
  for (const auto& [code, text] : vat) EXPECT_EQ(LkVatNaS(code), text);
}

TEST(KUTIL, PathsUseBackslashOnly) {
  EXPECT_EQ(LkGetFileDir("c:\\a\\b.txt"), "c:\\a");
  EXPECT_EQ(LkGetFileDir("a/b/c.txt"), "");
  EXPECT_EQ(LkGetFileName("c:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(LkGetFileName("c:\\a\\"), "");
  EXPECT_EQ(LkGetFileName("a/b.txt"), "a/b.txt");
  EXPECT_EQ(LkGetShortFileName("c:\\x\\archive.tar.gz"), "archive.tar");
  EXPECT_EQ(LkGetShortFileName("c:\\x.y\\README"), "README");
  EXPECT_EQ(LkGetFileExt("archive.tar.gz"), "gz");
  EXPECT_EQ(LkGetFileExt("c:\\a.b\\c"), "");
  EXPECT_EQ(LkPrepareDir(""), "\\");
  EXPECT_EQ(LkPrepareDir("c:\\x\\"), "c:\\x\\");
  EXPECT_EQ(LkPrepareDir("c:/x"), "c:/x\\");

  // A pattern matches the whole short name, case-sensitively, blanks trimmed.
  const AnsiString path = "c:\\dane\\faktura_01.xml";
  for (const char* pattern :
       {"", "faktura_01", " fak* ", "f?ktura_??", "*_01", "*a*a*", "*"})
    EXPECT_TRUE(LkStrFileCompare(pattern, path)) << pattern;
  for (const char* pattern :
       {"Faktura*", "faktura", "faktura_01.xml", "dane*", "faktura_01?", "*x"})
    EXPECT_FALSE(LkStrFileCompare(pattern, path)) << pattern;
}

TEST(KUTIL, RoundingFunctionsTreatHalvesTheirOwnWay) {
  // round: the base library's rounding (halves away from zero); round2:
  // halves and values less than 1e-9 below a half go up; roundUD: towards
  // +infinity when up > 0, else towards -infinity.
  const std::pair<double, double> cases[] = {
      {round(2.675, 2), 2.68},        {round2(2.345, 2), 2.35},
      {round2(-2.5, 0), -2.0},        {round2(2.4999999995, 0), 3.0},
      {round2(2.4999999, 0), 2.0},    {round2(-2.51, 0), -3.0},
      {round2(1234.5, -1), 1230.0},   {roundUD(1.231, 2, 1), 1.24},
      {roundUD(-1.231, 2, 0), -1.24}, {roundUD(-1.231, 2, 1), -1.23},
      {roundUD(2.0, 0, 1), 2.0}};
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_DOUBLE_EQ(cases[i].first, cases[i].second) << i;
  // sign and frac; iround takes halves up and clamps to int.
  for (const auto& [value, result] :
       {std::pair{-0.1, -1}, {0.0, 0}, {2.0, 1}, {std::nan(""), 0}})
    EXPECT_EQ(sign(value), result) << value;
  EXPECT_EQ((std::vector{sign(-7), sign(0), sign(9)}), (std::vector{-1, 0, 1}));
  EXPECT_EQ(frac(-1.25), 0.75);
  const std::pair<double, int> rounded[] = {
      {2.5, 3},        {-2.5, -2},        {-0.5, 0},        {-0.51, -1},
      {0.49999999, 0}, {std::nan(""), 0}, {1e300, kMaxInt}, {-1e300, kMinInt}};
  for (const auto& [value, result] : rounded)
    EXPECT_EQ(iround(value), result) << value;
}

// Scanning and printing use a dot whatever the C locale says.
TEST(KUTIL, NumbersIgnoreTheCLocale) {
  const test::CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no locale with a decimal comma";
  EXPECT_EQ(LkToDouble(" 1.5e1"), 15.0);
  EXPECT_EQ(LkToFloatSQL(-0.25), "-0.2500");
  EXPECT_EQ(LkVatNaS(850), "8.50 %");
}

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
  for (const double odd : {std::numeric_limits<double>::quiet_NaN(),
                           -std::numeric_limits<double>::infinity()})
    EXPECT_EQ(GetSecondsFromDate(odd), 0);

  // Weeks begin on Sunday, counted from the first of January.
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
  EXPECT_EQ(LkMonth2String(12), Utf8ToAnsi("grudzień"));
  EXPECT_EQ(LkMonth2String(0), "");
  EXPECT_EQ(LkMonth2String(13), "");
  TMLgTools::SetString("Druvo_KUTIL", "AnsiStri_00011", u"Grudeň");
  EXPECT_EQ(LkMonth2String(12), Utf8ToAnsi("Grudeň"));
  TMLgTools::Clear();
}

}  // namespace
}  // namespace druvo
