// Shortcuts read back through the shell itself, and the desktop folder as
// the shell resolves it.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "druvo/platform/File.h"
#include "druvo/util/SHORTCUT.h"
#include "tests/support/FileTestSupport.h"

namespace druvo {
namespace {

struct LinkFields {
  std::wstring Target, Arguments, WorkingDirectory, Icon;
  int IconIndex = -1;
};

// The fields of the .lnk file at `path`, as IShellLinkW reads them.
LinkFields ReadLink(const std::wstring& path) {
  LinkFields fields;
  CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  wchar_t text[1024];
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile,
                                     reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
    // The target through the item list the link holds.
    LPITEMIDLIST list = nullptr;
    if (SUCCEEDED(link->GetIDList(&list)) && list != nullptr) {
      if (SHGetPathFromIDListW(list, text)) fields.Target = text;
      CoTaskMemFree(list);
    }
    if (SUCCEEDED(link->GetArguments(text, 1024))) fields.Arguments = text;
    if (SUCCEEDED(link->GetWorkingDirectory(text, 1024)))
      fields.WorkingDirectory = text;
    if (SUCCEEDED(link->GetIconLocation(text, 1024, &fields.IconIndex)))
      fields.Icon = text;
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  CoUninitialize();
  return fields;
}

std::wstring Wide(const char* cp1250) {
  const WideString wide = AnsiToWide(cp1250);
  return std::wstring(wide.begin(), wide.end());
}

TEST(SHORTCUT, ShortcutReadsBackThroughTheShell) {
  test::TempDir dir;
  // An existing target with CP1250 letters (Zażółć) in its name.
  const std::string polish = dir / "Za\xBF\xF3\xB3\xE6.exe";
  ASSERT_TRUE(
      FileClose(FileOpen(polish, FileGenericWrite, 0, FileCreateAlways)));
  // Target, working directory, arguments, and the directory read back; the
  // second has CP1250 letters in the fields and '/' separators become '\'.
  const char* const cases[][4] = {
      {"C:\\Program Files\\App\\app.exe", "C:\\Program Files\\App\\",
       "/a \"b c\"", "C:\\Program Files\\App"},
      {polish.c_str(), "C:/Dane", "-x \xB9", "C:\\Dane"},
      {"C:\\a.exe", nullptr, nullptr, ""}};
  for (const auto& c : cases) {
    const std::string path = dir / "Skr\xF3t.lnk";
    CreateShortcut(c[0], path.c_str(), nullptr, c[1], c[2]);
    std::wstring target = Wide(c[0]);
    for (wchar_t& ch : target) ch = ch == L'/' ? L'\\' : ch;
    const LinkFields link = ReadLink(Wide(path.c_str()));
    EXPECT_EQ(
        std::tie(link.Target, link.Arguments, link.WorkingDirectory, link.Icon,
                 link.IconIndex),
        std::make_tuple(target, Wide(c[2] ? c[2] : ""), Wide(c[3]), target, 0))
        << c[0];
  }
  // A folder that does not exist gets no shortcut and no leftovers.
  CreateShortcut("C:\\a.exe", (dir / "missing\\x.lnk").c_str(), nullptr, "",
                 "");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            2);  // the target and the shortcut
}

TEST(SHORTCUT, DesktopResolvesThroughTheShell) {
  char buffer[ShortcutMaxPath] = "unchanged";
  QGetSpecialDir(nullptr, buffer, 1);
  const std::string desktop = buffer;
  ASSERT_NE(desktop, "unchanged");
  EXPECT_TRUE(
      std::filesystem::is_directory(std::filesystem::path(Wide(buffer))))
      << desktop;
  EXPECT_NE(desktop.back(), '\\');
  AnsiString viaShell;
  ASSERT_TRUE(SpecialFolderPath(nullptr, CsidlDesktopDirectory, viaShell));
  EXPECT_EQ(viaShell, desktop);
  EXPECT_FALSE(SpecialFolderPath(nullptr, 0x7FFF, viaShell));  // no such folder
}

}  // namespace
}  // namespace druvo
