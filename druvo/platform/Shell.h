// The shell: shortcut files and special folders.
//
// SaveShellLink writes a shortcut at exactly `path`, replacing an existing
// file, or writes nothing (a partly written shortcut never stays behind).
// Here a shortcut is a desktop entry file: UTF-8, the group
// "[Desktop Entry]" with Type=Application, Name (the shortcut's file name
// without its extension), Exec (the target, quoted when it holds a blank or
// a character the Exec key reserves, then the arguments as they are), Path
// (the working directory) and Icon (the icon file), every value escaped as
// desktop entry files require. Paths in the link take '\' or '/'.
// SpecialFolderPath knows folder 16, the user's desktop directory:
// XDG_DESKTOP_DIR when set, else $HOME/Desktop, without a trailing slash.
//
// A Windows build puts the real shell calls behind this header
// (Shell_win32.cpp).
#pragma once

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"

namespace druvo {

// A window handle of the host (an owner for shell dialogs; unused here).
using HWND = void*;

inline constexpr int CsidlDesktopDirectory = 16;

// What a shortcut points at; texts are CP1250.
struct TShellLink {
  AnsiString Target;
  AnsiString Arguments;
  AnsiString WorkingDirectory;
  AnsiString IconLocation;
  int IconIndex = 0;
};

DRUVO_API bool SaveShellLink(const TShellLink& link, const AnsiString& path);

// The CP1250 path of special folder `folder`; false when unknown.
DRUVO_API bool SpecialFolderPath(HWND owner, int folder, AnsiString& path);

}  // namespace druvo
