// The code page and case tables checked against Windows' own code page 1250
// and its case mapping as a reference.
#include <gtest/gtest.h>
#include <windows.h>

#include "druvo/platform/AnsiString.h"

namespace druvo {
namespace {

bool IsUndefinedByte(unsigned code) {
  return code == 0x81 || code == 0x83 || code == 0x88 || code == 0x90 ||
         code == 0x98;
}

wchar_t WindowsWide(unsigned char byte) {
  const char in = static_cast<char>(byte);
  wchar_t out = 0;
  return MultiByteToWideChar(1250, 0, &in, 1, &out, 1) == 1 ? out : L'?';
}

// The byte Windows gives for one UTF-16 unit: '?' when it has none.
char WindowsAnsi(wchar_t unit) {
  char out = 0;
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(1250, WC_NO_BEST_FIT_CHARS, &unit, 1, &out,
                                    1, "?", &lossy);
  return n == 1 && !lossy ? out : '?';
}

TEST(AnsiString, CodePageMatchesWindowsBothWays) {
  for (unsigned byte = 0; byte < 256; ++byte) {
    if (IsUndefinedByte(byte)) continue;
    EXPECT_EQ(
        static_cast<unsigned>(AnsiCharToWide(static_cast<unsigned char>(byte))),
        static_cast<unsigned>(WindowsWide(static_cast<unsigned char>(byte))))
        << byte;
  }
  for (unsigned code = 1; code < 0x10000; ++code) {
    if ((code >= 0xD800 && code <= 0xDFFF) || IsUndefinedByte(code)) continue;
    const auto unit = static_cast<char16_t>(code);
    ASSERT_EQ(WideToAnsi(std::u16string_view(&unit, 1)),
              std::string(1, WindowsAnsi(static_cast<wchar_t>(code))))
        << "code point " << code;
  }
}

TEST(AnsiString, CaseTablesFollowWindowsWithinCodePage) {
  for (unsigned byte = 0x80; byte < 256; ++byte) {
    const auto c = static_cast<unsigned char>(byte);
    wchar_t upper[2] = {AnsiCharToWide(c), 0};
    wchar_t lower[2] = {AnsiCharToWide(c), 0};
    CharUpperW(upper);
    CharLowerW(lower);
    // A partner outside the code page leaves the byte as it is.
    const auto inPage = [&](wchar_t mapped) {
      const char back = WindowsAnsi(mapped);
      return back == '?' ? c : static_cast<unsigned char>(back);
    };
    EXPECT_EQ(AnsiUpperChar(c), inPage(upper[0])) << byte;
    EXPECT_EQ(AnsiLowerChar(c), inPage(lower[0])) << byte;
  }
}

}  // namespace
}  // namespace druvo
