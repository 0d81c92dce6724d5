// Password scrambling, the server and local text adapters, and debug output.
//
// SzyfrujHaslo turns each byte of a password (read as a signed 8-bit code c
// at 0-based index i) into v = c + (2i mod 5) - 11 for an even i, or
// v = c - ((2i + 1) mod 7) + 13 for an odd i, printed as "%03d" ("-05" for
// -5). DeSzyfrujHaslo reads the text back in groups of three characters as
// "%d" (a group that holds no number counts as 0) and ignores a last group
// that is not complete. The round trip holds for every byte whose value
// prints in three characters: every byte below 128 at every position.
// ShowSQL writes through Plik (open always, read and write) and reports
// nothing; ShowInfo shows a text in the message box
// (druvo/platform/MessageBox.h) with the caption "Debug Info" and flag 16.
#pragma once

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TStringList.h"

namespace druvo {

DRUVO_API AnsiString SzyfrujHaslo(const AnsiString& haslo);
DRUVO_API AnsiString DeSzyfrujHaslo(const AnsiString& zaszyfrowane);

// `s`, with an empty text turned into one blank.
DRUVO_API AnsiString tlGetServStr(const AnsiString& s);
// `s` trimmed of bytes 0 to 32 at both ends.
DRUVO_API AnsiString tlGetLocalStr(const AnsiString& s);

// Appends `sql`, CR and LF at the end of the file `plik`.
DRUVO_API void ShowSQL(const AnsiString& plik, const AnsiString& sql);
// Writes every line of `linie`, trimmed and in CP1250, each with CR LF, from
// the start of `plik` over what is there (a longer file keeps its tail). A
// null list writes nothing.
DRUVO_API void ShowSQL(const AnsiString& plik, TStrings* linie);

DRUVO_API void ShowInfo(const AnsiString& komunikat);

}  // namespace druvo
