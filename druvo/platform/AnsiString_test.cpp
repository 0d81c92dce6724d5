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
  const AnsiString lower = Utf8ToAnsi("ąćęłńóśźżšťžľş ßµ×÷");
  const AnsiString upper = Utf8ToAnsi("ĄĆĘŁŃÓŚŹŻŠŤŽĽŞ ßµ×÷");
  EXPECT_EQ(AnsiUpperCase(lower), upper);
  EXPECT_EQ(AnsiLowerCase(upper), lower);
  EXPECT_EQ(AnsiUpperCase(std::string("a\0b", 3)), std::string("A\0B", 3));
  EXPECT_TRUE(AnsiIsLower(0xDF) && AnsiIsLower(0xB5));
  EXPECT_FALSE(AnsiIsLetter(0xD7) || AnsiIsLetter(0xF7) || AnsiIsLetter('5'));
}

TEST(AnsiString, Utf8EdgeCases) {
  EXPECT_EQ(AnsiToUtf8("Za\xBF\xF3\xB3\xE6 \x80"), "Zażółć €");
  EXPECT_EQ(Utf8ToWide("😀"), u"\xD83D\xDE00");
  EXPECT_EQ(WideToUtf8(u"\xD83D\xDE00"), "😀");
  EXPECT_EQ(WideToAnsi(u"a\xD83D\xDE00z"), "a?z");
  EXPECT_EQ(WideToUtf8(u"\xD800z\xDC00"), "?z?");  // lone surrogates
  EXPECT_EQ(WideToAnsi(u"\xDC00\xD800"), "??");    // reversed surrogates
  EXPECT_EQ(Utf8ToWide("\xC5\xBC\xC5"), u"ż?");
  EXPECT_EQ(Utf8ToWide(std::string("\0\x7F", 2)), std::u16string(u"\0\x7F", 2));
  // A code point outside the code page gives one '?', even beyond the BMP.
  // Malformed: cut at the end, cut before a letter, stray continuations,
  // overlong (two and three bytes), an encoded surrogate, above U+10FFFF,
  // a cut four-byte sequence, bytes that never start a sequence.
  // Each gives one '?' per byte it spans, and the text goes on.
  const std::pair<const char*, const char*> toAnsi[] = {
      {"Zażółć €", "Za\xBF\xF3\xB3\xE6 \x80"},
      {"я😀x", "??x"},
      {"a\xC5", "a?"},
      {"\xE2\x82z", "?z"},
      {"\x80\xBF", "??"},
      {"\xC0\xAF", "??"},
      {"\xE0\x80\xAF", "???"},
      {"\xED\xA0\x80", "???"},
      {"\xF4\x90\x80\x80", "????"},
      {"\xF0\x9F\x98", "?"},
      {"\xFE\xFF", "??"},
      {"", ""}};
  for (const auto& [utf8, ansi] : toAnsi) EXPECT_EQ(Utf8ToAnsi(utf8), ansi);
}

TEST(AnsiString, CompareTextIgnoresCaseOfEveryLetterNarrowAndWide) {
  EXPECT_EQ(AnsiCompareText(Utf8ToAnsi("ŁÓDŹ"), Utf8ToAnsi("łódź")), 0);
  EXPECT_TRUE(AnsiSameText("\x8A\xC8", "\x9A\xE8"));  // ŠČ / šč
  EXPECT_EQ(AnsiCompareText("", ""), 0);
  EXPECT_LT(AnsiCompareText("abc", "ABD"), 0);
  EXPECT_LT(AnsiCompareText("ab", "AB c"), 0);
  EXPECT_GT(AnsiCompareText("ab ", "AB"), 0);
  // Bytes above 127 sort after ASCII (unsigned comparison).
  EXPECT_GT(AnsiCompareText("\xA5", "z"), 0);  // Ą
  EXPECT_LT(AnsiCompareText("z", "\xB9"), 0);  // ą
  EXPECT_NE(AnsiCompareText("\xDF", "SS"), 0);
  EXPECT_FALSE(AnsiSameText("a", "a ") || AnsiSameText("\xA5", "\xA4"));

  EXPECT_GT(AnsiCompareStr("a", "B"), 0);
  EXPECT_LT(AnsiCompareStr("A", "a"), 0);
  EXPECT_GT(AnsiCompareStr("\xB9", "z"), 0);
  EXPECT_EQ(AnsiCompareStr("\xB9", "\xB9"), 0);

  // Wide text by the same tables; other code points are left as they are.
  EXPECT_EQ(WideUpperCase(u"zażółć gęślą jaźń"), u"ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
  EXPECT_EQ(WideLowerCase(u"ŠŤŽĽŞ"), u"šťžľş");
  EXPECT_EQ(WideUpperCase(u"яß?"), u"яß?");
  EXPECT_TRUE(WideSameText(u"ŁÓDŹ", u"łódź"));
  EXPECT_FALSE(WideSameText(u"я", u"Я"));
  EXPECT_LT(WideCompareText(u"a", u"B"), 0);
  EXPECT_GT(WideCompareText(u"ab", u"A"), 0);
}

TEST(AnsiString, TrimRemovesBytesUpToBlank) {
  const std::string padded("\0\x01 \t\r\nab c\x1F \0", 13);
  EXPECT_EQ(Trim(padded), "ab c");
  EXPECT_EQ(TrimLeft(padded), std::string("ab c\x1F \0", 7));
  EXPECT_EQ(TrimRight(padded), std::string("\0\x01 \t\r\nab c", 10));
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // no-break space is not trimmed
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(TrimLeft(""), "");
  EXPECT_EQ(Trim(WideString(u"\t ż\u00A0 \n")), u"ż\u00A0");
  EXPECT_EQ(Trim(WideString(u"\u0100")), u"\u0100");  // low byte 0 is no blank
}

}  // namespace
}  // namespace druvo
