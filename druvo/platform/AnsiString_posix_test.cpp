// The code page and case tables checked against the C library (iconv and
// the C.UTF-8 locale) as a reference.
#include "druvo/platform/AnsiString.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <optional>

namespace druvo {
namespace {

// The five bytes CP1250 leaves undefined; they map to the same code points.
bool IsUndefinedByte(unsigned code) {
  return code == 0x81 || code == 0x83 || code == 0x88 || code == 0x90 ||
         code == 0x98;
}

// Converts one character with the C library's iconv; nullopt when refused.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Iconv() {
    if (Ok()) iconv_close(handle_);
  }
  bool Ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  std::optional<std::string> Convert(std::string in) {
    char out[16];
    char *inPtr = in.data(), *outPtr = out;
    size_t inLeft = in.size(), outLeft = sizeof out;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // reset the state
    const bool ok = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) !=
                    static_cast<size_t>(-1);
    return ok ? std::optional(std::string(out, outPtr)) : std::nullopt;
  }

 private:
  iconv_t handle_;
};

std::string Utf16Le(char16_t unit) {
  return {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
}

TEST(AnsiString, CodePageMatchesIconvBothWaysAndEveryByteRoundTrips) {
  Iconv toWide("UTF-16LE", "CP1250"), toAnsi("CP1250", "UTF-16LE");
  ASSERT_TRUE(toWide.Ok() && toAnsi.Ok());
  std::string allBytes;
  for (unsigned byte = 0; byte < 256; ++byte) {
    allBytes += static_cast<char>(byte);
    const std::string expected =
        IsUndefinedByte(byte)
            ? Utf16Le(static_cast<char16_t>(byte))
            : toWide.Convert(allBytes.substr(byte)).value_or("refused");
    EXPECT_EQ(Utf16Le(AnsiCharToWide(static_cast<unsigned char>(byte))),
              expected)
        << byte;
  }
  for (char32_t code = 0; code < 0x10000; ++code) {
    if ((code >= 0xD800 && code <= 0xDFFF) || IsUndefinedByte(code)) continue;
    const auto unit = static_cast<char16_t>(code);
    ASSERT_EQ(WideToAnsi(std::u16string_view(&unit, 1)),
              toAnsi.Convert(Utf16Le(unit)).value_or("?"))
        << "code point " << static_cast<unsigned>(code);
  }
  const WideString wide = AnsiToWide(allBytes);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(WideToAnsi(wide), allBytes);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(allBytes)), allBytes);
  EXPECT_EQ(Utf8ToWide(AnsiToUtf8(allBytes)), wide);
  EXPECT_EQ(WideToUtf8(wide), AnsiToUtf8(allBytes));
}

TEST(AnsiString, CaseTablesFollowUnicodeWithinCodePage) {
  locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  ASSERT_NE(utf8, static_cast<locale_t>(0));
  for (int byte = 0; byte < 256; ++byte) {
    const auto c = static_cast<unsigned char>(byte);
    const wint_t code = AnsiCharToWide(c);
    const auto inPage = [&](wint_t mapped) {  // c itself when not in CP1250
      const char16_t unit = static_cast<char16_t>(mapped);
      const AnsiString back = WideToAnsi(std::u16string_view(&unit, 1));
      return back == "?" && mapped != u'?'
                 ? c
                 : static_cast<unsigned char>(back[0]);
    };
    EXPECT_EQ(AnsiUpperChar(c), inPage(towupper_l(code, utf8))) << byte;
    EXPECT_EQ(AnsiLowerChar(c), inPage(towlower_l(code, utf8))) << byte;
    if (AnsiUpperChar(c) != c) {  // a lower-case letter with a partner
      EXPECT_TRUE(AnsiIsLower(c) && AnsiLowerChar(AnsiUpperChar(c)) == c)
          << byte;
    }
    if (AnsiLowerChar(c) != c) {
      EXPECT_TRUE(AnsiIsUpper(c) && AnsiUpperChar(AnsiLowerChar(c)) == c)
          << byte;
    }
    EXPECT_EQ(AnsiIsLetter(c), AnsiIsUpper(c) || AnsiIsLower(c));
  }
  freelocale(utf8);

  // ß and µ have no partner in the code page; × and ÷ are not letters.
  EXPECT_EQ(AnsiUpperCase(std::string("\xB9\0b\xDF", 4)),
            std::string("\xA5\0B\xDF", 4));
  EXPECT_EQ(AnsiLowerCase("\xA5Z\xD7"), "\xB9z\xD7");
  EXPECT_TRUE(AnsiIsLower(0xDF) && AnsiIsLower(0xB5));
  EXPECT_FALSE(AnsiIsLetter(0xD7) || AnsiIsLetter(0xF7) || AnsiIsLetter('5'));
}

}  // namespace
}  // namespace druvo
