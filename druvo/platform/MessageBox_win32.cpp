// The message box: by default the real one. The text arrives as UTF-16, so
// it goes to MessageBoxW (MessageBoxA would pass it through the ANSI code
// page, which need not be CP1250).
#include <windows.h>

#include <atomic>
#include <string>

#include "druvo/platform/MessageBox.h"

namespace druvo {

namespace {

int ShowWindowsMessageBox(const WideString& text, const WideString& caption,
                          int flags) {
  const std::wstring wideText(text.begin(), text.end());
  const std::wstring wideCaption(caption.begin(), caption.end());
  return MessageBoxW(nullptr, wideText.c_str(), wideCaption.c_str(),
                     static_cast<UINT>(flags));
}

std::atomic<MessageBoxHandler> g_handler{&ShowWindowsMessageBox};

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  return g_handler.exchange(handler != nullptr ? handler
                                               : &ShowWindowsMessageBox);
}

int ShowMessageBox(const WideString& text, const WideString& caption,
                   int flags) {
  return g_handler.load()(text, caption, flags);
}

}  // namespace druvo
