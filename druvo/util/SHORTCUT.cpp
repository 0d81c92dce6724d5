#include "druvo/util/SHORTCUT.h"

#include <cstring>

namespace druvo {

namespace {

AnsiString Text(const char* s) { return s != nullptr ? AnsiString(s) : ""; }

}  // namespace

void CreateShortcut(const char* cel, const char* plikSkrotu,
                    const char* /*nieuzywany*/, const char* katalogRoboczy,
                    const char* argumenty) {
  const AnsiString path = Text(plikSkrotu);
  if (path.empty() || path.size() >= ShortcutMaxPath) return;
  TShellLink link;
  link.Target = Text(cel);
  link.WorkingDirectory = Text(katalogRoboczy);
  if (link.WorkingDirectory.size() > ShortcutMaxWorkingDirectory) {
    link.WorkingDirectory.resize(ShortcutMaxWorkingDirectory);
  }
  if (!link.WorkingDirectory.empty() && link.WorkingDirectory.back() == '\\') {
    link.WorkingDirectory.pop_back();
  }
  link.IconLocation = link.Target;
  link.IconIndex = 0;
  link.Arguments = Text(argumenty);
  SaveShellLink(link, path);
}

void QGetSpecialDir(HWND okno, char* bufor, int ktory) {
  if (bufor == nullptr) return;
  if (ktory != 1) {
    bufor[0] = '\0';
    return;
  }
  AnsiString path;
  if (!SpecialFolderPath(okno, CsidlDesktopDirectory, path) ||
      path.size() >= ShortcutMaxPath) {
    return;
  }
  std::memcpy(bufor, path.c_str(), path.size() + 1);
}

}  // namespace druvo
