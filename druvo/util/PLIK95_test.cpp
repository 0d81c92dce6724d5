#include "druvo/util/PLIK95.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "druvo/platform/File.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;
constexpr unsigned kRead = FileGenericRead;
constexpr unsigned kReadWrite = FileGenericRead | FileGenericWrite;

TEST(Plik, DispositionsOnExistingAndMissingFiles) {
  // Disposition, result on a file holding "old", whether it still does,
  // result on a missing file (0: it is created).
  const int cases[][4] = {{1, -1, 1, 0}, {2, 0, 0, 0},  {3, 0, 1, -1},
                          {4, 0, 1, 0},  {5, 0, 0, -1}, {0, -1, 1, -1},
                          {6, -1, 1, -1}};
  TempDir dir;
  for (const auto& c : cases) {
    WriteFile(dir / "old", "old");
    std::filesystem::remove(dir / "new");
    Plik a, b;
    const auto tryb = static_cast<unsigned>(c[0]);
    EXPECT_EQ(a.Open(dir / "old", tryb, kReadWrite), c[1]) << tryb;
    a.Close();
    EXPECT_EQ(ReadFile(dir / "old"), c[2] ? "old" : "") << tryb;
    EXPECT_EQ(b.Open((dir / "new").c_str(), tryb, kReadWrite), c[3]);
    EXPECT_EQ(std::filesystem::exists(dir / "new"), c[3] == 0) << tryb;
  }
  EXPECT_EQ(Plik().Open(dir.path(), 3, kRead), -1);
  EXPECT_EQ(Plik().Open(dir / std::string("a\0b", 3), 4, kRead), -1);
}

TEST(Plik, ShareModeZeroExcludesEveryOtherOpener) {
  TempDir dir;
  const std::string name = dir / "shared";
  Plik first, second;
  ASSERT_EQ(first.Open(name, 4, kReadWrite), 0);
  ASSERT_EQ(first.BinaryPuts("data"), 0);
  for (unsigned tryb : {2u, 3u, 4u, 5u})
    EXPECT_EQ(second.Open(name, tryb, kReadWrite), -1) << tryb;
  EXPECT_FALSE(second.FindTextA(name, "data"));
  // Reopening on the same object fails too and closes the file held.
  EXPECT_EQ(first.Open(name, 3, kRead), -1);
  EXPECT_FALSE(first.IsOpen());
  EXPECT_EQ(ReadFile(name), "data\r\n");  // a refused open truncates nothing
  EXPECT_EQ(second.Open(name, 3, kRead), 0);
}

TEST(Plik, ReadWriteSeekAndFailures) {
  // The file calls beneath refuse the invalid handle themselves.
  std::size_t done = 0;
  std::int64_t position = 0;
  EXPECT_FALSE(FileWrite(InvalidFileHandle, "x", 1, done) ||
               FileRead(InvalidFileHandle, &position, 1, done) ||
               FileSeek(InvalidFileHandle, 0, FileBegin, position) ||
               FileClose(InvalidFileHandle));
  TempDir dir;
  Plik file;
  char buf[11] = {};
  ASSERT_EQ(file.Open(dir / "f", 2, kReadWrite), 0);
  ASSERT_EQ(file.Write("0123456789", 10), 0);
  file.Lseek(0, 0);
  EXPECT_EQ(file.Read(buf, 10), 0);
  EXPECT_EQ(file.Read(buf, 10), -2);
  EXPECT_EQ(file.Read(nullptr, 0), 0);
  file.Lseek(-4, 2);
  EXPECT_EQ(file.Read(buf, 10), -1);
  EXPECT_EQ(std::string(buf, 4), "6789");
  // Offset, origin and the position reached from 5 (an origin other than
  // 0 to 2 counts as 0; a move before the start stays at 5).
  const long seeks[][3] = {{2, 0, 2}, {2, 1, 7},   {-3, 2, 7},
                           {4, 9, 4}, {-20, 0, 5}, {-6, 1, 5}};
  for (const auto& s : seeks) {
    file.Lseek(5, 0);
    file.Lseek(s[0], static_cast<int>(s[1]));
    EXPECT_EQ(file.Pos(), s[2]) << s[0] << " " << s[1];
  }
  EXPECT_EQ(file.Close(), 0);
  AnsiString line;
  EXPECT_EQ(file.Close(), -1);
  EXPECT_EQ(file.Read(buf, 1), -1);
  EXPECT_EQ(file.BinaryPuts("x"), -1);
  EXPECT_EQ(file.Gets(line), -1);
  EXPECT_EQ(file.Pos(), 0);
  // Access decides what a handle may do; a full device refuses writes.
  ASSERT_EQ(file.Open(dir / "f", 3, kRead), 0);
  EXPECT_EQ(file.Write("x", 1), -1);
  file.Close();
  ASSERT_EQ(file.Open(dir / "f", 3, 0), 0);
  EXPECT_EQ(file.Read(buf, 1), -1);
  if (file.Open("/dev/full", 3, FileGenericWrite) == 0) {
    EXPECT_EQ(file.BinaryPuts("lost"), -1);
  }
}

// Every call of `reader` on a file holding `content`, up to the one made at
// its end, as "result:bytes" joined by '|'.
using Reader = std::function<std::string(Plik&)>;
std::string ReadAll(const std::string& content, const Reader& reader) {
  TempDir dir;
  WriteFile(dir / "lines", content);
  Plik file;
  std::string calls;
  if (file.Open(dir / "lines", 3, kRead) != 0) return "(not open)";
  for (int n = 0, atEnd = 0; !atEnd && n < 99; ++n) {
    atEnd = file.Pos() == static_cast<long>(content.size());
    calls += (calls.empty() ? "" : "|") + reader(file);
  }
  return calls;
}

Reader Text() {
  return [](Plik& f) {
    AnsiString line = "stale";
    const int result = f.Gets(line);
    return std::to_string(result) + ":" + line;
  };
}

// The character-array readers write into a buffer followed by guard bytes;
// `binary` chooses BinaryGets.
Reader Buffer(int size, bool binary = false) {
  return [size, binary](Plik& f) {
    std::string buf(static_cast<std::size_t>(size) + 8, '#');
    int length = -1;
    const int result =
        binary ? f.BinaryGets(reinterpret_cast<unsigned char*>(buf.data()),
                              size, length)
               : f.Gets(buf.data(), size);
    EXPECT_EQ(buf.substr(static_cast<std::size_t>(size)), "########");
    if (!binary) buf.resize(size > 0 ? std::strlen(buf.c_str()) : 0);
    return std::to_string(result) + ":" +
           (binary ? buf.substr(0, static_cast<std::size_t>(length)) : buf);
  };
}

TEST(Plik, LineReadersSplitLines) {
  const std::string high("\0\xFF\x80", 3);
  // Content, then what Gets(AnsiString&), Gets(char*) and BinaryGets give.
  const std::string cases[][4] = {
      {"ab\r\ncd\nef",
       "0:ab|0:cd|0:ef|-1:", "0:ab|0:cd|0:ef|-1:", "0:ab|0:cd\nef|0:"},
      {"a\rb\r\n", "0:ab|-1:", "0:ab|-1:", "0:a\rb|0:"},
      {"x\r\ry\r", "0:xy|-1:", "0:xy|-1:", "0:x\r\ry\r|0:"},
      {"\r\n\n", "0:|0:|-1:", "0:|0:|-1:", "0:|0:\n|0:"},
      {high + "\n", "0:" + high + "|-1:", "0:|-1:", "0:" + high + "\n|0:"},
      {"", "-1:", "-1:", "0:"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ReadAll(c[0], Text()), c[1]);
    EXPECT_EQ(ReadAll(c[0], Buffer(64)), c[2]);
    EXPECT_EQ(ReadAll(c[0], Buffer(64, true)), c[3]);
  }
}

TEST(Plik, ReadersStopAtTheirLimits) {
  // The byte that finds the buffer full is lost; a CR meeting a full buffer
  // is lost with the byte after it.
  EXPECT_EQ(ReadAll("abcdefg\nhi", Buffer(4)), "0:abc|0:efg|0:hi|-1:");
  EXPECT_EQ(ReadAll("ab", Buffer(1)), "0:|0:|-1:");
  EXPECT_EQ(ReadAll("ab", Buffer(0)).substr(0, 4), "-1:|");
  EXPECT_EQ(ReadAll("abcdef\r\nabc\rdx\r", Buffer(3, true)),
            "0:abc|0:ef|0:abc|0:x\r|0:");
  EXPECT_EQ(ReadAll("ab\r", Buffer(2, true)), "0:ab|0:");
  EXPECT_EQ(ReadAll("ab", Buffer(0, true)), "0:|0:|0:");
  const std::string longest(Plik::MaxLineLength + 1, 'a');
  EXPECT_EQ(ReadAll(longest + "aa\r\n" + longest + "\nb", Text()),
            "0:" + longest + "|0:aa|0:" + longest + "|0:|0:b|-1:");
}

TEST(Plik, FindTextAFindsMatchesAcrossBlocks) {
  // File size, where the pattern is written, its length, and whether found.
  const int cases[][4] = {{5, 0, 5, 1},           {20000, 19997, 3, 1},
                          {12000, 5998, 4, 1},    {12000, 5790, 128, 1},
                          {12000, 11790, 128, 1}, {6000, 5872, 128, 1},
                          {12000, 0, 129, 0},     {100, 0, 0, 0}};
  TempDir dir;
  for (const auto& c : cases) {
    std::string content(static_cast<std::size_t>(c[0]), '.');
    std::string pattern;
    for (int i = 0; i < c[2]; ++i) pattern += static_cast<char>('A' + i % 26);
    content.replace(static_cast<std::size_t>(c[1]), pattern.size(), pattern);
    WriteFile(dir / "haystack", content);
    EXPECT_EQ(Plik().FindTextA(dir / "haystack", pattern), c[3] == 1) << c[1];
  }
  EXPECT_FALSE(Plik().FindTextA(dir / "haystack", "abc"));  // case counts
  EXPECT_FALSE(Plik().FindTextA(dir / "missing", "ABC"));
}

TEST(Plik, ExistenceFollowsTheDirectorySearch) {
  TempDir dir;
  for (const char* sub : {"Kat", ".ukrytyKat", "sub"})
    std::filesystem::create_directories(dir / sub);
  for (const char* name : {"Plik.TXT", ".ukryty", "sub/bezkropki"})
    WriteFile(dir / name, "");
  Plik file;
  ASSERT_EQ(file.Open(dir.path() + "\\\xB3\xF3\x64\x9F.txt", 1, 0), 0);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(dir.path()) /
                                      std::filesystem::path(u8"łódź.txt")));
  // Name, then CzyIstnieje and CzyIstniejeKatalog ("10": true, false).
  const char* const cases[][2] = {
      {"plik.txt", "11"}, {"Kat", "11"},     {"KAT\\", "00"},
      {"*.TxT", "11"},    {"P?IK.*", "11"},  {"P?k.*", "00"},
      {"Kat\\*.*", "00"}, {".ukryty", "10"}, {".ukrytyKat", "10"},
      {"sub\\*.*", "11"}, {"sub/b*i", "11"}, {"\xB3\xF3\x44\x9F.*", "11"},
      {"brak\\*", "00"},  {"*\\Kat", "00"},  {".", "00"}};
  for (const auto& c : cases) {
    const std::string name = dir.path() + "\\" + c[0];
    const std::string found{char('0' + file.CzyIstnieje(name)),
                            char('0' + file.CzyIstniejeKatalog(name))};
    EXPECT_EQ(found, c[1]) << c[0];
  }
}

}  // namespace
}  // namespace druvo
