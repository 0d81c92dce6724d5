#include "druvo/platform/AnsiString.h"

#include <gtest/gtest.h>

namespace druvo {
namespace {

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
