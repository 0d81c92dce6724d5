// Helpers shared by the sources of the KSeF conversion unit: finding
// elements by name as TVLQXmlNode::GetNodeByName does (with a fast key for
// short ASCII names), reading amounts and texts of elements, and number text.
// Private to the library: not installed and not part of druvo/druvo.h.
#pragma once

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Prefetch_internal.h"
#include "druvo/util/KorbLib.h"
#include "druvo/xml/UVlqXml.h"

namespace druvo::koks_detail {

inline double ZaokraglijDo2(double kwota) { return TxfTools(kwota).Round(2); }

inline void DopiszLiczbe(AnsiString& wynik, int liczba) {
  char bufor[16];
  const auto koniec = std::to_chars(bufor, bufor + sizeof bufor, liczba).ptr;
  wynik.append(bufor, koniec);
}

// A name of at most 24 bytes with its ASCII letters in capitals. Bytes below
// 128 case-map as ASCII does and no other byte maps to them, so two names of
// such bytes are equal ignoring letter case (as GetNodeByName compares them)
// exactly when their lengths and keys are equal.
struct TKluczNazwy {
  static constexpr std::size_t kNajdluzsza = 24;
  std::uint64_t Czesci[3] = {0, 0, 0};
  constexpr bool operator==(const TKluczNazwy&) const = default;
};

// The key of `nazwa`; false when it is longer than 24 bytes or holds a byte
// from 128 up, which only the code page's comparison can match.
constexpr bool KluczNazwy(std::string_view nazwa, TKluczNazwy& klucz) {
  if (nazwa.size() > TKluczNazwy::kNajdluzsza) return false;
  for (std::size_t i = 0; i < nazwa.size(); ++i) {
    auto c = static_cast<unsigned char>(nazwa[i]);
    if (c >= 128) return false;
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - ('a' - 'A'));
    klucz.Czesci[i / 8] |= std::uint64_t{c} << (8 * (i % 8));
  }
  return true;
}

// Capitals of the ASCII letters in eight bytes that are all below 128: each
// byte from 'a' to 'z' loses 0x20. No sum carries into the next byte.
inline std::uint64_t WielkieAscii(std::uint64_t bajty) {
  constexpr std::uint64_t kJedynki = 0x0101010101010101;
  constexpr std::uint64_t kGorne = 0x8080808080808080;
  const std::uint64_t odA = bajty + (0x80 - 'a') * kJedynki;
  const std::uint64_t zaZ = bajty + (0x80 - 'z' - 1) * kJedynki;
  const std::uint64_t male = odA & ~zaZ & kGorne;
  return bajty - (male >> 2);
}

// Bytes [0, n) of `p` (n at most 8) as a little-endian word, zeros above:
// two overlapping loads instead of a copy of variable length.
inline std::uint64_t SlowoDo8(const char* p, std::size_t n) {
  if (n >= 4) {
    std::uint32_t dol;
    std::uint32_t gora;
    std::memcpy(&dol, p, 4);
    std::memcpy(&gora, p + n - 4, 4);
    return dol | (std::uint64_t{gora} << (8 * (n - 4)));
  }
  if (n == 0) return 0;
  const auto bajt = [p](std::size_t i) {
    return std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
  };
  return bajt(0) | bajt(n / 2) | bajt(n - 1);
}

// KluczNazwy for a child's name, eight bytes at a time.
inline bool KluczNazwyDziecka(std::string_view nazwa, TKluczNazwy& klucz) {
  if constexpr (std::endian::native != std::endian::little) {
    return KluczNazwy(nazwa, klucz);
  }
  const std::size_t n = nazwa.size();
  if (n > TKluczNazwy::kNajdluzsza) return false;
  const char* p = nazwa.data();
  const std::uint64_t czesci[3] = {
      SlowoDo8(p, std::min<std::size_t>(n, 8)),
      n > 8 ? SlowoDo8(p + 8, std::min<std::size_t>(n - 8, 8)) : 0,
      n > 16 ? SlowoDo8(p + 16, n - 16) : 0};
  if (((czesci[0] | czesci[1] | czesci[2]) & 0x8080808080808080) != 0) {
    return false;
  }
  for (int i = 0; i < 3; ++i) klucz.Czesci[i] = WielkieAscii(czesci[i]);
  return true;
}

// The first child of `node` named `name` ignoring letter case, exactly as
// TVLQXmlNode::GetNodeByName finds it, or null (also for a null `node`).
TVLQXmlNode* Wezel(const TVLQXmlNode* node, std::string_view name);

// The Value of the first child of `node` named `name` (letter case ignored),
// or an empty text when `node` is null or has no such child.
const AnsiString& WartoscPola(const TVLQXmlNode* node, std::string_view name);

// The amount of element `pole` into `kwota`: 0 when it is null (false) or
// empty (true); a malformed amount raises EConvertError.
bool KwotaWezla(const TVLQXmlNode* pole, double& kwota);

// `tekst` with every CR LF pair replaced by one blank.
AnsiString JednaLinia(const AnsiString& tekst);

}  // namespace druvo::koks_detail
