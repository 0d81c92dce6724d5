#include "druvo/util/SHORTCUT.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "druvo/platform/Shell.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::ReadFile;
using test::ScopedEnv;

TEST(SHORTCUT, CreateShortcutWritesADesktopEntry) {
  test::TempDir dir;
  const std::string path = dir.path() + "\\Skr\xF3t.desktop";
  const std::string head = "[Desktop Entry]\nType=Application\nName=Skrót\n";
  test::WriteFile(dir / "Skrót.desktop", "old");
  CreateShortcut("\\opt\\Moja \xB3\\run", path.c_str(), nullptr,
                 "C:\\Praca\\\\", "--x 50% \"a b\"");
  EXPECT_EQ(ReadFile(dir / "Skrót.desktop"),
            head +
                "Exec=\"/opt/Moja ł/run\" --x 50%% \"a b\"\n"
                "Path=C:/Praca/\nIcon=/opt/Moja ł/run\n");
  // Reserved characters are quoted and escaped; no value spans lines.
  CreateShortcut("/a/b\"$c", path.c_str(), nullptr, " w\r\n", nullptr);
  EXPECT_EQ(
      ReadFile(dir / "Skrót.desktop"),
      head + "Exec=\"/a/b\\\\\"\\\\$c\"\nPath=\\sw\\r\\n\nIcon=/a/b\"$c\n");
  // Too long a name, or a missing folder, saves nothing.
  const std::string tooLong = dir.path() + "/" + std::string(300, 'x');
  TShellLink link;
  link.Target = "/bin/true";
  EXPECT_TRUE(SaveShellLink(link, path));
  EXPECT_FALSE(SaveShellLink(link, tooLong));
  CreateShortcut("/bin/true", tooLong.c_str(), nullptr, nullptr, nullptr);
  CreateShortcut("/bin/true", (dir / "missing/s").c_str(), "", "", "");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
            1);
}

TEST(SHORTCUT, QGetSpecialDirGivesTheDesktop) {
  // XDG_DESKTOP_DIR, HOME, and the folder given; with no desktop at all the
  // buffer is left alone, and the root keeps its slash.
  const std::tuple<std::optional<std::string>, const char*, const char*>
      cases[] = {{"/home/u/Pulpit \xC5\x82/", "", "/home/u/Pulpit \xB3"},
                 {"///", "", "/"},
                 {std::nullopt, "", "/"},
                 {std::nullopt, "/home/u/", "/home/u/Desktop"}};
  char buf[ShortcutMaxPath];
  for (const auto& [desktop, home, expected] : cases) {
    const ScopedEnv desktopDir("XDG_DESKTOP_DIR", desktop),
        homeDir("HOME", home);
    QGetSpecialDir(nullptr, buf, 1);
    EXPECT_STREQ(buf, expected) << home;
  }
  QGetSpecialDir(nullptr, buf, 0);
  EXPECT_STREQ(buf, "");
  QGetSpecialDir(nullptr, nullptr, 0);  // no buffer: nothing written
  QGetSpecialDir(nullptr, nullptr, 1);
}

}  // namespace
}  // namespace druvo
