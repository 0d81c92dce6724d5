// Helpers shared by the sources of the QSTRUCT unit; not installed.
#pragma once

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Exceptions.h"

namespace druvo::qstruct_detail {

// Runs `build`; when it throws, runs `undo` and raises `what` followed by
// "\n\r" and the cause's message (only `what` for a foreign exception).
template <typename Build, typename Undo>
void InitialiseOrUndo(const char* what, Build build, Undo undo) {
  try {
    build();
  } catch (const Exception& error) {
    undo();
    throw Exception(what + AnsiString("\n\r") + error.Message);
  } catch (...) {
    undo();
    throw Exception(what);
  }
}

}  // namespace druvo::qstruct_detail
