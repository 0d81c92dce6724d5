// Turns the bytes of an invoice file into CP1250 text for the library.
//
// The encoding is UTF-8 unless the XML declaration names another one;
// windows-1250 (cp1250), ISO-8859-2 (latin2) and US-ASCII are read as well.
// A UTF-8 byte-order mark is dropped. Unknown encodings, UTF-16/32 files and
// bytes that are not valid in the named encoding raise CliError. Characters
// CP1250 lacks become '?' and are counted, so the caller can warn.
#pragma once

#include <string>
#include <string_view>

#include "druvo/platform/AnsiString.h"

namespace druvo::cli {

struct DecodedText {
  AnsiString Text;         // CP1250
  int LostCharacters = 0;  // characters written as '?'
  char32_t FirstLost = 0;  // the first of them
  int FirstLostLine = 0;   // its 1-based line in the file
};

// The value of the encoding pseudo-attribute of the XML declaration at the
// start of `bytes` (after a UTF-8 byte-order mark), "" when there is none.
std::string DeclaredEncoding(std::string_view bytes);

// Decodes `bytes` by the rules above. Raises CliError.
DecodedText DecodeToCp1250(std::string_view bytes);

// Decodes plain UTF-8 text (a leading byte-order mark dropped), whatever it
// holds. Raises CliError for invalid UTF-8.
DecodedText DecodeUtf8ToCp1250(std::string_view bytes);

// The warning text for a decoding that lost characters, e.g.
// "2 characters have no CP1250 form and became '?' (first: U+2192 at line 4)".
std::string LostCharactersWarning(const DecodedText& decoded);

}  // namespace druvo::cli
