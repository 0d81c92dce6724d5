#include "druvo/util/KUTIL.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "druvo/util/KorbLib.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::Lines;

using WideLines = std::vector<WideString>;

TEST(KUTIL, CzytajPoleAndIloscPolCountSeparators) {
  const AnsiString text = "a;b;;d";
  EXPECT_EQ(LkCzytajPole(text, ';', 0), "a");
  EXPECT_EQ(LkCzytajPole(text, ';', 1), "b");
  EXPECT_EQ(LkCzytajPole(text, ';', 2), "");
  EXPECT_EQ(LkCzytajPole(text, ';', 3), "d");
  EXPECT_EQ(LkCzytajPole(text, ';', 9), "");
  EXPECT_EQ(LkCzytajPole(text, ';', -1), "");
  EXPECT_EQ(LkCzytajPole("", ';', 0), "");
  EXPECT_EQ(LkCzytajPole("\xB3\xF3\xBF;x", ';', 0), "\xB3\xF3\xBF");

  EXPECT_EQ(LkIloscPol("", ';'), 1);
  EXPECT_EQ(LkIloscPol("a;b;", ';'), 3);
  EXPECT_EQ(LkIloscPol("abc", ';'), 1);
}

TEST(KUTIL, SplitStringKeepsEmptyFields) {
  TStringList list;
  list.Add(u"old");
  LkSplitString("a;;b;", ';', &list);
  EXPECT_EQ(Lines(list), (WideLines{u"a", u"", u"b", u""}));
  LkSplitString("", ';', &list);
  EXPECT_EQ(Lines(list), (WideLines{u""}));
  LkSplitString("x;", ';', &list);
  EXPECT_EQ(Lines(list), (WideLines{u"x", u""}));
  LkSplitString("\xA3\xF3\x9F;\xBF", ';', &list);
  EXPECT_EQ(Lines(list), (WideLines{u"Łóź", u"ż"}));
}

TEST(KUTIL, PodzielStringBreaksAtLastBlank) {
  TStringList list;
  LkPodzielString("Ala ma kota i psa", &list, 10);
  EXPECT_EQ(Lines(list), (WideLines{u"Ala ma", u"kota i", u"psa"}));
  // A rest of exactly width - 1 characters is still broken at its blank.
  LkPodzielString("abc defgh", &list, 10);
  EXPECT_EQ(Lines(list), (WideLines{u"abc", u"defgh"}));
  LkPodzielString("abcdefghi", &list, 10);
  EXPECT_EQ(Lines(list), (WideLines{u"abcdefghi"}));
  LkPodzielString("abcdefghijklm", &list, 10);
  EXPECT_EQ(Lines(list), (WideLines{u"abcdefghij", u"klm"}));
  // A blank in front gives an empty line; a blank at the width is dropped.
  LkPodzielString(" abcdefghijk", &list, 5);
  EXPECT_EQ(Lines(list), (WideLines{u"", u"abcde", u"fghij", u"k"}));
  LkPodzielString("abcd efgh", &list, 5);
  EXPECT_EQ(Lines(list), (WideLines{u"abcd", u"efgh"}));
  LkPodzielString("ab", &list, 1);
  EXPECT_EQ(Lines(list), (WideLines{u"a", u"b"}));
  LkPodzielString("a b c", &list, 0);
  EXPECT_EQ(Lines(list), (WideLines{u"a b c"}));
  LkPodzielString("", &list, 10);
  EXPECT_EQ(list.Count(), 0);
}

TEST(KUTIL, CleaningKeepsLengthOrTrimsZeros) {
  EXPECT_EQ(ClrCrLf("a\r\nb\n"), "a  b ");
  EXPECT_EQ(LkClearChars("a-b_c\xB3", "-_\xB3"), "a b c ");
  EXPECT_EQ(LkClearChars("abc", ""), "abc");

  EXPECT_EQ(LkClrLeadZeros("  007 "), "7");
  EXPECT_EQ(LkClrLeadZeros("0 12"), "12");
  EXPECT_EQ(LkClrLeadZeros("0.5"), ".5");
  EXPECT_EQ(LkClrLeadZeros("000"), "");
  EXPECT_EQ(LkClrLeadZeros("\t0\x01"), "");
  EXPECT_EQ(LkClrLeadZeros("100"), "100");

  EXPECT_TRUE(LkNipCompareOK("123-456-78-90", "1234567890"));
  EXPECT_TRUE(LkNipCompareOK("--", ""));
  EXPECT_FALSE(LkNipCompareOK("12 3", "123"));
  EXPECT_FALSE(LkNipCompareOK("pl123", "PL123"));
}

TEST(KUTIL, BackSlashNotationEscapesAndRefusesBackslash) {
  EXPECT_EQ(LkStrBackSlashNotation("a;b\\c", ';'), "a\\;b\\\\c");
  EXPECT_EQ(LkStrBackSlashNotation("", ';'), "");
  try {
    LkStrBackSlashNotation("a", '\\');
    FAIL() << "no exception";
  } catch (const EConvertError&) {
    FAIL() << "the general exception class is expected";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message,
              "Separator nie mo\xBF"
              "e by\xE6 znakiem: \\");
  }
  TMLgTools::SetString("Druvo_KUTIL", "Exceptio", u"Zły separator");
  try {
    LkStrBackSlashNotation("a", '\\');
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Z\xB3y separator");
  }
  TMLgTools::Clear();
}

TEST(KUTIL, StrCmpFollowsPolishAlphabetIgnoringCase) {
  EXPECT_EQ(LkStrCmp(AnsiString("abc"), AnsiString("ABD")), -1);
  EXPECT_EQ(LkStrCmp(AnsiString("\xA3\xF3"
                                "d\x9F"),
                     AnsiString("Lodz")),
            1);
  EXPECT_EQ(LkStrCmp(AnsiString("ab"), AnsiString("abc")), -1);
  EXPECT_EQ(LkStrCmp(AnsiString("abc"), AnsiString("ab")), 1);
  EXPECT_EQ(LkStrCmp(AnsiString(), AnsiString()), 0);
  EXPECT_EQ(LkStrCmp("\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF",
                     "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"),
            0);

  // Each letter of the alphabet sorts after the one before it, in both cases.
  const std::string upper =
      "A\xA5"
      "BC\xC6"
      "DE\xCA"
      "FGHIJKL\xA3"
      "MN\xD1"
      "O\xD3"
      "PQRS\x8C"
      "TUVWXYZ\x8F\xAF";
  const std::string lower =
      "a\xB9"
      "bc\xE6"
      "de\xEA"
      "fghijkl\xB3"
      "mn\xF1"
      "o\xF3"
      "pqrs\x9C"
      "tuvwxyz\x9F\xBF";
  for (size_t i = 1; i < upper.size(); ++i) {
    EXPECT_EQ(LkStrCmp(upper.substr(i - 1, 1), lower.substr(i, 1)), -1) << i;
    EXPECT_EQ(LkStrCmp(lower.substr(i, 1), upper.substr(i - 1, 1)), 1) << i;
  }
  // Other high bytes sort before control characters, digits and letters.
  EXPECT_EQ(LkStrCmp("\xA7", "\x01"), -1);
  EXPECT_EQ(LkStrCmp("\xFF", "0"), -1);
  EXPECT_EQ(LkStrCmp("9", "A"), -1);
  // The text version stops at a zero byte as the array version does.
  EXPECT_EQ(LkStrCmp(AnsiString("a\0b", 3), AnsiString("a")), 0);

  std::vector<AnsiString> names = {
      "\xAF"
      "aba",
      "zebra",
      "\xA3\xF3"
      "d\x9F",
      "Lodz",
      "\xE6ma",
      "Cma",
      "\xB9"
      "b",
      "Ala"};
  std::sort(names.begin(), names.end(),
            [](const auto& a, const auto& b) { return LkStrCmp(a, b) < 0; });
  EXPECT_EQ(names, (std::vector<AnsiString>{"Ala",
                                            "\xB9"
                                            "b",
                                            "Cma", "\xE6ma", "Lodz",
                                            "\xA3\xF3"
                                            "d\x9F",
                                            "zebra",
                                            "\xAF"
                                            "aba"}));
}

TEST(KUTIL, StrNCmpComparesAtMostNPositions) {
  EXPECT_EQ(LkStrNCmp(AnsiString("abcX"), AnsiString("ABCy"), 3), 0);
  EXPECT_EQ(LkStrNCmp(AnsiString("abcX"), AnsiString("ABCy"), 4), -1);
  EXPECT_EQ(LkStrNCmp(AnsiString("ab"), AnsiString("abc"), 5), -1);
  EXPECT_EQ(LkStrNCmp("abc", "ab", 5), 1);
  EXPECT_EQ(LkStrNCmp("ab", "AB", 5), 0);
  EXPECT_EQ(LkStrNCmp("a", "b", 0), 0);
  EXPECT_EQ(LkStrNCmp("a", "b", -3), 0);
  EXPECT_EQ(LkStrNCmp("\xA3", "M", 1), -1);

  char buffer[8] = "zzzzzzz";
  EXPECT_EQ(LkStrNCpy(buffer, "abcdef", 3), buffer);
  EXPECT_STREQ(buffer, "abc");
  LkStrNCpy(buffer, "xy", 6);
  EXPECT_STREQ(buffer, "xy");
  LkStrNCpy(buffer, "xy", 0);
  EXPECT_STREQ(buffer, "");
}

TEST(KUTIL, ToDoubleScansLikePercentLf) {
  EXPECT_EQ(LkToDouble("12,50"), 12.5);
  EXPECT_EQ(LkToDouble("1,234,5"), 1.234);
  EXPECT_EQ(LkToDouble("abc"), 0.0);
  EXPECT_EQ(LkToDouble(""), 0.0);
  EXPECT_EQ(LkToDouble(" \t\n-3.5e2x"), -350.0);
  EXPECT_EQ(LkToDouble("+.5"), 0.5);
  EXPECT_EQ(LkToDouble("7."), 7.0);
  EXPECT_EQ(LkToDouble("1e"), 1.0);  // exponent without digits ignored
  EXPECT_EQ(LkToDouble("1e+5.5"), 1e5);
  EXPECT_EQ(LkToDouble("00012.50"), 12.5);
  EXPECT_EQ(LkToDouble("0x1.8p1"), 3.0);
  EXPECT_EQ(LkToDouble("- 1"), 0.0);
  EXPECT_EQ(LkToDouble("."), 0.0);
  EXPECT_EQ(LkToDouble("1e400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(LkToDouble("-1e-400"), 0.0);
  EXPECT_EQ(LkToDouble("4.9e-324"), std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(LkToDouble("-Infinity"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(LkToDouble("infx"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(LkToDouble("infinit"), 0.0);
  EXPECT_TRUE(std::isnan(LkToDouble("NaN")));
}

TEST(KUTIL, SqlAndVatTexts) {
  EXPECT_EQ(LkToStringSQL("O'Hara"), "'O'Hara'");
  EXPECT_EQ(LkToStringSQL(""), "''");

  EXPECT_EQ(LkToFloatSQL(1.5), "1.5000");
  EXPECT_EQ(LkToFloatSQL(-0.25), "-0.2500");
  EXPECT_EQ(LkToFloatSQL(12.0), "12.0000");
  EXPECT_EQ(LkToFloatSQL(1234567.891), "1234567.8910");
  EXPECT_EQ(LkToFloatSQL(0.00005), "0.0001");  // just above a half
  EXPECT_EQ(LkToFloatSQL(2.00005), "2.0000");  // just below a half
  EXPECT_EQ(LkToFloatSQL(1e20), "100000000000000000000.0000");

  EXPECT_EQ(LkVatNaL(850), 8.5);
  EXPECT_EQ(LkVatNaL(2300), 23.0);
  EXPECT_EQ(LkVatNaL(-1), 0.0);
  EXPECT_EQ(LkVatNaL(-2), 0.0);
  EXPECT_EQ(LkVatNaL(-3), 0.0);
  EXPECT_EQ(LkVatNaL(-4), -0.04);

  EXPECT_EQ(LkVatNaS(0), "0 %");
  EXPECT_EQ(LkVatNaS(2300), "23 %");
  EXPECT_EQ(LkVatNaS(850), "8.50 %");
  EXPECT_EQ(LkVatNaS(5), "0.05 %");
  EXPECT_EQ(LkVatNaS(2305), "23.05 %");
  EXPECT_EQ(LkVatNaS(-1), "zw");
  EXPECT_EQ(LkVatNaS(-2), "np");
  EXPECT_EQ(LkVatNaS(-3), "");
}

TEST(KUTIL, PathsUseBackslashOnly) {
  EXPECT_EQ(LkGetFileDir("c:\\a\\b.txt"), "c:\\a");
  EXPECT_EQ(LkGetFileDir("file.txt"), "");
  EXPECT_EQ(LkGetFileDir("a/b/c.txt"), "");
  EXPECT_EQ(LkGetFileName("c:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(LkGetFileName("c:\\a\\"), "");
  EXPECT_EQ(LkGetFileName("a/b.txt"), "a/b.txt");
  EXPECT_EQ(LkGetShortFileName("c:\\x\\archive.tar.gz"), "archive.tar");
  EXPECT_EQ(LkGetShortFileName("c:\\x.y\\README"), "README");
  EXPECT_EQ(LkGetFileExt("archive.tar.gz"), "gz");
  EXPECT_EQ(LkGetFileExt("c:\\a.b\\c"), "");
  EXPECT_EQ(LkGetFileExt("c:\\a\\b."), "");
  EXPECT_EQ(LkPrepareDir(""), "\\");
  EXPECT_EQ(LkPrepareDir("c:\\x"), "c:\\x\\");
  EXPECT_EQ(LkPrepareDir("c:\\x\\"), "c:\\x\\");
  EXPECT_EQ(LkPrepareDir("c:/x"), "c:/x\\");
}

TEST(KUTIL, FileCompareMatchesShortName) {
  const AnsiString path = "c:\\dane\\faktura_01.xml";
  EXPECT_TRUE(LkStrFileCompare("", path));
  EXPECT_TRUE(LkStrFileCompare("   ", path));
  EXPECT_TRUE(LkStrFileCompare("faktura_01", path));
  EXPECT_TRUE(LkStrFileCompare(" fak* ", path));
  EXPECT_TRUE(LkStrFileCompare("f?ktura_??", path));
  EXPECT_TRUE(LkStrFileCompare("*_01", path));
  EXPECT_TRUE(LkStrFileCompare("*a*a*", path));
  EXPECT_TRUE(LkStrFileCompare("*", path));
  EXPECT_FALSE(LkStrFileCompare("Faktura*", path));  // case-sensitive
  EXPECT_FALSE(LkStrFileCompare("faktura", path));   // whole name
  EXPECT_FALSE(LkStrFileCompare("faktura_01.xml", path));
  EXPECT_FALSE(LkStrFileCompare("dane*", path));
  EXPECT_FALSE(LkStrFileCompare("faktura_01?", path));
  EXPECT_FALSE(LkStrFileCompare("*x", path));
}

TEST(KUTIL, SignFracAndIround) {
  EXPECT_EQ(sign(-0.1), -1);
  EXPECT_EQ(sign(0.0), 0);
  EXPECT_EQ(sign(2.0), 1);
  EXPECT_EQ(sign(std::nan("")), 0);
  EXPECT_EQ(sign(-7), -1);
  EXPECT_EQ(sign(0), 0);
  EXPECT_EQ(sign(9), 1);
  EXPECT_EQ(frac(-1.25), 0.75);
  EXPECT_EQ(frac(2.5), 0.5);

  EXPECT_EQ(iround(2.5), 3);
  EXPECT_EQ(iround(-2.5), -2);
  EXPECT_EQ(iround(-0.5), 0);
  EXPECT_EQ(iround(-0.51), -1);
  EXPECT_EQ(iround(0.49999999), 0);
  EXPECT_EQ(iround(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(iround(-1e300), std::numeric_limits<int>::min());
  EXPECT_EQ(iround(std::nan("")), 0);
}

TEST(KUTIL, RoundingFunctionsTreatHalvesTheirOwnWay) {
  // round: the base library's rounding, halves away from zero.
  EXPECT_DOUBLE_EQ(round(2.675, 2), 2.68);
  EXPECT_DOUBLE_EQ(round(-2.5, 0), -3.0);
  EXPECT_DOUBLE_EQ(round(1.005, 2), 1.01);

  // round2: halves and values less than 1e-9 below a half go up.
  EXPECT_DOUBLE_EQ(round2(2.345, 2), 2.35);
  EXPECT_DOUBLE_EQ(round2(2.5, 0), 3.0);
  EXPECT_DOUBLE_EQ(round2(-2.5, 0), -2.0);
  EXPECT_DOUBLE_EQ(round2(2.4999999995, 0), 3.0);
  EXPECT_DOUBLE_EQ(round2(2.4999999, 0), 2.0);
  EXPECT_DOUBLE_EQ(round2(-2.51, 0), -3.0);
  EXPECT_DOUBLE_EQ(round2(1234.5, -1), 1230.0);

  // roundUD: towards +infinity when up > 0, else towards -infinity.
  EXPECT_DOUBLE_EQ(roundUD(1.231, 2, 1), 1.24);
  EXPECT_DOUBLE_EQ(roundUD(1.239, 2, 0), 1.23);
  EXPECT_DOUBLE_EQ(roundUD(1.239, 2, -1), 1.23);
  EXPECT_DOUBLE_EQ(roundUD(-1.231, 2, 1), -1.23);
  EXPECT_DOUBLE_EQ(roundUD(-1.231, 2, 0), -1.24);
  EXPECT_DOUBLE_EQ(roundUD(2.0, 0, 1), 2.0);
  EXPECT_DOUBLE_EQ(roundUD(2.5, 0, 1), 3.0);
}

// Scanning and printing use a dot whatever the C locale says.
TEST(KUTIL, NumbersIgnoreTheCLocale) {
  const test::CommaLocale locale;
  if (!locale.active()) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  EXPECT_EQ(LkToDouble("12.5"), 12.5);
  EXPECT_EQ(LkToDouble("12,5"), 12.5);
  EXPECT_EQ(LkToDouble(" 1.5e1"), 15.0);
  EXPECT_EQ(LkToFloatSQL(1.5), "1.5000");
  EXPECT_EQ(LkToFloatSQL(-0.25), "-0.2500");
  EXPECT_EQ(LkVatNaS(850), "8.50 %");
}

}  // namespace
}  // namespace druvo
