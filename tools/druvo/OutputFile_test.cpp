#include "tools/druvo/OutputFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <random>

#include "tests/support/TestSupport.h"
#include "tools/druvo/CliError.h"

namespace druvo::cli {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    do {
      dir_ = fs::temp_directory_path() /
             ("druvo-output-" + std::to_string(random()));
    } while (!fs::create_directory(dir_));
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const {
    return (dir_ / name).string();
  }
  int Entries() const {
    return static_cast<int>(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

TEST(OutputFile, EdiPathReplacesXmlExtensionBesideOrInDirectory) {
  EXPECT_EQ(fs::path(EdiPathFor("in/a.xml", "")), fs::path("in/a.edi"));
  EXPECT_EQ(fs::path(EdiPathFor("in/B.XML", "")), fs::path("in/B.edi"));
  EXPECT_EQ(fs::path(EdiPathFor("a.xml", "")), fs::path("a.edi"));
  EXPECT_EQ(fs::path(EdiPathFor("in/invoice", "")), fs::path("in/invoice.edi"));
  EXPECT_EQ(fs::path(EdiPathFor("in/a.xml.bak", "")),
            fs::path("in/a.xml.bak.edi"));
  EXPECT_EQ(fs::path(EdiPathFor("in/a.xml", "out")), fs::path("out/a.edi"));
  EXPECT_EQ(fs::path(EdiPathFor("/x/y/.xml", "out/")), fs::path("out/.edi"));
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
}

TEST_F(OutputFileTest, FailureLeavesNothingBehind) {
  EXPECT_THROW(WriteFileWhole(Path("missing/a.edi"), "x", true), CliError);
  fs::create_directory(Path("sub"));
  EXPECT_THROW(WriteFileWhole(Path("sub"), "x", true), CliError);
  EXPECT_THROW(WriteFileWhole(Path("sub"), "x", false), CliError);
  EXPECT_TRUE(fs::is_directory(Path("sub")));
  EXPECT_EQ(Entries(), 1);
}

}  // namespace
}  // namespace druvo::cli
