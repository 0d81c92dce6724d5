#include "tools/druvo/OutputFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace druvo::cli {
namespace {

namespace fs = std::filesystem;

TEST(OutputFile, NewFileGetsModeLessUmask) {
  std::string dir = (fs::temp_directory_path() / "druvo-mode-XXXXXX").string();
  ASSERT_NE(mkdtemp(dir.data()), nullptr);
  const std::string target = dir + "/a.edi";
  WriteFileWhole(target, "x", false);
  struct stat info;
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace druvo::cli
