#include "tools/druvo/Console.h"

#include <unistd.h>

namespace druvo::cli {

void PrepareConsole() {}

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

}  // namespace druvo::cli
