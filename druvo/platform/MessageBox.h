// The application's message box. The host installs a handler that shows the
// box and returns the button pressed; until then (and after installing null)
// the default writes the caption and the text to standard error in UTF-8 and
// returns 1 (OK). Flags keep the Windows message-box values (16: stop sign).
#pragma once

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"

namespace druvo {

using MessageBoxHandler = int (*)(const WideString& text,
                                  const WideString& caption, int flags);

// Installs `handler` for the whole process and returns the one it replaces
// (never null: the default is returned as itself).
DRUVO_API MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
// Shows the box through the current handler and returns its answer.
DRUVO_API int ShowMessageBox(const WideString& text, const WideString& caption,
                             int flags);

}  // namespace druvo
