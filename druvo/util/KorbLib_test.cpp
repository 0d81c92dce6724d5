#include "druvo/util/KorbLib.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::Lines;
using test::MessageOf;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using W = std::vector<WideString>;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr int kRandomValues = 100000;
#else
constexpr int kRandomValues = 1000000;
#endif

// The translation of `key` in `section`, "-" when there is none.
WideString Tr(const AnsiString& section, const AnsiString& key) {
  return TMLgTools::GetString(section, key, 0, u"-");
}

TEST(TMLgTools, LoadsSectionsAndKeysFromUtf8File) {
  TMLgTools::Clear();
  TMLgTools::SetString("S", "K", u"kept");
  // A file that cannot be read raises and leaves the store as it was.
  const std::string missing = "/nonexistent/korblib/lang.ini";
  EXPECT_EQ(MessageOf([&] { TMLgTools::LoadFromFile(missing); }),
            "Cannot read file '" + missing + "'");
  EXPECT_THROW(
      TMLgTools::LoadFromFile(std::filesystem::temp_directory_path().string()),
      Exception);
  EXPECT_EQ(Tr("S", "K"), u"kept");

  TempDir dir;
  const std::string file = dir / "translations.ini";
  WriteFile(file,
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
            "Akcja=Łódź");  // no final break
  TMLgTools::LoadFromFile(file);
  EXPECT_EQ(Tr("", "orphan"), u"no section");
  EXPECT_EQ(Tr("Druvo_KUTIL", "Sty"), u" Jan");
  EXPECT_EQ(Tr("Druvo_KUTIL", "Formula"), u"a=b");
  // Keys and sections match exactly.
  for (const char* key : {"NoEquals", "", "# another", "sty"})
    EXPECT_EQ(Tr("Druvo_KUTIL", key), u"-") << key;
  EXPECT_EQ(Tr("Druvo_QLOG", "Sty"), u"-");
  EXPECT_EQ(Tr("Druvo_UVlqIBL", "Akcja"), u"Łódź");

  // A second file adds to and overrides what is loaded.
  WriteFile(file, "[Druvo_KUTIL]\nSty=Jan.\n");
  TMLgTools::LoadFromFile(file);
  EXPECT_EQ(Tr("Druvo_KUTIL", "Sty"), u"Jan.");
  EXPECT_EQ(Tr("S", "K"), u"kept");
  TMLgTools::Clear();
  EXPECT_EQ(Tr("S", "K"), u"-");
}

TEST(TxTools, IgnoresPolishLetterCaseOnlyWhenAsked) {
  const AnsiString upper = Utf8ToAnsi("ŁÓDŹ ŻÓŁW");
  const AnsiString lower = Utf8ToAnsi("łódź żółw");
  TxTools text(upper);
  EXPECT_EQ(text.Compare(lower, true), 0);
  EXPECT_NE(text.Compare(lower, false), 0);
  EXPECT_TRUE(text.ContainsStr(Utf8ToAnsi("łódź"), true));
  EXPECT_FALSE(text.ContainsStr(Utf8ToAnsi("żółw"), false));
  EXPECT_EQ(text.FindStr(Utf8ToAnsi("żÓŁw"), true, 0), 5);
  EXPECT_EQ(text.CountStr(Utf8ToAnsi("ó"), true), 2);
  EXPECT_EQ(text.CountStr(Utf8ToAnsi("ó"), false), 0);
  EXPECT_EQ(text.Str2Str(Utf8ToAnsi("łódź"), "X", true),
            "X" + Utf8ToAnsi(" ŻÓŁW"));
}

TEST(TxTools, FindsNonOverlappingOccurrencesFromStart) {
  TxTools text("abcabcab");
  EXPECT_EQ(text.FindStr("ab", false, 1), 3);
  EXPECT_EQ(text.FindStr("ab", false, 6), 6);
  EXPECT_EQ(text.FindStr("ab", false, 7), -1);
  EXPECT_EQ(text.FindStr("ab", false, -5), 0);
  EXPECT_EQ(text.FindStr("", false, 0), -1);
  EXPECT_EQ(TxTools("aaaa").CountStr("aa", false), 2);
  EXPECT_EQ(TxTools("aaa").CountStr("", false), 0);
  EXPECT_EQ(TxTools("aaaaa").Str2Str("aa", "b", false), "bba");
  EXPECT_EQ(TxTools("a.b.c").Str2Str(".", "..", false), "a..b..c");
  EXPECT_EQ(TxTools("abc").Str2Str("", "x", false), "abc");
}

TEST(TxTools, ExtractAndDeleteClampToText) {
  TxTools text("abcdef");
  EXPECT_EQ(text.ExtractFrom(4, 10), "ef");
  EXPECT_EQ(text.ExtractFrom(9, 1), "");
  EXPECT_EQ(text.ExtractFrom(-3, 2), "ab");
  EXPECT_EQ(text.ExtractFrom(1, -1), "");
  EXPECT_EQ(text.DelCharsFrom(2, 3), "abf");
  EXPECT_EQ(text.DelCharsFrom(4, 10), "abcd");
}

TEST(TxTools, CharacterSetOperations) {
  TxTools number("PL 123-456 78");
  EXPECT_EQ(number.DelAnyOtherChar("0123456789"), "12345678");
  EXPECT_TRUE(number.ContainsAnyOtherChar("0123456789"));
  EXPECT_FALSE(TxTools("2024").ContainsAnyOtherChar("0123456789"));
  EXPECT_TRUE(number.ContainsAnyChar("-+"));
  EXPECT_FALSE(number.ContainsAnyChar(""));
  EXPECT_FALSE(number.ContainsChar('x'));
  EXPECT_EQ(number.AnyChar2Char(" -", '_'), "PL_123_456_78");
  EXPECT_EQ(number.Chars2Str(' ', "&nbsp;"), "PL&nbsp;123-456&nbsp;78");
  // Bytes above 127 are ordinary members of a set.
  EXPECT_EQ(TxTools(Utf8ToAnsi("zażółć")).DelAnyOtherChar(Utf8ToAnsi("żółć")),
            Utf8ToAnsi("żółć"));
}

TEST(TxTools, ParseLineFieldsKeepsEmptyFields) {
  TStringList list;
  list.Add(u"before");  // fields are added to what the list holds
  EXPECT_EQ(TxTools(Utf8ToAnsi(";a;;ż;")).ParseLineFields(&list, ';'), 5);
  EXPECT_EQ(Lines(list), (W{u"before", u"", u"a", u"", u"ż", u""}));
  EXPECT_EQ(TxTools("").ParseLineFields(&list, ';'), 0);
  EXPECT_EQ(TxTools("a;b").ParseLineFields(nullptr, ';'), 0);
}

TEST(TxfTools, RoundsHalfAwayFromZeroOnShortestDecimal) {
  const double max = std::numeric_limits<double>::max();
  const std::tuple<double, int, double> cases[] = {
      {2.675, 2, 2.68},     {-2.5, 0, -3.0},       {0.1 + 0.2, 2, 0.3},
      {1234.5, -2, 1200.0}, {1250.0, -2, 1300.0},  {99.5, -3, 0.0},
      {1e300, 2, 1e300},    {5e-324, 400, 5e-324}, {max, -400, 0.0},
      {max, -308, max},  // 2e308 does not fit: unchanged
      {kInf, 2, kInf},      {-kInf, 2, -kInf}};
  for (const auto& [value, places, expected] : cases)
    EXPECT_EQ(TxfTools(value).Round(places), expected)
        << value << " " << places;
  EXPECT_TRUE(std::isnan(TxfTools(kNaN).Round(2)));
  // Zero keeps its sign; a value rounded away to zero is +0.
  EXPECT_TRUE(std::signbit(TxfTools(-0.0).Round(2)));
  EXPECT_FALSE(std::signbit(TxfTools(-0.001).Round(2)));
  // Sums of money: rounding after each addition stays exact.
  double sum = 0.0;
  for (int i = 0; i < 10; ++i) sum = TxfTools(sum + 0.1).Round(2);
  EXPECT_EQ(sum, 1.0);
}

// Never "-0"; a minimum above the maximum wins; what the comparison with
// rounding by hand below does not reach.
TEST(TxfTools, ToDBFieldWritesMinToMaxDecimals) {
  const std::tuple<double, int, int, const char*> cases[] = {
      {-0.0, 0, 2, "0"},          {-0.001, 0, 2, "0"},
      {-0.005, 0, 2, "-0.01"},    {9.9999, 2, 3, "10.00"},
      {1e-7, 2, 10, "0.0000001"}, {1234.5, 0, -2, "1200"},
      {1.5, 4, 2, "1.50"},        {kNaN, 0, 2, "NAN"},
      {-kInf, 0, 2, "-INF"},      {1e20, 0, 2, "100000000000000000000"}};
  for (const auto& [value, min, max, text] : cases)
    EXPECT_EQ(TxfTools(value).ToDBField(min, max), text) << value << " " << min;
}

// The slow way, written apart from the library: the shortest text of the
// value in fixed notation, rounded half away from zero digit by digit to
// exactly `places` decimals; `changed` when digits went.
std::string RoundByHand(double value, int places, bool& changed) {
  char b[64];
  const std::string text(
      b, std::to_chars(b, b + 64, value, std::chars_format::scientific).ptr);
  std::string digits;
  for (const char c : text.substr(0, text.find('e'))) {
    if (c >= '0' && c <= '9') digits += c;
  }
  int point = std::stoi(text.substr(text.find('e') + 1)) + 1;
  if (point <= 0) digits.insert(0, 1 - point, '0'), point = 1;
  digits.resize(std::max<std::size_t>(digits.size(), point), '0');
  changed = static_cast<int>(digits.size()) > point + places;
  bool up = changed && digits[point + places] >= '5';
  digits.resize(point + places, '0');
  for (int i = point + places - 1; up && i >= 0; --i) {
    up = digits[i] == '9';
    digits[i] = up ? '0' : static_cast<char>(digits[i] + 1);
  }
  if (up) digits.insert(0, "1"), ++point;
  if (places > 0) digits.insert(point, ".");
  return (value < 0 ? "-" : "") + digits;
}

// A million values (fewer in Debug and sanitizer builds): amounts with a few
// decimals and ties, and doubles of every magnitude the conversion meets.
TEST(TxfTools, NumberTextMatchesRoundingTheShortestTextByHand) {
  std::mt19937_64 random(17);
  const auto pick = [&random](std::uint64_t n) { return random() % n; };
  for (int i = 0, failures = 0; i < kRandomValues && failures < 10; ++i) {
    const double value =
        (pick(2) ? -1.0 : 1.0) *
        (pick(2) ? std::ldexp(double(random() >> 11), int(pick(100)) - 93)
                 : (double(pick(1000000000)) + 0.5 * double(pick(2))) /
                       std::pow(10.0, double(pick(9))));
    const int max = int(pick(9)), min = int(pick(max + 1));
    bool changed = false;
    std::string text = RoundByHand(value, max, changed);
    double rounded = 0;  // the rounded text read back; zero is +0
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    rounded = !changed ? value : rounded + 0.0;
    while (max > min && text.back() == '0' &&
           text.size() - text.find('.') - 1 > std::size_t(min))
      text.pop_back();
    if (text.back() == '.') text.pop_back();
    if (text.find_first_of("123456789") == std::string::npos)
      text.erase(0, text[0] == '-');
    TxfTools read;
    read.FromString(text, 10, true);
    const double got[] = {TxfTools(value).Round(max), read.Value()};
    const double want[] = {rounded, std::stod(text)};
    if (TxfTools(value).ToDBField(min, max) != text ||
        std::memcmp(got, want, sizeof got) != 0) {
      ++failures;
      ADD_FAILURE() << std::setprecision(17) << value << " (" << min << ","
                    << max << ")";
    }
  }
}

TEST(TxfTools, FromStringAcceptsOnlyPlainDecimals) {
  const std::pair<const char*, double> accepted[] = {
      {"0", 0.0}, {"-12.50", -12.5}, {"007.25", 7.25}};
  for (const auto& [text, value] : accepted) {
    TxfTools number;
    EXPECT_TRUE(number.FromString(text, 10, true)) << text;
    EXPECT_EQ(number.Value(), value) << text;
  }
  for (const char* text :
       {"", "-", ".", "1.", ".5", "-.5", "+1", " 1", "1 ", "1,5", "1e5", "1E5",
        "1.2.3", "--1", "0x10", "inf", "nan", "1-", "12a"}) {
    TxfTools number(7.0);
    EXPECT_EQ(
        MessageOf<EConvertError>([&] { number.FromString(text, 10, true); }),
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

TEST(TdtTools, ComparesCalendarDaysAndWritesForms12And13) {
  const TDateTime day = EncodeDate(2024, 3, 15);
  EXPECT_EQ(TdtTools(day + 0.9).DateCompare(day + 0.1), 0);
  EXPECT_LT(TdtTools(day + 0.99).DateCompare(day + 1.0), 0);
  EXPECT_GT(TdtTools(day + 1.0).DateCompare(day + 0.99), 0);
  // Negative day counts: the fraction is the time of the same day.
  EXPECT_EQ(TdtTools(-1.25).DateCompare(-1.75), 0);

  EXPECT_EQ(TdtTools(day + 0.75).ToString(12), "15.03.2024");
  EXPECT_EQ(TdtTools(EncodeDate(987, 2, 1)).ToString(13), "09870201");
  EXPECT_EQ(TdtTools(-1.25).ToString(13), "18991229");
  EXPECT_EQ(MessageOf([&] { TdtTools(day).ToString(14); }),
            "Unsupported date text form 14");
}

TEST(TMacSetOfIntegers, KeepsInsertionOrderWithoutDuplicates) {
  TMacSetOfIntegers set(100);
  for (int value : {3, -1, 0}) EXPECT_TRUE(set.Add(value));
  EXPECT_FALSE(set.Add(-1));
  ASSERT_EQ(set.GetCount(), 3);
  EXPECT_EQ(set.GetValues(2), 0);
  EXPECT_EQ(MessageOf<EListError>([&] { set.GetValues(3); }),
            "List index out of bounds (3)");
  EXPECT_THROW(set.GetValues(-1), EListError);

  TMacSetOfIntegers copy;
  copy.Add(42);
  copy.CopySet(set);
  copy.CopySet(copy);
  EXPECT_EQ(copy.GetValues(1), -1);
  EXPECT_FALSE(copy.Contains(42));
  set.Clear();
  EXPECT_EQ(set.GetCount(), 0);
  EXPECT_EQ(copy.GetCount(), 3);
}

TEST(TMacList, HoldsBorrowedPointers) {
  int first = 1, second = 2;
  TMacList list(100);
  list.Add(&first);
  EXPECT_EQ(list.Add(&second), 1);
  EXPECT_EQ(list.Add(&first), 2);  // duplicates are kept
  EXPECT_EQ(list.GetItems(1), &second);
  EXPECT_EQ(list.GetItems(3), nullptr);
  EXPECT_EQ(list.GetItems(-1), nullptr);
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(first + second, 3);  // still alive: the list owns nothing
}

TEST(TMFile, WritesLinesWithTerminator) {
  TempDir dir;
  const std::string path = dir / "lines.txt";
  {
    TMFile file(path);
    file.WriteLine("Typ:PZ", "\r\n");
    file.WriteLine(Utf8ToAnsi("Nazwa:Łódź"));
    // Written at once: the text is in the file before it is closed.
    EXPECT_EQ(ReadFile(path), "Typ:PZ\r\n" + Utf8ToAnsi("Nazwa:Łódź\r\n"));
  }
  {
    TMFile file(path, true);
    file.WriteLine("", "\n");
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    file.Close();
  }
  EXPECT_EQ(ReadFile(path), "Typ:PZ\r\n" + Utf8ToAnsi("Nazwa:Łódź\r\n\n"));
  TMFile file;
  file.Open(path);
  file.Close();
  EXPECT_EQ(ReadFile(path), "");
}

TEST(TMFile, ReportsFailures) {
  TMFile file;
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
