// libFuzzer target for the contractor letter-case pass and the legal-form
// lookup.
//
// The first byte chooses the mode of ZmianaWielkosciLiter (value % 3: plain,
// address, name) and, with the second, the number given to the legal-form
// lookup; the rest is the CP1250 text. Besides crashes, the target checks that
// every rule only changes the case of letters: the result is as long as the
// trimmed text and differs from it only in letter case, and so do the single
// word rules. A lookup returns a listed form or the fallback, and a form found
// by its code is found again by its number. Any difference aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "druvo/contractors/UVlqIDK.h"

namespace {

using druvo::AnsiString;
using druvo::TVLQDaneImpKontrahenta;

[[noreturn]] void Fail(const char* what, std::string_view input) {
  std::fprintf(stderr, "contractor_case_fuzz: %s for '%.*s'\n", what,
               static_cast<int>(input.size()), input.data());
  std::abort();
}

bool SameExceptCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y && druvo::AnsiLowerChar(x) != druvo::AnsiLowerChar(y) &&
        druvo::AnsiUpperChar(x) != druvo::AnsiUpperChar(y)) {
      return false;
    }
  }
  return true;
}

void CheckCase(std::string_view text, int mode) {
  const AnsiString result =
      TVLQDaneImpKontrahenta::ZmianaWielkosciLiter(text, mode == 1, mode == 2);
  if (!SameExceptCase(result, druvo::Trim(text))) Fail("pass", text);
  bool jest = false;
  if (!SameExceptCase(TVLQDaneImpKontrahenta::GlownyTekst(text, mode == 2),
                      text) ||
      !SameExceptCase(TVLQDaneImpKontrahenta::CzyOznaczenieAdresu(text, jest),
                      text) ||
      !SameExceptCase(TVLQDaneImpKontrahenta::CzySkrotWAdresie(text, jest),
                      text) ||
      !SameExceptCase(TVLQDaneImpKontrahenta::ZmianaJakWZdaniu(text), text)) {
    Fail("word rule", text);
  }
  TVLQDaneImpKontrahenta::CzyWyrazPisanyZMalychLiter(text);
  // Initials at positions taken from the text's own bytes.
  druvo::TMacSetOfIntegers positions;
  for (std::size_t i = 0; i < text.size() && i < 64; ++i) {
    positions.Add(static_cast<signed char>(text[i]));
  }
  AnsiString initials(text);
  TVLQDaneImpKontrahenta::AnalizaInicjalow(initials, positions);
  if (!SameExceptCase(initials, text)) Fail("initials", text);
}

void CheckLegalForm(std::string_view symbol, int number) {
  const auto form = druvo::WartoscSymboluFormyPrawnej(symbol, number);
  if (form.Numer < 0 || form.Numer > 104 || form.Nazwa.empty() ||
      (form.Numer == 0 && form.Kod != "999")) {
    Fail("legal form", symbol);
  }
  if (form.Numer > 0 && form.Numer != number) {
    const auto again = druvo::WartoscSymboluFormyPrawnej("", form.Numer);
    if (again.Kod != form.Kod || again.Nazwa != form.Nazwa) {
      Fail("legal form by number", symbol);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 2) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 2,
                              size - 2);
  CheckCase(text, data[0] % 3);
  const int number = static_cast<signed char>(data[1]);
  CheckLegalForm(text.substr(0, 4), number);
  CheckLegalForm(text, 0);
  return 0;
}
