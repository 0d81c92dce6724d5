#include "druvo/platform/AnsiString.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cstring>
#include <optional>

namespace druvo {
namespace {

constexpr unsigned char kUndefinedBytes[] = {0x81, 0x83, 0x88, 0x90, 0x98};

bool IsUndefinedByte(int byte) {
  for (unsigned char undefined : kUndefinedBytes) {
    if (byte == undefined) return true;
  }
  return false;
}

// Converts with the C library's iconv; nullopt when iconv refuses the input.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Iconv() {
    if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
  }
  bool Ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  std::optional<std::string> Convert(const std::string& input) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // reset the state
    std::string in = input;
    char out[16];
    char* inPtr = in.data();
    char* outPtr = out;
    size_t inLeft = in.size(), outLeft = sizeof out;
    if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) ==
        static_cast<size_t>(-1)) {
      return std::nullopt;
    }
    return std::string(out, outPtr);
  }

 private:
  iconv_t handle_;
};

std::string Utf16Le(char16_t unit) {
  return {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
}

TEST(AnsiString, EveryByteMatchesIconvAndRoundTrips) {
  Iconv toWide("UTF-16LE", "CP1250");
  ASSERT_TRUE(toWide.Ok());
  std::string allBytes;
  for (int byte = 0; byte < 256; ++byte) {
    allBytes += static_cast<char>(byte);
    const char16_t ours = AnsiCharToWide(static_cast<unsigned char>(byte));
    if (IsUndefinedByte(byte)) {
      EXPECT_EQ(ours, byte);
      continue;
    }
    const auto expected =
        toWide.Convert(std::string(1, static_cast<char>(byte)));
    ASSERT_TRUE(expected.has_value()) << "byte " << byte;
    EXPECT_EQ(Utf16Le(ours), *expected) << "byte " << byte;
  }
  const WideString wide = AnsiToWide(allBytes);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(WideToAnsi(wide), allBytes);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(allBytes)), allBytes);
  EXPECT_EQ(Utf8ToWide(AnsiToUtf8(allBytes)), wide);
  EXPECT_EQ(WideToUtf8(wide), AnsiToUtf8(allBytes));
}

TEST(AnsiString, EveryBmpCodePointMapsAsIconvDoes) {
  Iconv toAnsi("CP1250", "UTF-16LE");
  ASSERT_TRUE(toAnsi.Ok());
  for (char32_t code = 0; code < 0x10000; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF) continue;
    if (code < 0x100 && IsUndefinedByte(static_cast<int>(code))) continue;
    const auto unit = static_cast<char16_t>(code);
    const AnsiString ours = WideToAnsi(std::u16string_view(&unit, 1));
    const auto expected = toAnsi.Convert(Utf16Le(unit));
    ASSERT_EQ(ours, expected.value_or("?"))
        << "code point " << static_cast<unsigned>(code);
  }
  EXPECT_EQ(WideToAnsi(u"\u0081\u0083\u0088\u0090\u0098"),
            "\x81\x83\x88\x90\x98");
}

TEST(AnsiString, CaseTablesFollowUnicodeWithinCodePage) {
  locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  ASSERT_NE(utf8, static_cast<locale_t>(0));
  for (int byte = 0; byte < 256; ++byte) {
    const auto c = static_cast<unsigned char>(byte);
    const wint_t code = AnsiCharToWide(c);
    const auto inPage = [&](wint_t mapped) {
      const char16_t unit = static_cast<char16_t>(mapped);
      const AnsiString back = WideToAnsi(std::u16string_view(&unit, 1));
      return back == "?" && mapped != u'?'
                 ? c
                 : static_cast<unsigned char>(back[0]);
    };
    EXPECT_EQ(AnsiUpperChar(c), inPage(towupper_l(code, utf8)))
        << "byte " << byte;
    EXPECT_EQ(AnsiLowerChar(c), inPage(towlower_l(code, utf8)))
        << "byte " << byte;
    if (AnsiUpperChar(c) != c) {
      EXPECT_TRUE(AnsiIsLower(c));
      EXPECT_EQ(AnsiLowerChar(AnsiUpperChar(c)), c) << "byte " << byte;
    }
    if (AnsiLowerChar(c) != c) {
      EXPECT_TRUE(AnsiIsUpper(c));
      EXPECT_EQ(AnsiUpperChar(AnsiLowerChar(c)), c) << "byte " << byte;
    }
    EXPECT_EQ(AnsiIsLetter(c), AnsiIsUpper(c) || AnsiIsLower(c));
  }
  freelocale(utf8);

  const AnsiString polishUpper =
      "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF";  // ĄĆĘŁŃÓŚŹŻ
  const AnsiString polishLower =
      "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF";  // ąćęłńóśźż
  EXPECT_EQ(AnsiUpperCase(polishLower), polishUpper);
  EXPECT_EQ(AnsiLowerCase(polishUpper), polishLower);
  EXPECT_EQ(AnsiUpperCase("\x9A\x9D\x9E\xBE\xBA"),
            "\x8A\x8D\x8E\xBC\xAA");  // šťžľş
  // ß and µ have no partner in the code page; × and ÷ are not letters.
  EXPECT_EQ(AnsiUpperCase("\xDF\xB5\xD7\xF7"), "\xDF\xB5\xD7\xF7");
  EXPECT_TRUE(AnsiIsLower(0xDF) && AnsiIsLower(0xB5));
  EXPECT_FALSE(AnsiIsLetter(0xD7) || AnsiIsLetter(0xF7) || AnsiIsLetter('5'));
  const std::string embedded("a\0b", 3);
  EXPECT_EQ(AnsiUpperCase(embedded), std::string("A\0B", 3));
}

TEST(AnsiString, Utf8EdgeCases) {
  EXPECT_EQ(AnsiToUtf8("Za\xBF\xF3\xB3\xE6 \x80"), "Zażółć €");
  EXPECT_EQ(Utf8ToAnsi("Zażółć €"), "Za\xBF\xF3\xB3\xE6 \x80");
  // A code point outside the code page gives one '?', even beyond the BMP.
  EXPECT_EQ(Utf8ToAnsi("я😀x"), "??x");
  EXPECT_EQ(Utf8ToWide("😀"), u"\xD83D\xDE00");
  EXPECT_EQ(WideToUtf8(u"\xD83D\xDE00"), "😀");
  EXPECT_EQ(WideToAnsi(u"a\xD83D\xDE00"
                       u"b"),
            "a?b");
  // Lone or reversed surrogates.
  EXPECT_EQ(WideToUtf8(u"\xD800"
                       u"a\xDC00"),
            "?a?");
  EXPECT_EQ(WideToAnsi(u"\xDC00\xD800"), "??");
  // Malformed UTF-8: each broken sequence gives one '?' and the text goes on.
  EXPECT_EQ(Utf8ToAnsi("a\xC5"), "a?");  // cut at the end
  EXPECT_EQ(Utf8ToAnsi("\xE2\x82"
                       "a"),
            "?a");                                    // cut before a letter
  EXPECT_EQ(Utf8ToAnsi("\x80\xBF"), "??");            // stray continuations
  EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??");            // overlong
  EXPECT_EQ(Utf8ToAnsi("\xE0\x80\xAF"), "???");       // overlong
  EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "???");       // encoded surrogate
  EXPECT_EQ(Utf8ToAnsi("\xF4\x90\x80\x80"), "????");  // above U+10FFFF
  EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98"), "?");         // cut four-byte sequence
  EXPECT_EQ(Utf8ToAnsi("\xFE\xFF"), "??");
  EXPECT_EQ(Utf8ToWide("\xC5\xBC\xC5"), u"ż?");
  EXPECT_EQ(Utf8ToWide(std::string("\0\x7F", 2)), std::u16string(u"\0\x7F", 2));
  EXPECT_EQ(Utf8ToAnsi(""), "");
}

TEST(AnsiString, CompareTextIgnoresCaseOfEveryLetter) {
  EXPECT_EQ(AnsiCompareText("\xA3\xD3"
                            "D\x8F",
                            "\xB3\xF3"
                            "d\x9F"),
            0);                                       // ŁÓDŹ / łódź
  EXPECT_TRUE(AnsiSameText("\x8A\xC8", "\x9A\xE8"));  // ŠČ / šč
  EXPECT_LT(AnsiCompareText("abc", "ABD"), 0);
  EXPECT_GT(AnsiCompareText("abd", "ABC"), 0);
  EXPECT_LT(AnsiCompareText("ab", "AB c"), 0);
  EXPECT_GT(AnsiCompareText("ab ", "AB"), 0);
  EXPECT_EQ(AnsiCompareText("", ""), 0);
  // Bytes above 127 sort after ASCII (unsigned comparison).
  EXPECT_GT(AnsiCompareText("\xA5", "z"), 0);  // Ą
  EXPECT_LT(AnsiCompareText("z", "\xB9"), 0);  // ą
  EXPECT_NE(AnsiCompareText("\xDF", "SS"), 0);
  EXPECT_FALSE(AnsiSameText("a", "a "));
  EXPECT_FALSE(AnsiSameText("\xA5", "\xA4"));

  EXPECT_GT(AnsiCompareStr("a", "B"), 0);
  EXPECT_LT(AnsiCompareStr("A", "a"), 0);
  EXPECT_GT(AnsiCompareStr("\xB9", "z"), 0);
  EXPECT_EQ(AnsiCompareStr("\xB9", "\xB9"), 0);
}

TEST(AnsiString, WideCaseUsesTheCodePageTables) {
  EXPECT_EQ(WideUpperCase(u"zażółć gęślą jaźń"), u"ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
  EXPECT_EQ(WideLowerCase(u"ŠŤŽĽŞ"), u"šťžľş");
  EXPECT_EQ(WideUpperCase(u"яß?"),
            u"яß?");  // outside the code page or no partner
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
  EXPECT_EQ(Trim(WideString(u"\u0100")),
            u"\u0100");  // high byte 0x01 is no blank
}

}  // namespace
}  // namespace druvo
