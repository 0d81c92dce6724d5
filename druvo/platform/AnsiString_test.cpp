#include "druvo/platform/AnsiString.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <string_view>

namespace druvo {
namespace {

// The code points of the bytes from 0x80 up, as code page 1250 defines them;
// the five bytes it leaves undefined stand for the code points of their value.
constexpr char16_t kUpperHalf[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088,
    0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018,
    0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122, 0x0161,
    0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC,
    0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5,
    0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E,
    0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110,
    0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E,
    0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2,
    0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD,
    0x0163, 0x02D9,
};

// The lower-case letters above 0x7F that have an upper-case partner in the
// code page, and the partners at the same positions (Unicode's mapping).
constexpr std::string_view kLower =
    "\x9A\x9C\x9D\x9E\x9F\xB3\xB9\xBA\xBE\xBF\xE0\xE1\xE2\xE3"
    "\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF0\xF1"
    "\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE";
constexpr std::string_view kUpper =
    "\x8A\x8C\x8D\x8E\x8F\xA3\xA5\xAA\xBC\xAF\xC0\xC1\xC2\xC3"
    "\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1"
    "\xD2\xD3\xD4\xD5\xD6\xD8\xD9\xDA\xDB\xDC\xDD\xDE";

TEST(AnsiString, CodePageMatchesCp1250BothWaysAndEveryByteRoundTrips) {
  std::string allBytes;
  std::map<char16_t, char> byteOf;
  for (unsigned byte = 0; byte < 256; ++byte) {
    const char16_t code = byte < 0x80 ? byte : kUpperHalf[byte - 0x80];
    EXPECT_EQ(AnsiCharToWide(static_cast<unsigned char>(byte)), code) << byte;
    byteOf[code] = static_cast<char>(byte);
    allBytes += static_cast<char>(byte);
  }
  // A code point outside the code page (surrogates aside) becomes '?'.
  for (char32_t code = 0; code < 0x10000; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF) continue;
    const auto unit = static_cast<char16_t>(code);
    const auto found = byteOf.find(unit);
    ASSERT_EQ(WideToAnsi(std::u16string_view(&unit, 1)),
              std::string(1, found == byteOf.end() ? '?' : found->second))
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
  for (unsigned byte = 0; byte < 256; ++byte) {
    const auto c = static_cast<unsigned char>(byte);
    const std::size_t lower = kLower.find(static_cast<char>(c));
    const std::size_t upper = kUpper.find(static_cast<char>(c));
    unsigned char toUpper = c, toLower = c;
    if (c >= 'a' && c <= 'z') toUpper = c - 32;
    if (c >= 'A' && c <= 'Z') toLower = c + 32;
    if (lower != kLower.npos) toUpper = kUpper[lower];
    if (upper != kUpper.npos) toLower = kLower[upper];
    EXPECT_EQ(AnsiUpperChar(c), toUpper) << byte;
    EXPECT_EQ(AnsiLowerChar(c), toLower) << byte;
    EXPECT_TRUE((toUpper == c || AnsiIsLower(c)) &&
                (toLower == c || AnsiIsUpper(c)))
        << byte;
    EXPECT_EQ(AnsiIsLetter(c), AnsiIsUpper(c) || AnsiIsLower(c)) << byte;
  }
  // ß and µ have no partner in the code page; × and ÷ are not letters.
  EXPECT_EQ(AnsiUpperCase(std::string("\xB9\0b\xDF", 4)),
            std::string("\xA5\0B\xDF", 4));
  EXPECT_EQ(AnsiLowerCase("\xA5Z\xD7"), "\xB9z\xD7");
  EXPECT_TRUE(AnsiIsLower(0xDF) && AnsiIsLower(0xB5));
  EXPECT_FALSE(AnsiIsLetter(0xD7) || AnsiIsLetter(0xF7) || AnsiIsLetter('5'));
}

TEST(AnsiString, Utf8EdgeCases) {
  EXPECT_EQ(AnsiToUtf8("Za\xBF\xF3\xB3\xE6 \x80"), "Zażółć €");
  EXPECT_EQ(Utf8ToWide("😀"), u"\xD83D\xDE00");
  EXPECT_EQ(WideToUtf8(u"\xD83D\xDE00"), "😀");
  EXPECT_EQ(WideToAnsi(u"a\xD83D\xDE00z"), "a?z");
  EXPECT_EQ(WideToUtf8(u"\xD800z\xDC00"), "?z?");  // lone surrogates
  // The ends of the surrogate ranges, a four-byte lead above F0.
  EXPECT_EQ(WideToUtf8(u"\xDBFF\xDFFF"), "\xF4\x8F\xBF\xBF");
  EXPECT_EQ(Utf8ToWide("\xF1\x80\x80\x80"), u"\xD8C0\xDC00");
  EXPECT_EQ(Utf8ToWide(std::string("\0\x7F", 2)), std::u16string(u"\0\x7F", 2));
  // A code point outside the code page gives one '?', even beyond the BMP.
  // Malformed: cut at the end, cut before a letter, stray continuations,
  // overlong (two, three and four bytes), an encoded surrogate, above U+10FFFF,
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
      {"\xF0\x8F\xBF\xBF", "????"},
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
  EXPECT_EQ(Trim(WideString(u"\t ż\u00A0 \n")), u"ż\u00A0");
  EXPECT_EQ(Trim(WideString(u"\u0100")), u"\u0100");  // low byte 0 is no blank
}

}  // namespace
}  // namespace druvo
