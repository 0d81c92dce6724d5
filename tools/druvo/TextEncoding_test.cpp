#include "tools/druvo/TextEncoding.h"

#include <gtest/gtest.h>

#include "tools/druvo/CliError.h"

namespace druvo::cli {
namespace {

std::string Declared(const std::string& encoding) {
  return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n<a>";
}

// The message of the CliError `decode` raises, or "" when none.
std::string DecodeError(const std::string& bytes) {
  try {
    DecodeToCp1250(bytes);
  } catch (const CliError& e) {
    return e.what();
  }
  return "";
}

TEST(TextEncoding, DeclarationIsReadLeniently) {
  EXPECT_EQ(DeclaredEncoding(Declared("windows-1250")), "windows-1250");
  EXPECT_EQ(DeclaredEncoding("\xEF\xBB\xBF<?xml encoding = 'latin2' ?><a/>"),
            "latin2");
  EXPECT_EQ(DeclaredEncoding("\r\n <?xml version=\"1.0\"?><a/>"), "");
  EXPECT_EQ(DeclaredEncoding("<a encoding=\"x\"/>"), "");
  EXPECT_EQ(DeclaredEncoding("<?xml encoding=\"unterminated"), "");
  EXPECT_EQ(DeclaredEncoding("<?xml encoding:\"latin2\"?>"), "");
  EXPECT_EQ(DeclaredEncoding(""), "");
}

TEST(TextEncoding, PolishLettersReachCp1250FromEveryEncoding) {
  // "Zażółć" in UTF-8, CP1250 and ISO-8859-2.
  const std::string cp1250 = "Za\xBF\xF3\xB3\xE6";
  EXPECT_EQ(DecodeToCp1250("<?xml?><a>Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87").Text,
            "<?xml?><a>" + cp1250);
  EXPECT_EQ(DecodeToCp1250(Declared("CP1250") + cp1250).Text,
            Declared("CP1250") + cp1250);
  const auto latin2 = DecodeToCp1250(Declared("iso-8859-2") +
                                     "Za\xBF\xF3\xB3\xE6 \xB1\xA1\xB6\xA6");
  EXPECT_EQ(latin2.Text, Declared("iso-8859-2") + cp1250 + " \xB9\xA5\x9C\x8C");
  EXPECT_EQ(latin2.LostCharacters, 0);
}

TEST(TextEncoding, ByteOrderMarkIsDroppedAndMustAgree) {
  EXPECT_EQ(DecodeToCp1250("\xEF\xBB\xBF<a>x</a>").Text, "<a>x</a>");
  EXPECT_EQ(DecodeError("\xEF\xBB\xBF" + Declared("windows-1250")),
            "the file starts with a UTF-8 byte-order mark but declares "
            "encoding 'windows-1250'");
  EXPECT_EQ(DecodeError(std::string("\xFF\xFE<\0a\0", 6)),
            "UTF-16 and UTF-32 files are not supported; save the invoice as "
            "UTF-8");
}

TEST(TextEncoding, UnknownEncodingsAndInvalidBytesAreRefused) {
  EXPECT_EQ(DecodeError(Declared("KOI8-R")),
            "unsupported encoding 'KOI8-R' (supported: UTF-8, windows-1250, "
            "ISO-8859-2, US-ASCII)");
  EXPECT_EQ(DecodeError("<a>\n\n\xE6</a>"),
            "invalid UTF-8 at line 3 (byte offset 5)");
  // A lone continuation byte, overlong forms of every length, beyond
  // U+10FFFF, leads past 0xF4 (0xF9 would spell a code point in range).
  for (const char* bad :
       {"\x80", "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xE0\x9F\xBF",
        "\xF0\x80\x80\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80",
        "\xF9\x80\x80\x80", "\xF8\x88\x80\x80\x80"}) {
    EXPECT_EQ(DecodeError(bad), "invalid UTF-8 at line 1 (byte offset 0)")
        << bad;
  }
  EXPECT_EQ(DecodeToCp1250("\xE0\xA0\x80\xF0\x90\x80\x80").LostCharacters, 2);
  EXPECT_EQ(DecodeError("ab\xED\xA0\x80"),  // a surrogate
            "invalid UTF-8 at line 1 (byte offset 2)");
  // A sequence cut off by the end of the text, whatever follows in memory.
  const std::string euro = "ab\xE2\x82\xAC";
  EXPECT_THROW(DecodeToCp1250(std::string_view(euro).substr(0, 4)), CliError);
  EXPECT_EQ(DecodeError(Declared("us-ascii") + "\x80"),
            "invalid US-ASCII at line 2 (byte offset 45)");
  EXPECT_EQ(DecodeToCp1250(Declared("UTF8") + "\xE2\x82\xAC").Text,
            Declared("UTF8") + "\x80");  // the euro sign
}

TEST(TextEncoding, MissingCharactersBecomeQuestionMarksAndAreCounted) {
  const DecodedText decoded =
      DecodeToCp1250("a\n\xE2\x86\x92 b \xF0\x9F\x98\x80 ?");
  EXPECT_EQ(decoded.Text, "a\n? b ? ?");
  EXPECT_EQ(decoded.LostCharacters, 2);
  EXPECT_EQ(decoded.FirstLost, U'\u2192');
  EXPECT_EQ(decoded.FirstLostLine, 2);
  EXPECT_EQ(LostCharactersWarning(decoded),
            "2 characters have no CP1250 form and became '?' (first: U+2192 "
            "at line 2)");
  const DecodedText one = DecodeToCp1250("\xF0\x9F\x98\x80");
  EXPECT_EQ(LostCharactersWarning(one),
            "1 character has no CP1250 form and became '?' (first: U+1F600 "
            "at line 1)");
  // A NUL byte is a character CP1250 has.
  EXPECT_EQ(DecodeToCp1250(std::string("a\0b", 3)).LostCharacters, 0);
}

}  // namespace
}  // namespace druvo::cli
