// The program's standard streams. PrepareConsole sets them up once at start:
// on Windows, standard output and error pass bytes through unchanged (no
// LF to CR LF translation, so EDI text keeps its own line ends) and the
// console shows UTF-8 text; elsewhere nothing needs doing.
#pragma once

#include <cstdio>

namespace druvo::cli {

void PrepareConsole();

// Whether `stream` is an interactive terminal (for progress display).
bool IsTerminal(std::FILE* stream);

}  // namespace druvo::cli
