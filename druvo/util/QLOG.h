// TQLog: an append-only log file whose lines carry the local time with
// milliseconds: "dd.mm.yyyy hh:mm:ss:mmm", two blanks, the text, CR LF.
//
// The file is held only during one create() or appendWithTime(); both
// swallow every failure (a line that cannot be written is lost).
#pragma once

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/LocalTime.h"

namespace druvo {

class DRUVO_API TQLog {
 public:
  explicit TQLog(const AnsiString& nazwaPliku);

  // Creates the file, or empties an existing one.
  void create();
  void appendWithTime(const AnsiString& tekst);

  // The time stamp that starts a line.
  static AnsiString FormatTimeStamp(const TLocalTime& time);

 private:
  AnsiString nazwaPliku_;
};

}  // namespace druvo
