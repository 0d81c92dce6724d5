// Generated KSeF-like FA(3) invoices for benchmarks.
//
// GenerateKsefInvoice writes a complete invoice document (declaration, root
// with namespace declarations, Naglowek, Podmiot1, Podmiot2, Fa with `lines`
// FaWiersz elements of twelve children each and a Platnosc), indented with
// tabs and CR LF like the Ministry's samples. The declaration names UTF-8 as
// real files do, but the text is code page 1250, as the library receives it
// after conversion. Line values vary
// deterministically with `seed`; the sums in Fa agree with the lines. A line
// takes about 440 bytes, so 100,000 lines make about 44 MB.
#pragma once

#include <string>

namespace druvo::bench {

std::string GenerateKsefInvoice(int lines, unsigned seed = 1);

}  // namespace druvo::bench
