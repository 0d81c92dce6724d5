#include "druvo/platform/LocalTime.h"

#include <gtest/gtest.h>

#include <vector>

namespace druvo {
namespace {

TEST(LocalTime, PartsComeFromTheBrokenDownTime) {
  std::tm local{};
  local.tm_year = 126, local.tm_mon = 11, local.tm_mday = 6;
  local.tm_hour = 23, local.tm_min = 59;
  for (const auto& [second, held] : {std::pair(60, 59), std::pair(59, 59),
                                     std::pair(58, 58), std::pair(0, 0)}) {
    local.tm_sec = second;
    const TLocalTime parts = LocalTimeParts(local, 999999999);
    EXPECT_EQ((std::vector<int>{parts.Year, parts.Month, parts.Day, parts.Hour,
                                parts.Minute, parts.Second, parts.Millisecond}),
              (std::vector{2026, 12, 6, 23, 59, held, 999}))
        << second;
  }
}

}  // namespace
}  // namespace druvo
