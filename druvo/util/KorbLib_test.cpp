#include "druvo/util/KorbLib.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "druvo/platform/Exceptions.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::Lines;
using test::MessageOf;
using test::ReadFile;

// A file path in the temporary directory, unique to this process; the file
// is removed when the object goes.
class TempPath {
 public:
  explicit TempPath(const std::string& name)
      : path_((std::filesystem::temp_directory_path() /
               ("korblib_" + std::to_string(getpid()) + "_" + name))
                  .string()) {}
  ~TempPath() { std::filesystem::remove(path_); }
  const std::string& str() const { return path_; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(TMLgTools, ReturnsDefaultUnlessTranslated) {
  TMLgTools::Clear();
  EXPECT_EQ(
      TMLgTools::GetString("Druvo_KUTIL", "Exceptio", 0, u"domy\u015Blny"),
      u"domy\u015Blny");
  TMLgTools::SetString("Druvo_KUTIL", "Exceptio", u"translated");
  EXPECT_EQ(TMLgTools::GetString("Druvo_KUTIL", "Exceptio", 0, u"x"),
            u"translated");
  EXPECT_EQ(TMLgTools::GetString("Druvo_KUTIL", "exceptio", 0, u"x"), u"x");
  EXPECT_EQ(TMLgTools::GetString("Druvo_QLOG", "Exceptio", 0, u"x"), u"x");
  TMLgTools::Clear();
  EXPECT_EQ(TMLgTools::GetString("Druvo_KUTIL", "Exceptio", 0, u"x"), u"x");
}

TEST(TMLgTools, LoadsSectionsAndKeysFromUtf8File) {
  TMLgTools::Clear();
  TempPath file("translations.ini");
  WriteFile(file.str(),
            "\xEF\xBB\xBF"
            "orphan=no section\r\n"
            "; comment\r\n"
            "# another=comment\n"
            "  [ Druvo_KUTIL ]  \r\n"
            "  Sty = Jan\r\n"
            "Formula=a=b\n"
            "NoEquals\n"
            "=empty key\n"
            "\n"
            "[Druvo_UVlqIBL]\n"
            "Akcja=\xC5\x81\xC3\xB3\x64\xC5\xBA");  // "Łódź", no final break
  TMLgTools::LoadFromFile(file.str());

  EXPECT_EQ(TMLgTools::GetString("", "orphan", 0, u"-"), u"no section");
  EXPECT_EQ(TMLgTools::GetString("Druvo_KUTIL", "Sty", 0, u"-"), u" Jan");
  EXPECT_EQ(TMLgTools::GetString("Druvo_KUTIL", "Formula", 0, u"-"), u"a=b");
  EXPECT_EQ(TMLgTools::GetString("Druvo_KUTIL", "NoEquals", 0, u"-"), u"-");
  EXPECT_EQ(TMLgTools::GetString("Druvo_KUTIL", "", 0, u"-"), u"-");
  EXPECT_EQ(TMLgTools::GetString("Druvo_KUTIL", "# another", 0, u"-"), u"-");
  EXPECT_EQ(TMLgTools::GetString("Druvo_UVlqIBL", "Akcja", 0, u"-"),
            u"\u0141\u00F3d\u017A");

  // A second file adds to and overrides what is loaded.
  WriteFile(file.str(), "[Druvo_KUTIL]\nSty=Jan.\n");
  TMLgTools::LoadFromFile(file.str());
  EXPECT_EQ(TMLgTools::GetString("Druvo_KUTIL", "Sty", 0, u"-"), u"Jan.");
  EXPECT_EQ(TMLgTools::GetString("Druvo_KUTIL", "Formula", 0, u"-"), u"a=b");
  TMLgTools::Clear();
}

TEST(TMLgTools, UnreadableFileRaisesAndKeepsStore) {
  TMLgTools::Clear();
  TMLgTools::SetString("S", "K", u"kept");
  const std::string missing = "/nonexistent/korblib/lang.ini";
  EXPECT_EQ(MessageOf([&] { TMLgTools::LoadFromFile(missing); }),
            "Cannot read file '" + missing + "'");
  const std::string directory = std::filesystem::temp_directory_path().string();
  EXPECT_THROW(TMLgTools::LoadFromFile(directory), Exception);
  EXPECT_EQ(TMLgTools::GetString("S", "K", 0, u"-"), u"kept");
  TMLgTools::Clear();
}

TEST(TxTools, IgnoresPolishLetterCaseOnlyWhenAsked) {
  const AnsiString upper = Utf8ToAnsi("ŁÓDŹ ŻÓŁW");
  const AnsiString lower = Utf8ToAnsi("łódź żółw");
  TxTools text(upper);
  EXPECT_EQ(text.Compare(lower, true), 0);
  EXPECT_NE(text.Compare(lower, false), 0);
  EXPECT_EQ(text.Compare(upper, false), 0);
  EXPECT_LT(TxTools("abc").Compare("ABD", true), 0);
  EXPECT_GT(TxTools("abd").Compare("ABC", true), 0);

  EXPECT_TRUE(text.ContainsStr(Utf8ToAnsi("żółw"), true));
  EXPECT_FALSE(text.ContainsStr(Utf8ToAnsi("żółw"), false));
  EXPECT_EQ(text.FindStr(Utf8ToAnsi("żÓŁw"), true, 0), 5);
  EXPECT_EQ(text.CountStr(Utf8ToAnsi("ó"), true), 2);
  EXPECT_EQ(text.CountStr(Utf8ToAnsi("ó"), false), 0);
  EXPECT_EQ(text.Str2Str(Utf8ToAnsi("łódź"), "X", true),
            "X" + Utf8ToAnsi(" ŻÓŁW"));
  EXPECT_EQ(TxTools("PayU Przelewy").ContainsStr("payu", true), true);
}

TEST(TxTools, FindsNonOverlappingOccurrencesFromStart) {
  TxTools text("abcabcab");
  EXPECT_EQ(text.FindStr("ab", false, 0), 0);
  EXPECT_EQ(text.FindStr("ab", false, 1), 3);
  EXPECT_EQ(text.FindStr("ab", false, 6), 6);
  EXPECT_EQ(text.FindStr("ab", false, 7), -1);
  EXPECT_EQ(text.FindStr("ab", false, 100), -1);
  EXPECT_EQ(text.FindStr("ab", false, -5), 0);
  EXPECT_EQ(text.FindStr("", false, 0), -1);
  EXPECT_FALSE(text.ContainsStr("", false));

  EXPECT_EQ(TxTools("aaaa").CountStr("aa", false), 2);
  EXPECT_EQ(TxTools("aaa").CountStr("aa", false), 1);
  EXPECT_EQ(TxTools("aaa").CountStr("", false), 0);
  EXPECT_EQ(TxTools("aaaaa").Str2Str("aa", "b", false), "bba");
  EXPECT_EQ(TxTools("a.b.c").Str2Str(".", "..", false), "a..b..c");
  EXPECT_EQ(TxTools("abc").Str2Str("", "x", false), "abc");
  EXPECT_EQ(TxTools("").Str2Str("a", "x", false), "");
}

TEST(TxTools, ExtractAndDeleteClampToText) {
  TxTools text("abcdef");
  EXPECT_EQ(text.ExtractFrom(2, 3), "cde");
  EXPECT_EQ(text.ExtractFrom(4, 10), "ef");
  EXPECT_EQ(text.ExtractFrom(6, 1), "");
  EXPECT_EQ(text.ExtractFrom(9, 1), "");
  EXPECT_EQ(text.ExtractFrom(-3, 2), "ab");
  EXPECT_EQ(text.ExtractFrom(1, -1), "");
  EXPECT_EQ(text.DelCharsFrom(2, 3), "abf");
  EXPECT_EQ(text.DelCharsFrom(4, 10), "abcd");
  EXPECT_EQ(text.DelCharsFrom(9, 1), "abcdef");
  EXPECT_EQ(text.DelCharsFrom(-1, 1), "bcdef");
  EXPECT_EQ(text.Text(), "abcdef");
}

TEST(TxTools, CharacterSetOperations) {
  TxTools number("PL 123-456 78");
  EXPECT_EQ(number.DelAnyOtherChar("0123456789"), "12345678");
  EXPECT_TRUE(number.ContainsAnyOtherChar("0123456789"));
  EXPECT_FALSE(TxTools("2024").ContainsAnyOtherChar("0123456789"));
  EXPECT_FALSE(TxTools("").ContainsAnyOtherChar("0123456789"));
  EXPECT_TRUE(number.ContainsAnyChar("-+"));
  EXPECT_FALSE(number.ContainsAnyChar(""));
  EXPECT_TRUE(number.ContainsChar(' '));
  EXPECT_FALSE(number.ContainsChar('x'));
  EXPECT_EQ(number.AnyChar2Char(" -", '_'), "PL_123_456_78");
  EXPECT_EQ(number.Chars2Str(' ', "&nbsp;"), "PL&nbsp;123-456&nbsp;78");
  EXPECT_EQ(number.Chars2Str('-', ""), "PL 123456 78");
  // Bytes above 127 are ordinary members of a set.
  const AnsiString polish = Utf8ToAnsi("zażółć");
  EXPECT_EQ(TxTools(polish).DelAnyOtherChar(Utf8ToAnsi("żółć")),
            Utf8ToAnsi("żółć"));
}

TEST(TxTools, ParseLineFieldsKeepsEmptyFields) {
  TStringList list;
  list.Add(u"before");
  EXPECT_EQ(
      TxTools(Utf8ToAnsi("warszawski zachodni")).ParseLineFields(&list, ' '),
      2);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Strings(1), u"warszawski");
  EXPECT_EQ(list.Strings(2), u"zachodni");

  list.Clear();
  EXPECT_EQ(TxTools(Utf8ToAnsi(";a;;ż;")).ParseLineFields(&list, ';'), 5);
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(list.Strings(0), u"");
  EXPECT_EQ(list.Strings(2), u"");
  EXPECT_EQ(list.Strings(3), u"\u017C");
  EXPECT_EQ(list.Strings(4), u"");

  list.Clear();
  EXPECT_EQ(TxTools("").ParseLineFields(&list, ';'), 0);
  EXPECT_EQ(TxTools("abc").ParseLineFields(&list, ';'), 1);
  EXPECT_EQ(list.Strings(0), u"abc");
  EXPECT_EQ(TxTools("a;b").ParseLineFields(nullptr, ';'), 0);
}

TEST(TxfTools, RoundsHalfAwayFromZeroOnShortestDecimal) {
  struct Case {
    double value;
    int places;
    double expected;
  };
  const Case cases[] = {
      {2.675, 2, 2.68},      {1.005, 2, 1.01},
      {-2.5, 0, -3.0},       {2.5, 0, 3.0},
      {0.125, 2, 0.13},      {-0.125, 2, -0.13},
      {2.674999, 2, 2.67},   {1.015, 2, 1.02},
      {0.5, 0, 1.0},         {0.49, 0, 0.0},
      {0.05, 0, 0.0},        {9.995, 2, 10.0},
      {-9.995, 2, -10.0},    {123.456, 5, 123.456},
      {1234.5, -2, 1200.0},  {1250.0, -2, 1300.0},
      {0.3, -1, 0.0},        {1e300, 2, 1e300},
      {0.1 + 0.2, 2, 0.3},   {1234567.891, 2, 1234567.89},
      {5e-324, 400, 5e-324}, {99.5, -3, 0.0},
      {999.5, 0, 1000.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TxfTools(c.value).Round(c.places), c.expected)
        << c.value << " at " << c.places;
  }
  // Sums of money: rounding after each addition stays exact.
  double sum = 0.0;
  for (int i = 0; i < 10; ++i) sum = TxfTools(sum + 0.1).Round(2);
  EXPECT_EQ(sum, 1.0);

  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(TxfTools(inf).Round(2), inf);
  EXPECT_EQ(TxfTools(-inf).Round(2), -inf);
  EXPECT_TRUE(std::isnan(TxfTools(std::nan("")).Round(2)));
  EXPECT_EQ(TxfTools(1.7976931348623157e308).Round(-400), 0.0);
  EXPECT_EQ(TxfTools(1.7976931348623157e308).Round(-308),
            1.7976931348623157e308);  // 2e308 does not fit: unchanged
}

TEST(TxfTools, ToDBFieldWritesMinToMaxDecimals) {
  EXPECT_EQ(TxfTools(10).ToDBField(2, 5), "10.00");
  EXPECT_EQ(TxfTools(9.5).ToDBField(2, 5), "9.50");
  EXPECT_EQ(TxfTools(1.234567).ToDBField(2, 5), "1.23457");
  EXPECT_EQ(TxfTools(2).ToDBField(0, 3), "2");
  EXPECT_EQ(TxfTools(2.5).ToDBField(0, 3), "2.5");
  EXPECT_EQ(TxfTools(0).ToDBField(0, 2), "0");
  EXPECT_EQ(TxfTools(0).ToDBField(2, 5), "0.00");
  EXPECT_EQ(TxfTools(-0.0).ToDBField(0, 2), "0");
  EXPECT_EQ(TxfTools(-0.001).ToDBField(0, 2), "0");
  EXPECT_EQ(TxfTools(-0.005).ToDBField(0, 2), "-0.01");
  EXPECT_EQ(TxfTools(2.675).ToDBField(0, 2), "2.68");
  EXPECT_EQ(TxfTools(9.9999).ToDBField(2, 3), "10.00");
  EXPECT_EQ(TxfTools(-1234567.5).ToDBField(0, 0), "-1234568");
  EXPECT_EQ(TxfTools(0.000123).ToDBField(0, 6), "0.000123");
  EXPECT_EQ(TxfTools(1e20).ToDBField(0, 2), "100000000000000000000");
  EXPECT_EQ(TxfTools(1e-7).ToDBField(2, 10), "0.0000001");
  EXPECT_EQ(TxfTools(1234.5).ToDBField(0, -2), "1200");
  EXPECT_EQ(TxfTools(1.5).ToDBField(4, 2), "1.50");  // min above max
  EXPECT_EQ(TxfTools(std::nan("")).ToDBField(0, 2), "NAN");
  EXPECT_EQ(TxfTools(-std::numeric_limits<double>::infinity()).ToDBField(0, 2),
            "-INF");
}

TEST(TxfTools, FromStringAcceptsOnlyPlainDecimals) {
  struct Accepted {
    const char* text;
    double value;
  };
  for (const Accepted& c :
       {Accepted{"0", 0.0}, Accepted{"12", 12.0}, Accepted{"-12.50", -12.5},
        Accepted{"007.25", 7.25}, Accepted{"0.1", 0.1},
        Accepted{"123456789.123456", 123456789.123456}}) {
    TxfTools number;
    EXPECT_TRUE(number.FromString(c.text, 10, true)) << c.text;
    EXPECT_EQ(number.Value(), c.value) << c.text;
  }
  for (const char* text :
       {"", "-", ".", "1.", ".5", "-.5", "+1", " 1", "1 ", "1,5", "1e5", "1E5",
        "1.2.3", "--1", "0x10", "inf", "nan", "1-", "12a"}) {
    TxfTools number(7.0);
    EXPECT_EQ(
        MessageOf([&] { number.FromString(text, 10, true); }),
        "'" + std::string(text) + "' is not a valid floating point value");
    EXPECT_FALSE(number.FromString(text, 10, false)) << text;
    EXPECT_EQ(number.Value(), 7.0) << text;
  }
  TxfTools number(7.0);
  EXPECT_THROW(number.FromString(std::string(400, '9'), 10, true),
               EConvertError);
  EXPECT_THROW(number.FromString("12", 16, true), EConvertError);
  EXPECT_FALSE(number.FromString("12", 16, false));
  EXPECT_EQ(number.Value(), 7.0);
}

TEST(TdtTools, ComparesCalendarDaysOnly) {
  const TDateTime day = EncodeDate(2024, 3, 15);
  EXPECT_EQ(TdtTools(day + 0.9).DateCompare(day + 0.1), 0);
  EXPECT_LT(TdtTools(day + 0.99).DateCompare(day + 1.0), 0);
  EXPECT_GT(TdtTools(day + 1.0).DateCompare(day + 0.99), 0);
  // Negative day counts: the fraction is the time of the same day.
  EXPECT_EQ(TdtTools(-1.25).DateCompare(-1.75), 0);
  EXPECT_LT(TdtTools(-2.25).DateCompare(-1.75), 0);
  EXPECT_GT(TdtTools(0.5).DateCompare(-0.5 - 1.0), 0);
}

TEST(TdtTools, WritesForms12And13) {
  const TDateTime date = EncodeDate(2024, 3, 5) + 0.75;
  EXPECT_EQ(TdtTools(date).ToString(12), "05.03.2024");
  EXPECT_EQ(TdtTools(date).ToString(13), "20240305");
  EXPECT_EQ(TdtTools(EncodeDate(987, 12, 31)).ToString(12), "31.12.0987");
  EXPECT_EQ(TdtTools(-1.25).ToString(13), "18991229");
  EXPECT_EQ(MessageOf([&] { TdtTools(date).ToString(14); }),
            "Unsupported date text form 14");
}

TEST(TMacSetOfIntegers, KeepsInsertionOrderWithoutDuplicates) {
  TMacSetOfIntegers set(100);
  EXPECT_TRUE(set.Add(3));
  EXPECT_TRUE(set.Add(-1));
  EXPECT_FALSE(set.Add(3));
  EXPECT_TRUE(set.Add(0));
  ASSERT_EQ(set.GetCount(), 3);
  EXPECT_EQ(set.GetValues(0), 3);
  EXPECT_EQ(set.GetValues(1), -1);
  EXPECT_EQ(set.GetValues(2), 0);
  EXPECT_TRUE(set.Contains(-1));
  EXPECT_FALSE(set.Contains(7));
  EXPECT_EQ(MessageOf([&] { set.GetValues(3); }),
            "List index out of bounds (3)");
  EXPECT_THROW(set.GetValues(-1), EListError);

  TMacSetOfIntegers copy;
  copy.Add(42);
  copy.CopySet(set);
  ASSERT_EQ(copy.GetCount(), 3);
  EXPECT_EQ(copy.GetValues(1), -1);
  EXPECT_FALSE(copy.Contains(42));
  copy.CopySet(copy);
  EXPECT_EQ(copy.GetCount(), 3);
  set.Clear();
  EXPECT_EQ(set.GetCount(), 0);
  EXPECT_EQ(copy.GetCount(), 3);
}

TEST(TMacList, HoldsBorrowedPointers) {
  int first = 1, second = 2;
  TMacList list(100);
  EXPECT_EQ(list.Add(&first), 0);
  EXPECT_EQ(list.Add(&second), 1);
  EXPECT_EQ(list.Add(&first), 2);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetItems(1), &second);
  EXPECT_EQ(list.GetItems(3), nullptr);
  EXPECT_EQ(list.GetItems(-1), nullptr);
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(first + second, 3);  // still alive: the list owns nothing
}

TEST(TMFile, WritesLinesWithTerminator) {
  TempPath path("lines.txt");
  {
    TMFile file(path.str());
    EXPECT_TRUE(file.IsOpen());
    file.WriteLine("Typ:PZ", "\r\n");
    file.WriteLine(Utf8ToAnsi("Nazwa:Łódź"));
    // Written at once: the text is in the file before it is closed.
    EXPECT_EQ(ReadFile(path.str()),
              "Typ:PZ\r\n" + Utf8ToAnsi("Nazwa:Łódź\r\n"));
  }
  {
    TMFile file(path.str(), true);
    file.WriteLine("", "\n");
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    file.Close();
  }
  EXPECT_EQ(ReadFile(path.str()),
            "Typ:PZ\r\n" + Utf8ToAnsi("Nazwa:Łódź\r\n\n"));
  TMFile file;
  file.Open(path.str());
  file.Close();
  EXPECT_EQ(ReadFile(path.str()), "");
}

TEST(TMFile, ReportsFailures) {
  TMFile file;
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(MessageOf([&] { file.WriteLine("x"); }),
            "No file is open for writing");
  const std::string bad = "/nonexistent/korblib/out.txt";
  EXPECT_EQ(MessageOf([&] { file.Open(bad); }),
            "Cannot open file '" + bad + "'");
  EXPECT_FALSE(file.IsOpen());
  EXPECT_THROW(TMFile{bad}, Exception);

  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  file.Open("/dev/full");
  EXPECT_EQ(MessageOf([&] { file.WriteLine("Typ:PZ"); }),
            "Cannot write to file '/dev/full'");
  EXPECT_THROW(file.WriteLine(""), Exception);
}

}  // namespace
}  // namespace druvo
