#include "druvo/util/QLOG.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "druvo/util/PLIK95.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::ReadFile;

TEST(QLOG, LinesCarryLocalTimeAndAreAppended) {
  EXPECT_EQ(TQLog::FormatTimeStamp({2024, 3, 5, 14, 7, 9, 42}),
            "05.03.2024 14:07:09:042");
  test::TempDir dir;
  TQLog log(dir / "log.txt");
  log.create();
  EXPECT_EQ(ReadFile(dir / "log.txt"), "");
  log.appendWithTime("start \xB3");
  log.appendWithTime("");
  const std::string text = ReadFile(dir / "log.txt");
  const std::regex lines(
      "\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d:\\d{3}  start \xB3\r\n"
      "[^\r\n]{23}  \r\n");
  EXPECT_TRUE(std::regex_match(text, lines)) << text;
  log.create();
  EXPECT_EQ(ReadFile(dir / "log.txt"), "");
}

TEST(QLOG, FailuresAreSwallowed) {
  test::TempDir dir;
  TQLog(dir / "missing/log.txt").appendWithTime("lost");
  Plik holder;  // a file held by someone else loses the line
  ASSERT_EQ(holder.Open(dir / "held", 2, FileGenericWrite), 0);
  TQLog(dir / "held").appendWithTime("lost");
  holder.Close();
  EXPECT_EQ(ReadFile(dir / "held"), "");
}

}  // namespace
}  // namespace druvo
