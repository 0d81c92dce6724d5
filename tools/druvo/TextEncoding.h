// Turns the bytes of an invoice file into CP1250 text for the library.
//
// The rules are the library's (druvo/ksef/InvoiceText.h), shared with the C
// interface: UTF-8 unless the XML declaration names windows-1250,
// ISO-8859-2 or US-ASCII; a UTF-8 byte-order mark dropped; characters CP1250
// lacks become '?' and are counted. Here decoding errors raise CliError with
// the library's message.
#pragma once

#include <string>
#include <string_view>

#include "druvo/ksef/InvoiceText.h"

namespace druvo::cli {

using druvo::DeclaredEncoding;
using druvo::DecodedText;
using druvo::LostCharactersWarning;

// Decodes `bytes` by the rules above. Raises CliError.
DecodedText DecodeToCp1250(std::string_view bytes);

// Decodes plain UTF-8 text (a leading byte-order mark dropped), whatever it
// holds. Raises CliError for invalid UTF-8.
DecodedText DecodeUtf8ToCp1250(std::string_view bytes);

}  // namespace druvo::cli
