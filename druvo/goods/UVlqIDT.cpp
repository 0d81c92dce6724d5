#include "druvo/goods/UVlqIDT.h"

#include <cmath>
#include <tuple>

#include "druvo/util/KorbLib.h"

namespace druvo {

// ---- Access keys ----

AnsiString NazwaTypuKluczaAutoryzacji(TVLQTypKluczaAutoryzacji typ) {
  switch (typ) {
    case tkaGlowny:
      return "glowny";
    case tkaZKlucza:
      return "zKlucza";
    case tkaDemo:
      return "demo";
    default:
      return "brak";
  }
}

TVLQTypKluczaAutoryzacji NazwaTypuKluczaAutoryzacji2TypKluczaAutoryzacji(
    const AnsiString& nazwa) {
  for (TVLQTypKluczaAutoryzacji typ : {tkaGlowny, tkaZKlucza, tkaDemo}) {
    if (AnsiSameText(nazwa, NazwaTypuKluczaAutoryzacji(typ))) return typ;
  }
  return tkaBrak;
}

// ---- Run parameters and summary ----

TVLQParamAktualizacjiTowZewnBaza::TVLQParamAktualizacjiTowZewnBaza() {
  Czysc();
}

void TVLQParamAktualizacjiTowZewnBaza::Czysc() {
  Data1 = Date();
  Data2 = Data1;
}

void TVLQPodsumowanie::Czysc() { *this = TVLQPodsumowanie(); }

void TVLQPodsumowanie::Kopiuj(const TVLQPodsumowanie* zrodlo) {
  if (zrodlo != nullptr) *this = *zrodlo;
}

// ---- Goods records ----

TVLQDaneImpTowaruBase::~TVLQDaneImpTowaruBase() = default;

void TVLQDaneImpTowaruBase::Czysc() {
  AnsiString tekst2 = std::move(ImpTekst2);
  *this = TVLQDaneImpTowaruBase();
  ImpTekst2 = std::move(tekst2);
}

TVLQDaneImpTowaru::~TVLQDaneImpTowaru() = default;

TVLQDaneImpTowaru& TVLQDaneImpTowaru::operator=(
    const TVLQDaneImpTowaru& other) {
  // The import switches and numbers of the target stay as they are.
  ImpTekst1 = other.ImpTekst1;
  Tekst1 = other.Tekst1;
  Tekst2 = other.Tekst2;
  Tekst3 = other.Tekst3;
  Wartosc1 = other.Wartosc1;
  Znacznik1 = other.Znacznik1;
  Wartosc2 = other.Wartosc2;
  Wartosc3 = other.Wartosc3;
  Tekst4 = other.Tekst4;
  Tekst5 = other.Tekst5;
  Tekst6 = other.Tekst6;
  Tekst7 = other.Tekst7;
  Tekst8 = other.Tekst8;
  Tekst9 = other.Tekst9;
  Tekst10 = other.Tekst10;
  Tekst11 = other.Tekst11;
  Tekst12 = other.Tekst12;
  Tekst13 = other.Tekst13;
  Tekst14 = other.Tekst14;
  Tekst15 = other.Tekst15;
  Tekst16 = other.Tekst16;
  Tekst17 = other.Tekst17;
  Znacznik2 = other.Znacznik2;
  Znacznik3 = other.Znacznik3;
  Znacznik4 = other.Znacznik4;
  Znacznik5 = other.Znacznik5;
  ImpZnacznik1 = other.ImpZnacznik1;
  ImpTekst2 = other.ImpTekst2;
  return *this;
}

void TVLQDaneImpTowaru::Czysc() {
  TVLQDaneImpTowaruBase::Czysc();
  for (AnsiString* tekst :
       {&Tekst1, &Tekst2, &Tekst3, &Tekst4, &Tekst5, &Tekst6, &Tekst7, &Tekst8,
        &Tekst9, &Tekst10, &Tekst11, &Tekst12, &Tekst13, &Tekst14, &Tekst15,
        &Tekst16, &Tekst17}) {
    tekst->clear();
  }
  Wartosc1 = Wartosc2 = Wartosc3 = 0;
  Znacznik1 = Znacznik2 = Znacznik3 = Znacznik4 = Znacznik5 = false;
}

// ---- A product read from an outside base ----

void TVLQParamImpZewnBazaTow::Czysc() { *this = TVLQParamImpZewnBazaTow(); }

void TVLQKodyDodImpZewnBazaTow::Czysc() { *this = TVLQKodyDodImpZewnBazaTow(); }

void TVLQParamKategoriiImpZewnBazaTow::Czysc() {
  *this = TVLQParamKategoriiImpZewnBazaTow();
}

TVLQZewnBazaDaneImpTow::TVLQZewnBazaDaneImpTow() { Czysc(); }

TVLQZewnBazaDaneImpTow::~TVLQZewnBazaDaneImpTow() = default;

TVLQParamImpZewnBazaTow* TVLQZewnBazaDaneImpTow::GetParametryImportu() {
  if (!parametryImportu_) parametryImportu_.emplace();
  return &*parametryImportu_;
}

void TVLQZewnBazaDaneImpTow::CzyscKodyDodatkowe() { KodyDodatkowe.Czysc(); }

void TVLQZewnBazaDaneImpTow::CzyscParamKategorii() {
  ParametryKategorii.Czysc();
}

void TVLQZewnBazaDaneImpTow::Czysc() {
  TVLQDaneImpTowaruBase::Czysc();
  GetParametryImportu()->Czysc();
  CzyscKodyDodatkowe();
  CzyscParamKategorii();
  Tekst1 = Tekst2 = Tekst3 = Tekst4 = "";
  Wartosc1 = Wartosc2 = 0;
  Liczba1 = 0;
  Wartosc3 = Wartosc4 = 0;
  Liczba2 = Liczba3 = Liczba4 = Liczba5 = Liczba6 = 0;
  Tekst5 = "";
  Liczba7 = Liczba8 = 0;
  for (AnsiString* tekst :
       {&Tekst6, &Tekst7, &Tekst8, &Tekst9, &Tekst10, &Tekst11, &Tekst12,
        &Tekst13, &Tekst14, &Tekst15, &Tekst16}) {
    tekst->clear();
  }
  Znacznik = false;
  Tekst17 = "";
  Liczba9 = 0;
}

// ---- Login and session ----

TVLQDaneSesji::TVLQDaneSesji(const TVLQDaneSesji& other) { *this = other; }

TVLQDaneSesji& TVLQDaneSesji::operator=(const TVLQDaneSesji& other) {
  if (this == &other) return *this;
  Czysc();
  Tekst1 = other.Tekst1;
  Tekst2 = other.Tekst2;
  Tekst3 = other.Tekst3;
  Tekst4 = other.Tekst4;
  Tekst5 = other.Tekst5;
  Tekst6 = other.Tekst6;
  Tekst7 = other.Tekst7;
  Tekst8 = other.Tekst8;
  Tekst9 = other.Tekst9;
  return *this;
}

void TVLQDaneSesji::Czysc() {
  for (AnsiString* tekst : {&Tekst1, &Tekst2, &Tekst3, &Tekst4, &Tekst5,
                            &Tekst6, &Tekst7, &Tekst8, &Tekst9}) {
    tekst->clear();
  }
}

void TVLQDaneLogowania::Czysc() {
  DaneSesji.Czysc();
  Liczba = 1;
  Tekst1 = "";
  WaznoscTokenu = 0;
  Tekst2 = Tekst3 = Tekst4 = Tekst5 = "";
  Mapa.clear();
}

bool TVLQDaneLogowania::CzyTokenSesjiWazny(TDateTime teraz) const {
  if (std::trunc(WaznoscTokenu) == 0) return false;
  const int dzien = TdtTools(teraz).DateCompare(WaznoscTokenu);
  if (dzien != 0) return dzien < 0;
  unsigned short godzina = 0, minuta = 0, sekunda = 0, ms = 0;
  unsigned short godzinaDo = 0, minutaDo = 0, sekundaDo = 0, msDo = 0;
  DecodeTime(teraz, godzina, minuta, sekunda, ms);
  DecodeTime(WaznoscTokenu, godzinaDo, minutaDo, sekundaDo, msDo);
  return std::tie(godzina, minuta, sekunda) <
         std::tie(godzinaDo, minutaDo, sekundaDo);
}

}  // namespace druvo
