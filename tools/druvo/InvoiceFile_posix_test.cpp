#include "tools/druvo/InvoiceFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tools/druvo/CliError.h"

namespace druvo::cli {
namespace {

namespace fs = std::filesystem;

// The lowest free descriptor: it grows when a descriptor is left open.
int LowestFreeDescriptor() {
  const int fd = dup(0);
  close(fd);
  return fd;
}

// A pipe's text (of unknown size) is read to its end however long; a read
// error is reported, not retried; no descriptor is left open either way.
TEST(InvoiceFile, ReadsPipesToTheEndAndReportsReadErrors) {
  std::string dir = (fs::temp_directory_path() / "druvo-fifo-XXXXXX").string();
  ASSERT_NE(mkdtemp(dir.data()), nullptr);
  const std::string fifo = dir + "/in.xml";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string text(200000, 'x');
  const int free = LowestFreeDescriptor();
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << text; });
  EXPECT_EQ(ReadWholeFile(fifo), text);
  writer.join();
  fs::remove_all(dir);

  // Reading a process's own memory from address 0 fails at the first read.
  if (access("/proc/self/mem", R_OK) == 0) {
    EXPECT_THROW(ReadWholeFile("/proc/self/mem"), CliError);
  }
  EXPECT_EQ(LowestFreeDescriptor(), free);
}

}  // namespace
}  // namespace druvo::cli
