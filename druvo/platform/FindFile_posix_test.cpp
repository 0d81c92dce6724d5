#include "druvo/platform/FindFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/support/FileTestSupport.h"

namespace druvo {
namespace {

// Every entry a search reports, as "name attributes size", in name order.
std::set<std::string> Search(const std::string& path, int mask) {
  std::set<std::string> found;
  TSearchRec rec;
  for (int result = FindFirst(path, mask, rec); result == 0;
       result = FindNext(rec)) {
    found.insert(rec.Name + " " + std::to_string(rec.Attr) + " " +
                 std::to_string(rec.Size));
  }
  EXPECT_EQ(FindNext(rec), FindErrorNoMoreFiles);  // a search once ended
  return found;
}

TEST(FindFile, EntriesCarryAttributesAndSizes) {
  test::TempDir dir;
  test::WriteFile(dir / "a.txt", "abc");
  ::chmod((dir / "a.txt").c_str(), 0444);
  test::WriteFile(dir / ".h", "");
  std::filesystem::create_directory(dir / "sub");
  std::filesystem::create_symlink(dir / "missing", dir / "link");
  const std::set<std::string> all = {"a.txt 33 3", ".h 34 0", "sub 16 0",
                                     "link 4 0"};
  EXPECT_EQ(Search(dir.path() + "/*", faAnyFile), all);
  // Hidden, system and directory entries need their bit in the mask.
  EXPECT_EQ(Search(dir.path() + "\\*", 0), std::set<std::string>{"a.txt 33 3"});
  EXPECT_EQ(Search(dir.path() + "/*.*", faDirectory),
            (std::set<std::string>{"a.txt 33 3", "sub 16 0"}));

  TSearchRec never;
  EXPECT_EQ(FindNext(never), FindErrorNoMoreFiles);
  EXPECT_EQ(FindFirst(dir.path() + "/none*", faAnyFile, never),
            FindErrorFileNotFound);
  EXPECT_EQ(FindFirst(dir.path() + "/no/*", faAnyFile, never),
            FindErrorPathNotFound);
  // A pattern ending in ".*" also matches the name without it, even "".
  EXPECT_TRUE(MatchesMask("", ".*") && MatchesMask("ABC", "abc.*"));
  EXPECT_FALSE(MatchesMask("abc", "abd.*") || MatchesMask("", "?"));
}

}  // namespace
}  // namespace druvo
