#include "druvo/util/QLOG.h"

#include <gtest/gtest.h>

#include <ctime>
#include <time.h>
#include <string>

#include "druvo/platform/LocalTime.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

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

// The stamp is local time: it follows the process's time zone (TZ).
TEST(QLOG, StampFollowsTheTimeZone) {
  CurrentLocalTime();  // the zone read once before it changes
  const test::ScopedEnv zone("TZ", "DRV-14");
  test::TempDir dir;
  TQLog log(dir / "log.txt");
  const std::time_t before = ClockSeconds();
  log.appendWithTime("x");
  const std::time_t after = ClockSeconds();
  const std::string stamp = test::ReadFile(dir / "log.txt").substr(0, 19);
  EXPECT_TRUE(stamp == StampAtPlus14(before) || stamp == StampAtPlus14(after))
      << stamp;
}

}  // namespace
}  // namespace druvo
