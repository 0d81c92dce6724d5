#include "druvo/util/HASLODBG.h"

#include <gtest/gtest.h>

#include <string>

#include "druvo/platform/MessageBox.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::ReadFile;

TEST(HASLODBG, ScramblingWorkedByHand) {
  // 97 + 0 - 11, 98 - 3 + 13, 99 + 4 - 11, 100 - 0 + 13, 101 + 3 - 11; the
  // codes of bytes above 127 are negative.
  const char* const cases[][2] = {
      {"", ""},        {"AB", "054076"}, {"\x05", "-06"},
      {"\xFF", "-12"}, {"\x80", "-139"}, {"abcde", "086108092113093"}};
  for (const auto& c : cases) EXPECT_EQ(SzyfrujHaslo(c[0]), c[1]) << c[1];
  // An incomplete last group is ignored; a group without a number counts 0.
  EXPECT_EQ(DeSzyfrujHaslo("0540761"), "AB");
  EXPECT_EQ(DeSzyfrujHaslo("-06xyz"), "\x05\xF6");
  // Blanks before a number are the C ones: a tab is, a backspace is not.
  EXPECT_EQ(DeSzyfrujHaslo("\t54\b76"), DeSzyfrujHaslo("054000"));
  EXPECT_EQ(tlGetServStr(""), " ");
  EXPECT_EQ(tlGetServStr(" x "), " x ");
  EXPECT_EQ(tlGetLocalStr("\t\r\n\xB3 x\x01 "), "\xB3 x");
}

TEST(HASLODBG, EveryByteSurvivesUnlessItsValueNeedsFourCharacters) {
  int lost = 0;
  for (std::size_t position = 0; position < 140; ++position) {
    for (int byte = 0; byte < 256; ++byte) {
      const AnsiString haslo = AnsiString(position, 'x') + char(byte);
      const AnsiString zaszyfrowane = SzyfrujHaslo(haslo);
      if (zaszyfrowane.size() == 3 * haslo.size()) {
        EXPECT_EQ(DeSzyfrujHaslo(zaszyfrowane), haslo) << position << byte;
      } else {
        EXPECT_TRUE(byte >= 128 && byte <= 167) << position << " " << byte;
        ++lost;
      }
    }
  }
  EXPECT_GT(lost, 0);
}

TEST(HASLODBG, ShowSQLAppendsOrWritesFromTheStart) {
  test::TempDir dir;
  const std::string log = dir / "sql.log";
  ShowSQL(log, "SELECT 1");
  ShowSQL(log, "SELECT \xB3");
  EXPECT_EQ(ReadFile(log), "SELECT 1\r\nSELECT \xB3\r\n");
  test::WriteFile(log, "0123456789ABCDEFGHIJ");
  TStringList lines;
  lines.SetText(u"  ab \t\n\u0142");
  ShowSQL(log, &lines);
  EXPECT_EQ(ReadFile(log), "ab\r\n\xB3\r\n789ABCDEFGHIJ");
  ShowSQL(dir / "missing/sql.log", "lost");
}

TEST(HASLODBG, ShowInfoGoesToTheMessageBoxHandler) {
  static WideString shown;
  const MessageBoxHandler remember = [](const WideString& text,
                                        const WideString& caption, int flags) {
    shown = caption + u"|" + text + u"|" + AnsiToWide(std::to_string(flags));
    return 1;
  };
  const MessageBoxHandler previous = SetMessageBoxHandler(remember);
  ShowInfo("B\xB3\xB9\x64");
  EXPECT_EQ(shown, u"Debug Info|Błąd|16");
  EXPECT_EQ(SetMessageBoxHandler(nullptr), remember);
  EXPECT_EQ(SetMessageBoxHandler(nullptr), previous);
#ifndef _WIN32
  // Without a host the POSIX handler writes to standard error and says OK
  // (a Windows build shows a real message box).
  testing::internal::CaptureStderr();
  ShowInfo("\xB3");
  EXPECT_EQ(ShowMessageBox(u"tekst", u"tytu\u0142", 0), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Debug Info: \xC5\x82\ntytu\xC5\x82: tekst\n");
#endif
}

}  // namespace
}  // namespace druvo
