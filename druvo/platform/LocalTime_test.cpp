#include "druvo/platform/LocalTime.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(parts.Second, held) << second;
    EXPECT_EQ(std::to_string(parts.Year) + "-" + std::to_string(parts.Month) +
                  "-" + std::to_string(parts.Day) + " " +
                  std::to_string(parts.Hour) + ":" +
                  std::to_string(parts.Minute) + "." +
                  std::to_string(parts.Millisecond),
              "2026-12-6 23:59.999");
  }
}

}  // namespace
}  // namespace druvo
