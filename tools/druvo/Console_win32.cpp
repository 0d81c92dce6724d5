#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "tools/druvo/Console.h"

namespace druvo::cli {

void PrepareConsole() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
}

bool IsTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

}  // namespace druvo::cli
