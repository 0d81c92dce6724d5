#include "tools/druvo/OutputFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <iterator>

#include "tests/support/TestSupport.h"
#include "tools/druvo/CliError.h"

namespace druvo::cli {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (fs::temp_directory_path() / "druvo-output-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return dir_ / name; }
  int Entries() const {
    return static_cast<int>(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

TEST(OutputFile, EdiPathReplacesXmlExtensionBesideOrInDirectory) {
  EXPECT_EQ(EdiPathFor("in/a.xml", ""), "in/a.edi");
  EXPECT_EQ(EdiPathFor("in/B.XML", ""), "in/B.edi");
  EXPECT_EQ(EdiPathFor("a.xml", ""), "a.edi");
  EXPECT_EQ(EdiPathFor("in/invoice", ""), "in/invoice.edi");
  EXPECT_EQ(EdiPathFor("in/a.xml.bak", ""), "in/a.xml.bak.edi");
  EXPECT_EQ(EdiPathFor("in/a.xml", "out"), "out/a.edi");
  EXPECT_EQ(EdiPathFor("/x/y/.xml", "out/"), "out/.edi");
}

TEST_F(OutputFileTest, WritesWholeFileAndKeepsExistingUnlessAsked) {
  const std::string target = Path("a.edi");
  WriteFileWhole(target, "first\r\n", false);
  EXPECT_EQ(test::ReadFile(target), "first\r\n");
  try {
    WriteFileWhole(target, "second", false);
    FAIL() << "an existing file was replaced";
  } catch (const CliError& e) {
    EXPECT_EQ(std::string(e.what()),
              "'" + target + "' exists (use --force to overwrite it)");
  }
  EXPECT_EQ(test::ReadFile(target), "first\r\n");
  WriteFileWhole(target, "second", true);
  EXPECT_EQ(test::ReadFile(target), "second");
  EXPECT_EQ(Entries(), 1);  // no temporary file left

  struct stat info;
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

TEST_F(OutputFileTest, FailureLeavesNothingBehind) {
  EXPECT_THROW(WriteFileWhole(Path("missing/a.edi"), "x", true), CliError);
  fs::create_directory(Path("sub"));
  EXPECT_THROW(WriteFileWhole(Path("sub"), "x", true), CliError);
  EXPECT_THROW(WriteFileWhole(Path("sub"), "x", false), CliError);
  EXPECT_TRUE(fs::is_directory(Path("sub")));
  EXPECT_EQ(Entries(), 1);
}

TEST_F(OutputFileTest, EnsureDirectoryCreatesParentsAndRefusesFiles) {
  EnsureDirectory(Path("x/y"));
  EXPECT_TRUE(fs::is_directory(Path("x/y")));
  EnsureDirectory(Path("x/y"));
  WriteFileWhole(Path("f"), "", false);
  EXPECT_THROW(EnsureDirectory(Path("f")), CliError);
  EXPECT_THROW(EnsureDirectory(Path("f/g")), CliError);
}

}  // namespace
}  // namespace druvo::cli
