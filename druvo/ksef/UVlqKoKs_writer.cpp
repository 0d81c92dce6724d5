// KSeF conversion: writing EDI records, sub-fields, dates, the texts section
// and the batch records.
#include "druvo/ksef/UVlqKoKs.h"

#include <charconv>
#include <string_view>

#include "druvo/ksef/UVlqKoKs_internal.h"

namespace druvo {

using namespace koks_detail;

namespace {

// Appends `liczba` with at least `cyfr` digits, zero-padded.
void DopiszCyfry(AnsiString& wynik, unsigned liczba, std::size_t cyfr) {
  char bufor[16];
  const auto koniec = std::to_chars(bufor, bufor + sizeof bufor, liczba).ptr;
  const auto dlugosc = static_cast<std::size_t>(koniec - bufor);
  if (dlugosc < cyfr) wynik.append(cyfr - dlugosc, '0');
  wynik.append(bufor, koniec);
}

// The number n (1 to 10) of a key "Tekst n" or "Tekstn", or 0.
int NumerTekstu(const AnsiString& klucz) {
  static constexpr std::string_view kZOdstepem[] = {
      "Tekst 1", "Tekst 2", "Tekst 3", "Tekst 4", "Tekst 5",
      "Tekst 6", "Tekst 7", "Tekst 8", "Tekst 9", "Tekst 10"};
  static constexpr std::string_view kBezOdstepu[] = {
      "Tekst1", "Tekst2", "Tekst3", "Tekst4", "Tekst5",
      "Tekst6", "Tekst7", "Tekst8", "Tekst9", "Tekst10"};
  const TxTools tekst(klucz);
  for (int n = 1; n <= 10; ++n) {
    if (tekst.Compare(kZOdstepem[n - 1], true) == 0 ||
        tekst.Compare(kBezOdstepu[n - 1], true) == 0) {
      return n;
    }
  }
  return 0;
}

AnsiString KluczTekstu(int n) {
  AnsiString klucz = "Tekst";
  DopiszLiczbe(klucz, n);
  return klucz;
}

}  // namespace

// ---------------------------------------------------------------------------
// TVLQKonwersjaKSeF: the writer

void TVLQKonwersjaKSeF::WpiszDoPliku(std::string_view klucz,
                                     std::string_view wartosc,
                                     bool pomijajPuste) {
  if (pomijajPuste && wartosc.empty()) return;
  if (PlikWyjsciowy != nullptr) {
    linia_.assign(klucz);
    linia_ += ':';
    linia_.append(wartosc);
    PlikWyjsciowy->WriteLine(linia_, "\r\n");
  }
  if (DoTekstu) {
    Wynik.append(klucz);
    Wynik += ':';
    Wynik.append(wartosc).append("\r\n");
  }
}

AnsiString TVLQKonwersjaKSeF::DopiszDoLinii(std::string_view nazwa,
                                            std::string_view wartosc,
                                            bool pomijajPuste) {
  AnsiString pole;
  if (pomijajPuste && wartosc.empty()) return pole;
  pole.reserve(nazwa.size() + wartosc.size() + 2);
  pole.append(nazwa).append(1, '{').append(wartosc).append(1, '}');
  return pole;
}

AnsiString TVLQKonwersjaKSeF::TekstDatyDlaEdi(TDateTime data) {
  unsigned short rok = 0, miesiac = 0, dzien = 0;
  DecodeDate(data, rok, miesiac, dzien);
  AnsiString tekst;
  tekst.reserve(10);
  DopiszCyfry(tekst, dzien, 2);
  tekst += '.';
  DopiszCyfry(tekst, miesiac, 2);
  tekst += '.';
  DopiszCyfry(tekst, rok, 4);
  return tekst;
}

void TVLQKonwersjaKSeF::WpiszTekstyDoPliku(const TVLQMapaTekstowKSeF& teksty) {
  if (TekstyEDI != nullptr) {
    WpiszTekstyHosta();
  } else {
    WpiszTekstyFaktury(teksty);
  }
}

void TVLQKonwersjaKSeF::WpiszTekstyHosta() {
  WpiszDoPliku("Komentarz1", TekstyEDI->Komentarz1, true);
  WpiszDoPliku("DotyczyDokumentu", TekstyEDI->DotyczyDokumentu, true);
  WpiszDoPliku("PowodKorekty", TekstyEDI->PowodKorekty, true);
  for (int n = 1; n <= 10; ++n) {
    WpiszDoPliku(KluczTekstu(n), TekstyEDI->Teksty[n - 1], true);
  }
}

void TVLQKonwersjaKSeF::WpiszTekstyFaktury(const TVLQMapaTekstowKSeF& teksty) {
  AnsiString komentarz;
  bool jestKomentarz = false;
  AnsiString inneTeksty;
  for (const auto& [klucz, wartosc] : teksty) {
    if (const int n = NumerTekstu(klucz); n > 0) {
      WpiszDoPliku(KluczTekstu(n), wartosc, true);
    } else if (klucz == "Dotyczy dokumentu" || klucz == "DotyczyDok") {
      WpiszDoPliku("DotyczyDok", wartosc, true);
    } else if (klucz == "Komentarz dokumentu" || klucz == "Komentarz") {
      komentarz = wartosc;
      jestKomentarz = true;
    } else {
      if (!inneTeksty.empty()) inneTeksty += '|';
      inneTeksty.append(klucz).append(1, ':').append(wartosc);
    }
  }
  if (!jestKomentarz) komentarz = std::move(inneTeksty);
  WpiszDoPliku("Komentarz1", komentarz, true);
}

void TVLQKonwersjaKSeF::WpiszPartieDoPliku() {
  if (TekstyEDI == nullptr) return;
  AnsiString wartosc;
  for (const auto& [klucz, tekst] : TekstyEDI->Partie) {
    wartosc.assign("IdxLinii{");
    DopiszLiczbe(wartosc, klucz.IdxLinii);
    wartosc.append("}IdxPartii{");
    DopiszLiczbe(wartosc, klucz.IdxPartii);
    wartosc.append(1, '}').append(tekst);
    WpiszDoPliku("Partia", wartosc, true);
  }
}

}  // namespace druvo
