// The records that travel with a contractor import: settings, taxpayer check,
// messages, bank accounts and the search state with its contractor maps.
#include <memory>

#include "druvo/contractors/UVlqIDK.h"

namespace druvo {
namespace {

AnsiString DigitsOf(std::string_view text) {
  return TxTools(AnsiString(text)).DelAnyOtherChar("0123456789");
}

}  // namespace

TVLQKonfImpDaneKontr::TVLQKonfImpDaneKontr() {
  Czysc();
  LiczbaDluga2 = 0;
  LiczbaDluga3 = 0;
}

void TVLQKonfImpDaneKontr::Czysc() {
  Tekst1.clear(), Tekst2.clear(), Tekst3.clear();
  Liczba1 = 0;
  Liczba2 = 0;
  Znacznik = false;
  Liczba4 = 0;
}

void TVLQDaneSprawdzeniaPodatnika::Czysc() {
  *this = TVLQDaneSprawdzeniaPodatnika();
  Liczba1 = -1;
  Liczba2 = -1;
  Znacznik3 = true;
}

void TVLQDaneKontrKomunikat::Czysc() { *this = TVLQDaneKontrKomunikat(); }

// ---------------------------------------------------------------------------
// Bank accounts

void TVLQDaneImpNumerRachunku::Czysc() {
  NumerRachunku.clear();
  Tekst1.clear();
  Znacznik = false;
}

void TVLQDaneImpNumerRachunku::WyczyscListe(TList* lista) {
  if (lista == nullptr) return;
  for (int i = lista->Count() - 1; i >= 0; --i) {
    std::unique_ptr<TVLQDaneImpNumerRachunku> account(
        static_cast<TVLQDaneImpNumerRachunku*>(lista->Items(i)));
    lista->Delete(i);
  }
}

TVLQDaneImpNumerRachunku* TVLQDaneImpNumerRachunku::ZnajdzNumerRachunku(
    TList* lista, std::string_view numer) {
  if (lista == nullptr) return nullptr;
  const AnsiString wanted = DigitsOf(numer);
  for (int i = 0; i < lista->Count(); ++i) {
    auto* account = static_cast<TVLQDaneImpNumerRachunku*>(lista->Items(i));
    if (account != nullptr &&
        AnsiCompareText(DigitsOf(account->NumerRachunku), wanted) == 0) {
      return account;
    }
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Search state

TVLQSzukaneDaneKontrahenta::TVLQSzukaneDaneKontrahenta() = default;

TVLQSzukaneDaneKontrahenta::TVLQSzukaneDaneKontrahenta(
    const TVLQSzukaneDaneKontrahenta& other) {
  *this = other;
}

TVLQSzukaneDaneKontrahenta& TVLQSzukaneDaneKontrahenta::operator=(
    const TVLQSzukaneDaneKontrahenta& other) {
  if (this == &other) return *this;
  Tekst1 = other.Tekst1, Tekst2 = other.Tekst2;
  Tekst3 = other.Tekst3, Tekst4 = other.Tekst4;
  Liczba1 = other.Liczba1;
  Wartosc = other.Wartosc;
  CzyscMapeKontrahentowCiG();
  KopiujMapeKartotekKontrahenta(&other.MapaKontrahentowCiG,
                                &MapaKontrahentowCiG);
  Kontrahent1 = other.Kontrahent1;
  Kontrahent2 = other.Kontrahent2;
  Komunikat = other.Komunikat;
  Tekst5 = other.Tekst5;
  Liczba2 = other.Liczba2;
  return *this;
}

TVLQSzukaneDaneKontrahenta::~TVLQSzukaneDaneKontrahenta() {
  CzyscMapeKontrahentowCiG();
}

void TVLQSzukaneDaneKontrahenta::Czysc() {
  Tekst1.clear(), Tekst2.clear(), Tekst3.clear(), Tekst4.clear();
  Liczba1 = -1;
  Wartosc = 0;
  CzyscMapeKontrahentowCiG();
  Kontrahent1.Czysc();
  Kontrahent2.Czysc();
  Komunikat.Czysc();
  Tekst5.clear();
  Liczba2 = 1;
}

void TVLQSzukaneDaneKontrahenta::CzyscMapeKontrahentowCiG() {
  CzyscMapeKartotekKontrahenta(&MapaKontrahentowCiG);
}

bool TVLQSzukaneDaneKontrahenta::DodajDaneKontrahentaDoMapyCiG(
    const TVLQDaneImpKontrahenta* k) {
  if (k == nullptr || MapaKontrahentowCiG.count(k->Klucz) != 0) return false;
  auto copy = std::make_unique<TVLQDaneImpKontrahenta>(*k);
  TVLQDaneImpKontrahenta*& slot = MapaKontrahentowCiG[k->Klucz];
  slot = copy.release();
  return true;
}

void TVLQSzukaneDaneKontrahenta::KopiujMapeKartotekKontrahenta(
    const MapaKontrahentow* zrodlo, MapaKontrahentow* cel) {
  if (zrodlo == nullptr || cel == nullptr || zrodlo == cel) return;
  for (const auto& [key, contractor] : *zrodlo) {
    if (contractor == nullptr) {
      (*cel)[key] = nullptr;
      continue;
    }
    auto copy = std::make_unique<TVLQDaneImpKontrahenta>(*contractor);
    TVLQDaneImpKontrahenta*& slot = (*cel)[key];
    slot = copy.release();
  }
}

void TVLQSzukaneDaneKontrahenta::CzyscMapeKartotekKontrahenta(
    MapaKontrahentow* m) {
  if (m == nullptr) return;
  for (auto& entry : *m) {
    delete entry.second;
    entry.second = nullptr;
  }
  m->clear();
}

}  // namespace druvo
