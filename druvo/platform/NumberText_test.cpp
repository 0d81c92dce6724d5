#include "druvo/platform/NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "druvo/platform/Exceptions.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::MessageOf;

// Sets the decimal separator for one test and restores it afterwards.
class SeparatorScope {
 public:
  explicit SeparatorScope(char separator)
      : saved_(FormatSettings.DecimalSeparator) {
    FormatSettings.DecimalSeparator = separator;
  }
  ~SeparatorScope() { FormatSettings.DecimalSeparator = saved_; }

 private:
  char saved_;
};

TEST(NumberText, IntegersReadAndWrite) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-9223372036854775807LL - 1), "-9223372036854775808");
  EXPECT_EQ(StrToInt("  -42 "), -42);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("0x1f"), 31);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToIntDef("12a", -5), -5);
  int value = 99;
  EXPECT_FALSE(TryStrToInt("2147483648", value));
  EXPECT_FALSE(TryStrToInt("-2147483649", value));
  EXPECT_FALSE(TryStrToInt("$100000000", value));
  EXPECT_FALSE(TryStrToInt("99999999999999999999999", value));
  EXPECT_EQ(value, 99);
  for (const char* bad : {"", " ", "-", "+-1", "1 2", "1.0", "$", "0x", "- 1",
                          "$-1", "1e3", "0b1"})
    EXPECT_FALSE(TryStrToInt(bad, value)) << bad;
  EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt(" abc"); }),
            "' abc' is not a valid integer value");
  EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt("4294967296"); }),
            "'4294967296' is not a valid integer value");
}

TEST(NumberText, FloatToStrKeepsFifteenDigits) {
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStr(0.5), "0.5");
  EXPECT_EQ(FloatToStr(static_cast<double>(0.1f)), "0.100000001490116");
  EXPECT_EQ(FloatToStr(-12.5), "-12.5");
  EXPECT_EQ(FloatToStr(-0.0), "0");
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(NumberText, FloatToStrSwitchesToExponentForm) {
  EXPECT_EQ(FloatToStr(999999999999999), "999999999999999");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(999999999999999.9), "1E15");  // rounds up first
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(123456789012345678.0), "1.23456789012346E17");
  EXPECT_EQ(FloatToStr(-1.23456789012345678e20), "-1.23456789012346E20");
  EXPECT_EQ(FloatToStr(0.0001), "0.0001");
  EXPECT_EQ(FloatToStr(0.00012345), "0.00012345");
  EXPECT_EQ(FloatToStr(0.00001), "1E-5");
  EXPECT_EQ(FloatToStr(0.000099999999999999999), "0.0001");
  EXPECT_EQ(FloatToStr(1.5e-7), "1.5E-7");
  EXPECT_EQ(FloatToStr(-2.5e-300), "-2.5E-300");
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::max()),
            "1.79769313486232E308");
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::denorm_min()),
            "4.94065645841247E-324");
}

TEST(NumberText, StrToFloatAcceptsOnlyPlainDecimals) {
  EXPECT_EQ(StrToFloat(" 12.5 "), 12.5);
  EXPECT_EQ(StrToFloat("-0.25"), -0.25);
  EXPECT_EQ(StrToFloat("+3"), 3);
  EXPECT_EQ(StrToFloat(".5"), 0.5);
  EXPECT_EQ(StrToFloat("5."), 5);
  EXPECT_EQ(StrToFloat("1E3"), 1000);
  EXPECT_EQ(StrToFloat("2.5e-3"), 0.0025);
  EXPECT_EQ(StrToFloat("1e-400"), 0);
  EXPECT_EQ(StrToFloat("0e999999999999999999"), 0);
  EXPECT_EQ(StrToFloat("4.9406564584124654e-324"),
            std::numeric_limits<double>::denorm_min());
  double value = 7;
  for (const char* bad :
       {"", "  ", "-", ".", "1,5", "1.5.1", "1e", "1e+", "e5", "--1", "1 000",
        "0x10", "$10", "INF", "NAN", "1.5x", "1e400", "-1e309"})
    EXPECT_FALSE(TryStrToFloat(bad, value)) << bad;
  EXPECT_EQ(value, 7);
  EXPECT_EQ(MessageOf<EConvertError>([] { StrToFloat("1,5"); }),
            "'1,5' is not a valid floating point value");
  EXPECT_EQ(MessageOf<EConvertError>([] { StrToFloat(""); }),
            "'' is not a valid floating point value");
}

TEST(NumberText, DecimalSeparatorIsHonouredBothWays) {
  {
    const SeparatorScope comma(',');
    EXPECT_EQ(FloatToStr(12.5), "12,5");
    EXPECT_EQ(FloatToStr(-1.5e-7), "-1,5E-7");
    EXPECT_EQ(StrToFloat("12,5"), 12.5);
    EXPECT_EQ(StrToFloat("-1,5E-7"), -1.5e-7);
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToFloat("12.5"); }),
              "'12.5' is not a valid floating point value");
  }
  EXPECT_EQ(FormatSettings.DecimalSeparator, '.');
  EXPECT_EQ(FloatToStr(12.5), "12.5");
}

TEST(NumberText, IgnoresTheCLocale) {
  const test::CommaLocale locale;
  EXPECT_EQ(FloatToStr(1234.5), "1234.5");
  EXPECT_EQ(StrToFloat("1234.5"), 1234.5);
  double value = 0;
  EXPECT_FALSE(TryStrToFloat("1234,5", value));
  EXPECT_EQ(IntToStr(1234567), "1234567");
}

}  // namespace
}  // namespace druvo
