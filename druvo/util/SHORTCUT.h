// Shell shortcuts and the desktop folder.
//
// CreateShortcut saves a shortcut to `cel` at `plikSkrotu` (replacing an
// existing file), with the working directory `katalogRoboczy` (cut to 1024
// characters, one trailing backslash removed), `cel` as its icon and the
// command-line arguments `argumenty`; the third argument is not used. A null
// text counts as empty. Failures are not reported; a name of 260 characters
// or more (the Windows path limit) saves nothing.
// QGetSpecialDir writes the desktop folder into `bufor` (which holds 260
// bytes) when `ktory` is 1, and an empty text for any other `ktory`; when
// the folder is unknown or too long `bufor` is left as it was.
#pragma once

#include "druvo/platform/Export.h"
#include "druvo/platform/Shell.h"

namespace druvo {

inline constexpr int ShortcutMaxPath = 260;
inline constexpr int ShortcutMaxWorkingDirectory = 1024;

DRUVO_API void CreateShortcut(const char* cel, const char* plikSkrotu,
                              const char* nieuzywany,
                              const char* katalogRoboczy,
                              const char* argumenty);

DRUVO_API void QGetSpecialDir(HWND okno, char* bufor, int ktory);

}  // namespace druvo
