#include "druvo/util/HASLODBG.h"

#include <gtest/gtest.h>

#include "druvo/platform/MessageBox.h"

namespace druvo {
namespace {

// Without a host's handler the box is written to standard error (the
// Windows build shows the real message box instead).
TEST(HASLODBG, DefaultMessageBoxWritesToStandardError) {
  SetMessageBoxHandler(nullptr);
  testing::internal::CaptureStderr();
  ShowInfo("\xB3");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Debug Info: ł\n");
}

}  // namespace
}  // namespace druvo
