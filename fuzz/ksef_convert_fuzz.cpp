// libFuzzer target for the whole KSeF invoice conversion: the parse, the
// conversion into EDI text (plain, and with host texts and a special VAT
// symbol), the copies of the extracted data, the summary and the
// document-list reading.
//
// The first byte, XORed with '<', chooses the parse flags (bit 0 set: keep
// the attributes, bit 1 set: keep namespace prefixes, bit 2: UzywacCDATA), so
// that an invoice starting with '<' parses as a host parses it. The library
// reports bad invoices with its Exception (EConvertError included); any other
// exception, a crash, a sanitizer report or a hang is a finding.
//
// The custom mutator knows the shape of XML: besides libFuzzer's byte-level
// mutations it drops, duplicates and swaps whole elements and replaces the
// text of an element with a typical or broken invoice value, so that damaged
// but still well-formed invoices reach the conversion.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "druvo/ksef/UVlqKoKs.h"
#include "druvo/platform/Exceptions.h"
#include "druvo/xml/UVlqXml.h"

namespace {

using namespace druvo;

[[noreturn]] void Finding(const char* what) {
  std::fprintf(stderr, "ksef_convert_fuzz: %s\n", what);
  std::abort();
}

// Runs `step`; the library's Exception is an expected outcome of a bad
// invoice, anything else aborts.
template <typename Step>
void Expect(Step step) {
  try {
    step();
  } catch (const Exception&) {
  } catch (const std::exception& error) {
    std::fprintf(stderr, "unexpected exception: %s\n", error.what());
    Finding("an exception not of the library's type");
  } catch (...) {
    Finding("an exception of an unknown type");
  }
}

TVLQTekstyDlaEDIVelquant5 HostTexts() {
  TVLQTekstyDlaEDIVelquant5 teksty;
  teksty.Teksty[0] = "Tekst hosta";
  teksty.Teksty[9] = "ostatni";
  teksty.DotyczyDokumentu = "FV/1/2026";
  teksty.Stopka = "Stopka hosta";
  teksty.Komentarz1 = "Komentarz";
  teksty.PowodKorekty = "Pomy\xB3ka";
  teksty.KomentarzePozycji[0][1] = "k1";
  teksty.KomentarzePozycji[1][2] = "k2";
  teksty.KomentarzePozycji[0][-5] = "poza zakresem";
  teksty.Partie[TVLQKluczPartii(1, 0)] = "P1";
  teksty.Partie[TVLQKluczPartii(1, 1)] = "P2";
  teksty.Partie[TVLQKluczPartii(999, 0)] = "brak linii";
  return teksty;
}

void Convert(TVLQXmlNode& root) {
  Expect([&] {
    AnsiString wynik;
    TVLQDaneFaktZKSeF dane;
    TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(&root, wynik, &dane,
                                                            nullptr, "0");
    TVLQDaneFaktZKSeF kopia;
    kopia = dane;
    TVLQDaneUproszczoneFaktZKSeF skrot;
    skrot.PrzepiszZ(kopia);
    dane.Czysc();
    kopia.Czysc();
  });
  Expect([&] {
    AnsiString wynik;
    TVLQTekstyDlaEDIVelquant5 teksty = HostTexts();
    TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(
        &root, wynik, nullptr, &teksty, "ZW");
  });
  Expect([&] {
    TVLQDaneUproszczoneFaktZKSeF dane;
    TVLQKonwersjaKSeF::OdczytajDaneUproszczoneZFakturyKSeF(&root, dane);
  });
  Expect([&] {
    AnsiString nr, typ, nazwa, nip, wolny1, wolny2;
    TDateTime data = 0;
    TVLQKonwersjaKSeF::OdczytajDaneDoListyDokumentow(
        &root, nr, data, typ, nazwa, nip, wolny1, wolny2);
  });
}

// --- Structure-aware mutation ------------------------------------------

struct Span {
  std::size_t begin;      // at '<' of the start tag
  std::size_t end;        // one past '>' of the end tag
  std::size_t textBegin;  // one past '>' of the start tag
  std::size_t textEnd;    // at '<' of the end tag (== textBegin when empty)
};

// The elements of `xml` with their extents, found by a tolerant linear scan
// (declarations, comments and unmatched end tags are skipped).
std::vector<Span> FindElements(std::string_view xml) {
  std::vector<Span> spans;
  std::vector<Span> open;
  std::size_t pos = 0;
  while ((pos = xml.find('<', pos)) != std::string_view::npos) {
    const std::size_t close = xml.find('>', pos);
    if (close == std::string_view::npos) break;
    const char kind = pos + 1 < xml.size() ? xml[pos + 1] : '\0';
    if (kind == '?' || kind == '!') {
      pos = close + 1;
      continue;
    }
    if (kind == '/') {
      if (!open.empty()) {
        Span span = open.back();
        open.pop_back();
        span.textEnd = pos;
        span.end = close + 1;
        spans.push_back(span);
      }
    } else if (xml[close - 1] == '/') {
      spans.push_back({pos, close + 1, close + 1, close + 1});
    } else {
      open.push_back({pos, 0, close + 1, 0});
    }
    pos = close + 1;
  }
  return spans;
}

constexpr const char* kValues[] = {"",
                                   "0",
                                   "-1",
                                   "1,5",
                                   "1e308",
                                   "-0.005",
                                   "2.675",
                                   "NaN",
                                   "inf",
                                   "99999999999999999999",
                                   "23",
                                   "zw",
                                   "np I",
                                   "oo",
                                   "0 KR",
                                   "VAT",
                                   "KOR",
                                   "ZAL",
                                   "ROZ",
                                   "UPR",
                                   "KOR_ZAL",
                                   "KOR_ROZ",
                                   "2026-02-30",
                                   "1899-12-30",
                                   "0000-00-00",
                                   "2026-02-15T25:61:61Z",
                                   "\xB3\xF3\xBF",
                                   "&amp;&lt;",
                                   "<![CDATA[x]]>",
                                   " ",
                                   "1 2",
                                   "PLN",
                                   "XXX",
                                   "6"};

using Rng = std::minstd_rand;

std::size_t Pick(Rng& rng, std::size_t n) {
  return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
}

std::string MutateStructure(const std::string& xml, Rng& rng) {
  const std::vector<Span> spans = FindElements(xml);
  if (spans.empty()) return xml;
  const Span& a = spans[Pick(rng, spans.size())];
  const std::string_view whole(xml);
  switch (Pick(rng, 4)) {
    case 0:  // drop an element
      return xml.substr(0, a.begin) + xml.substr(a.end);
    case 1:  // duplicate an element
      return xml.substr(0, a.end) +
             std::string(whole.substr(a.begin, a.end - a.begin)) +
             xml.substr(a.end);
    case 2: {  // swap two elements that do not overlap
      const Span& b = spans[Pick(rng, spans.size())];
      const Span& first = a.begin < b.begin ? a : b;
      const Span& second = a.begin < b.begin ? b : a;
      if (first.end > second.begin) return xml;
      return xml.substr(0, first.begin) +
             xml.substr(second.begin, second.end - second.begin) +
             xml.substr(first.end, second.begin - first.end) +
             xml.substr(first.begin, first.end - first.begin) +
             xml.substr(second.end);
    }
    default: {  // replace an element's text
      if (a.textEnd < a.textBegin) return xml;
      const char* value = kValues[Pick(rng, std::size(kValues))];
      return xml.substr(0, a.textBegin) + value + xml.substr(a.textEnd);
    }
  }
}

}  // namespace

// Weak, so that the replay program (no libFuzzer) links; it never mutates.
extern "C" __attribute__((weak)) std::size_t LLVMFuzzerMutate(
    std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data,
                                               std::size_t size,
                                               std::size_t maxSize,
                                               unsigned int seed) {
  Rng rng(seed);
  if (size == 0 || Pick(rng, 3) == 0) {
    return LLVMFuzzerMutate(data, size, maxSize);
  }
  const std::string mutated = MutateStructure(
      std::string(reinterpret_cast<const char*>(data), size), rng);
  if (mutated.empty() || mutated.size() > maxSize) {
    return LLVMFuzzerMutate(data, size, maxSize);
  }
  std::memcpy(data, mutated.data(), mutated.size());
  return mutated.size();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size == 0) return 0;
  const unsigned flags = data[0] ^ static_cast<unsigned>('<');
  const AnsiString xml(reinterpret_cast<const char*>(data), size);
  TVLQXmlNode::UzywacCDATA = (flags & 4) != 0;
  TVLQXmlNode root;
  bool parsed = false;
  Expect([&] {
    root.XmlParse(xml, (flags & 1) == 0, (flags & 2) == 0);
    parsed = true;
  });
  if (parsed) Convert(root);
  TVLQXmlNode::UzywacCDATA = false;
  return 0;
}
