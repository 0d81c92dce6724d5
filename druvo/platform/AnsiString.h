// Single-byte and wide text of the runtime, and the code-page rules over them.
//
// AnsiString holds code-page-1250 bytes (0-based positions in C++ code);
// WideString is UTF-16. Every CP1250 byte survives AnsiToWide/WideToAnsi: the
// five bytes CP1250 leaves undefined map to the code points of the same value.
// A code point CP1250 lacks becomes '?'. Case mapping covers every CP1250
// letter and never changes a text's length. Trim* remove bytes 0 to 32.
#pragma once

#include <string>
#include <string_view>

#include "druvo/platform/Export.h"

namespace druvo {

using AnsiString = std::string;
using WideString = std::u16string;

// Code-page conversions.
DRUVO_API char16_t AnsiCharToWide(unsigned char c);
DRUVO_API WideString AnsiToWide(std::string_view text);
DRUVO_API AnsiString WideToAnsi(std::u16string_view text);
// UTF-8 edges (files, terminals). Malformed UTF-8 sequences become '?'.
DRUVO_API AnsiString Utf8ToAnsi(std::string_view utf8);
DRUVO_API std::string AnsiToUtf8(std::string_view text);
DRUVO_API WideString Utf8ToWide(std::string_view utf8);
DRUVO_API std::string WideToUtf8(std::u16string_view text);

// Letters and case, by the CP1250 tables.
DRUVO_API bool AnsiIsLetter(unsigned char c);
DRUVO_API bool AnsiIsUpper(unsigned char c);
DRUVO_API bool AnsiIsLower(unsigned char c);
DRUVO_API unsigned char AnsiUpperChar(unsigned char c);
DRUVO_API unsigned char AnsiLowerChar(unsigned char c);
DRUVO_API AnsiString AnsiUpperCase(std::string_view text);
DRUVO_API AnsiString AnsiLowerCase(std::string_view text);

// Case-insensitive comparison: negative, 0 or positive.
DRUVO_API int AnsiCompareText(std::string_view a, std::string_view b);
DRUVO_API bool AnsiSameText(std::string_view a, std::string_view b);

// Wide text by the same CP1250 tables: a code point CP1250 holds is mapped as
// its byte is, any other code point is left as it is. WideCompareText orders
// by the mapped code units.
DRUVO_API char16_t WideUpperChar(char16_t c);
DRUVO_API char16_t WideLowerChar(char16_t c);
DRUVO_API WideString WideUpperCase(std::u16string_view text);
DRUVO_API WideString WideLowerCase(std::u16string_view text);
DRUVO_API int WideCompareText(std::u16string_view a, std::u16string_view b);
DRUVO_API bool WideSameText(std::u16string_view a, std::u16string_view b);

// Case-sensitive byte comparison: negative, 0 or positive.
DRUVO_API int AnsiCompareStr(std::string_view a, std::string_view b);

// Remove bytes 0 to 32 from both ends, the start, or the end.
DRUVO_API AnsiString Trim(std::string_view text);
DRUVO_API AnsiString TrimLeft(std::string_view text);
DRUVO_API AnsiString TrimRight(std::string_view text);
// The same for wide text (code units 0 to 32).
DRUVO_API WideString Trim(std::u16string_view text);

}  // namespace druvo
