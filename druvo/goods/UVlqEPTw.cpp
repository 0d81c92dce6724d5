#include "druvo/goods/UVlqEPTw.h"

#include <memory>
#include <utility>

namespace druvo {

void TVLQGramatura::Czysc() { *this = TVLQGramatura(); }
void TVLQCena::Czysc() { *this = TVLQCena(); }
void TVLQAsortyment::Czysc() { *this = TVLQAsortyment(); }
void TVLQKategoryzacja::Czysc() { *this = TVLQKategoryzacja(); }
void TVLQKodDodatkowy::Czysc() { *this = TVLQKodDodatkowy(); }
void TVLQKryteriaTowaru::Czysc() { *this = TVLQKryteriaTowaru(); }
void TVLQPolaTekstowe::Czysc() { *this = TVLQPolaTekstowe(); }
void TVLQMagazyn::Czysc() { *this = TVLQMagazyn(); }

TVLQEuroPlatformDaneTowaru::TVLQEuroPlatformDaneTowaru() { Czysc(); }

TVLQEuroPlatformDaneTowaru::~TVLQEuroPlatformDaneTowaru() = default;

void TVLQEuroPlatformDaneTowaru::Czysc() {
  Gramatura.Czysc();
  Cena.Czysc();
  Asortyment.Czysc();
  Kategoryzacja.Czysc();
  CzyscKodyDodatkowe();
  KryteriaTowaru.Czysc();
  PolaTekstowe.Czysc();
  Magazyn.Czysc();
  Liczba1 = Liczba2 = -1;
  Tekst1 = Tekst2 = Tekst3 = Tekst4 = Tekst5 = "";
  Liczba3 = Liczba4 = 0;
  Tekst6 = "";
  Liczba5 = 1;
  Liczba6 = 1;
  Wartosc1 = 1.0;
  Tekst8 = "";
  Liczba7 = 30;
  Liczba8 = 0;
  Data1 = 0;
}

void TVLQEuroPlatformDaneTowaru::CzyscKodyDodatkowe() {
  KodyDodatkowe.DeleteAll();
}

void TVLQEuroPlatformDaneTowaru::DodajKodDodatkowy(int liczba1, int liczba2,
                                                   AnsiString tekst,
                                                   long double wartosc1,
                                                   long double wartosc2) {
  auto kod = std::make_unique<TVLQKodDodatkowy>();
  kod->Liczba1 = liczba1;
  kod->Liczba2 = liczba2;
  kod->Tekst = std::move(tekst);
  kod->Wartosc1 = static_cast<double>(wartosc1);
  kod->Wartosc2 = static_cast<double>(wartosc2);
  KodyDodatkowe.Adopt(kod.release());
}

int TVLQEuroPlatformDaneTowaru::GetIleKodowDod() const {
  return KodyDodatkowe.Count();
}

TVLQKodDodatkowy* TVLQEuroPlatformDaneTowaru::PobierzKodDodatkowyByIdx(
    int i) const {
  return KodyDodatkowe.Item(i);
}

}  // namespace druvo
