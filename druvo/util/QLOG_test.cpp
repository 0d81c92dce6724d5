#include "druvo/util/QLOG.h"

#include <gtest/gtest.h>
#include <time.h>

#include <ctime>
#include <regex>
#include <string>

#include "druvo/platform/LocalTime.h"
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

#ifndef _WIN32
// "dd.mm.yyyy hh:mm:ss" of `t` fourteen hours east of UTC.
std::string StampAtPlus14(std::time_t t) {
  t += 14 * 3600;
  std::tm parts{};
  gmtime_r(&t, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &parts);
  return text;
}

// Seconds of the clock the log reads. time() may run up to a tick behind it
// (it reads the coarse clock), so a stamp taken just past a second boundary
// would fall outside a time() window.
std::time_t ClockSeconds() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec;
}

// The stamp is local time: it follows the process's time zone (TZ). A
// Windows build reads the system's zone instead.
TEST(QLOG, StampFollowsTheTimeZone) {
  CurrentLocalTime();  // the zone read once before it changes
  const test::ScopedEnv zone("TZ", "DRV-14");
  test::TempDir dir;
  TQLog log(dir / "log.txt");
  const std::time_t before = ClockSeconds();
  log.appendWithTime("x");
  const std::time_t after = ClockSeconds();
  const std::string stamp = ReadFile(dir / "log.txt").substr(0, 19);
  EXPECT_TRUE(stamp == StampAtPlus14(before) || stamp == StampAtPlus14(after))
      << stamp;
}
#endif

}  // namespace
}  // namespace druvo
