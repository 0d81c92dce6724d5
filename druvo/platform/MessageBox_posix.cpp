#include <atomic>
#include <cstdio>
#include <string>

#include "druvo/platform/MessageBox.h"

namespace druvo {

namespace {

int WriteToStandardError(const WideString& text, const WideString& caption,
                         int /*flags*/) {
  const std::string line = WideToUtf8(caption) + ": " + WideToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  return 1;
}

std::atomic<MessageBoxHandler> g_handler{&WriteToStandardError};

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  return g_handler.exchange(handler != nullptr ? handler
                                               : &WriteToStandardError);
}

int ShowMessageBox(const WideString& text, const WideString& caption,
                   int flags) {
  return g_handler.load()(text, caption, flags);
}

}  // namespace druvo
