#include "druvo/platform/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "druvo/platform/Exceptions.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::MessageOf;
using Limits = std::numeric_limits<double>;

// Sets the decimal separator for one scope and restores it afterwards.
struct SeparatorScope {
  explicit SeparatorScope(char separator) {
    FormatSettings.DecimalSeparator = separator;
  }
  ~SeparatorScope() { FormatSettings.DecimalSeparator = saved; }
  const char saved = FormatSettings.DecimalSeparator;
};

TEST(NumberText, IntegersReadAndWrite) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-9223372036854775807LL - 1), "-9223372036854775808");
  const std::pair<const char*, int> valid[] = {{"  -42 ", -42},
                                               {"2147483647", 2147483647},
                                               {"-2147483648", -2147483647 - 1},
                                               {"$1F", 31},
                                               {"0x1f", 31},
                                               {"-$10", -16},
                                               {"$FFFFFFFF", -1}};
  for (const auto& [text, value] : valid) EXPECT_EQ(StrToInt(text), value);
  EXPECT_EQ(StrToIntDef("12a", -5), -5);
  int value = 99;
  for (const char* bad :
       {"2147483648", "-2147483649", "4294967296", "$100000000",
        "99999999999999999999999", "", " ", "-", "+-1", "1 2", "1.0", "$", "0x",
        "- 1", "$-1", "1e3", "0b1"})
    EXPECT_FALSE(TryStrToInt(bad, value)) << bad;
  EXPECT_EQ(value, 99);
  EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt(" abc"); }),
            "' abc' is not a valid integer value");
}

TEST(NumberText, FloatToStrKeepsFifteenDigitsAndSwitchesToExponentForm) {
  const std::pair<double, const char*> cases[] = {
      {0.1 + 0.2, "0.3"},
      {static_cast<double>(0.1f), "0.100000001490116"},
      {-12.5, "-12.5"},
      {-0.0, "0"},
      {Limits::quiet_NaN(), "NAN"},
      {Limits::infinity(), "INF"},
      {-Limits::infinity(), "-INF"},
      {999999999999999, "999999999999999"},
      {1e15, "1E15"},
      {999999999999999.9, "1E15"},  // rounds up first
      {123456789012345678.0, "1.23456789012346E17"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {0.000099999999999999999, "0.0001"},
      {Limits::max(), "1.79769313486232E308"},
      {Limits::denorm_min(), "4.94065645841247E-324"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(FloatToStr(value), text);
}

TEST(NumberText, StrToFloatAcceptsOnlyPlainDecimals) {
  const std::pair<const char*, double> valid[] = {
      {" 12.5 ", 12.5},
      {"+3", 3},
      {".5", 0.5},
      {"5.", 5},
      {"2.5e-3", 0.0025},
      {"1e-400", 0},
      {"0e999999999999999999", 0},
      {"4.9406564584124654e-324", Limits::denorm_min()}};
  for (const auto& [text, value] : valid) EXPECT_EQ(StrToFloat(text), value);
  double value = 7;
  for (const char* bad :
       {"", "  ", "-", ".", "1.5.1", "1e", "1e+", "e5", "--1", "1 000", "0x10",
        "$10", "INF", "NAN", "1.5x", "1e400", "-1e309"})
    EXPECT_FALSE(TryStrToFloat(bad, value)) << bad;
  EXPECT_EQ(value, 7);
  EXPECT_EQ(MessageOf<EConvertError>([] { StrToFloat("1,5"); }),
            "'1,5' is not a valid floating point value");
}

TEST(NumberText, DecimalSeparatorIsHonouredBothWays) {
  const SeparatorScope comma(',');
  EXPECT_EQ(FloatToStr(-1.5e-7), "-1,5E-7");
  EXPECT_EQ(StrToFloat("12,5"), 12.5);
  EXPECT_EQ(StrToFloat("-1,5E-7"), -1.5e-7);
  EXPECT_EQ(MessageOf<EConvertError>([] { StrToFloat("1.5"); }),
            "'1.5' is not a valid floating point value");
}

TEST(NumberText, IgnoresTheCLocale) {
  const test::CommaLocale locale;
  EXPECT_EQ(FloatToStr(1234.5), "1234.5");
  EXPECT_EQ(StrToFloat("1234.5"), 1234.5);
  double value = 0;
  EXPECT_FALSE(TryStrToFloat("1234,5", value));
}

}  // namespace
}  // namespace druvo
