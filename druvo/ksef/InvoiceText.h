// Reading the bytes of a KSeF invoice as the library's CP1250 text and tree.
//
// The encoding is UTF-8 unless the XML declaration names another one;
// windows-1250 (cp1250), ISO-8859-2 (latin2) and US-ASCII are read as well.
// A UTF-8 byte-order mark is dropped. Unknown encodings, UTF-16/32 files and
// bytes that are not valid in the named encoding raise Exception (messages
// in English, ASCII apart from a quoted encoding name). Characters CP1250
// lacks become '?' and are counted, so the caller can warn. Every function
// works on its arguments only and may run on several threads at once.
#pragma once

#include <string>
#include <string_view>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"

namespace druvo {

class TVLQXmlNode;

struct DecodedText {
  AnsiString Text;         // CP1250
  int LostCharacters = 0;  // characters written as '?'
  char32_t FirstLost = 0;  // the first of them
  int FirstLostLine = 0;   // its 1-based line in the input
};

// The value of the encoding pseudo-attribute of the XML declaration at the
// start of `bytes` (after a UTF-8 byte-order mark), "" when there is none.
DRUVO_API std::string DeclaredEncoding(std::string_view bytes);

// Decodes `bytes` by the rules above. Raises Exception.
DRUVO_API DecodedText DecodeToCp1250(std::string_view bytes);

// Decodes plain UTF-8 text (a leading byte-order mark dropped), whatever an
// XML declaration in it says. Raises Exception for invalid UTF-8.
DRUVO_API DecodedText DecodeUtf8ToCp1250(std::string_view bytes);

// The warning text for a decoding that lost characters, e.g.
// "2 characters have no CP1250 form and became '?' (first: U+2192 at line 4)".
DRUVO_API std::string LostCharactersWarning(const DecodedText& decoded);

// Parses the CP1250 text of an invoice into `root` with attributes and
// namespace prefixes removed, as the conversion expects, and checks that it
// holds an invoice (an Fa element). Raises Exception: the parser's messages,
// or "not a KSeF invoice: no Fa element under the root".
DRUVO_API void ParseKsefInvoice(const AnsiString& text, TVLQXmlNode& root);

}  // namespace druvo
