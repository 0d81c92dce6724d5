#include "druvo/goods/UVlqIDT.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>

namespace druvo {
namespace {

auto Pola(const TVLQDaneImpTowaruBase& b) {
  return std::tuple(b.ImpPrzelacznik1, b.ImpPrzelacznik6, b.ImpPrzelacznik7,
                    b.ImpPrzelacznik10, b.ImpLiczba1, b.ImpLiczba5, b.ImpTekst1,
                    b.ImpTekst2, b.ImpZnacznik1, b.ImpLiczba6, b.ImpLiczba7,
                    b.ImpZnacznik2);
}

void Wypelnij(TVLQDaneImpTowaruBase& b) {
  b.ImpPrzelacznik1 = b.ImpPrzelacznik6 = b.ImpZnacznik2 = false;
  b.ImpPrzelacznik7 = b.ImpPrzelacznik10 = b.ImpZnacznik1 = true;
  b.ImpLiczba1 = b.ImpLiczba5 = b.ImpLiczba6 = b.ImpLiczba7 = 11;
  b.ImpTekst1 = "t1";
  b.ImpTekst2 = "t2";
}

using Towar = TVLQDaneImpTowaru;
// The own fields of a goods record, each of which assignment copies.
AnsiString Towar::*const kTeksty[] = {
    &Towar::Tekst1,  &Towar::Tekst2,  &Towar::Tekst3,  &Towar::Tekst4,
    &Towar::Tekst5,  &Towar::Tekst6,  &Towar::Tekst7,  &Towar::Tekst8,
    &Towar::Tekst9,  &Towar::Tekst10, &Towar::Tekst11, &Towar::Tekst12,
    &Towar::Tekst13, &Towar::Tekst14, &Towar::Tekst15, &Towar::Tekst16,
    &Towar::Tekst17};
float Towar::*const kWartosci[] = {&Towar::Wartosc1, &Towar::Wartosc2,
                                   &Towar::Wartosc3};
bool Towar::*const kZnaczniki[] = {&Towar::Znacznik1, &Towar::Znacznik2,
                                   &Towar::Znacznik3, &Towar::Znacznik4,
                                   &Towar::Znacznik5};

AnsiString Wlasne(const Towar& t) {
  AnsiString s;
  for (auto p : kTeksty) s += t.*p + "|";
  for (auto p : kWartosci) s += t.*p == 0 ? "0" : "w";
  for (auto p : kZnaczniki) s += t.*p ? "1" : "0";
  return s;
}

TEST(UVlqIDT, KeyTypeNamesMapBothWays) {
  const std::pair<int, const char*> nazwy[] = {{-1, "brak"},  {0, "brak"},
                                               {1, "glowny"}, {2, "zKlucza"},
                                               {3, "demo"},   {4, "brak"}};
  for (const auto& [typ, nazwa] : nazwy) {
    EXPECT_EQ(NazwaTypuKluczaAutoryzacji(TVLQTypKluczaAutoryzacji(typ)), nazwa);
  }
  // Reading ignores letter case, nothing else.
  const std::pair<const char*, int> odczyty[] = {{"GLOWNY", 1},  {"zklucza", 2},
                                                 {"DeMo", 3},    {"", 0},
                                                 {" glowny", 0}, {"demo ", 0}};
  for (const auto& [nazwa, typ] : odczyty) {
    EXPECT_EQ(NazwaTypuKluczaAutoryzacji2TypKluczaAutoryzacji(nazwa), typ);
  }
}

TEST(UVlqIDT, ClearAndAssignmentKeepTheRightFields) {
  TVLQParamAktualizacjiTowZewnBaza param;
  param.Data1 = param.Data2 = 1.5;
  param.Czysc();
  EXPECT_EQ(param.Data1, std::trunc(param.Data2));
  EXPECT_LE(std::fabs(param.Data1 - Date()), 1.0);  // midnight may pass

  Towar towar, cel;
  Wypelnij(towar);
  for (auto p : kTeksty) towar.*p = "x";
  for (auto p : kWartosci) towar.*p = 2.5f;
  for (auto p : kZnaczniki) towar.*p = true;
  cel = towar;  // own fields, ImpTekst1, ImpZnacznik1 and ImpTekst2 only
  Towar oczekiwany;
  oczekiwany.ImpTekst1 = "t1";
  oczekiwany.ImpTekst2 = "t2";
  oczekiwany.ImpZnacznik1 = true;
  EXPECT_EQ(Pola(cel), Pola(oczekiwany));
  EXPECT_EQ(Wlasne(cel), Wlasne(towar));
  EXPECT_EQ(Pola(Towar(towar)), Pola(towar));

  towar.Czysc();  // everything but ImpTekst2
  Towar nowy;
  nowy.ImpTekst2 = "t2";
  EXPECT_EQ(Pola(towar), Pola(nowy));
  EXPECT_EQ(Wlasne(towar), Wlasne(nowy));

  // A summary copies its six counters, from nothing nothing.
  TVLQPodsumowanie suma, kopia;
  suma.Liczba1 = suma.Liczba6 = 3;
  kopia.Kopiuj(&suma);
  kopia.Kopiuj(nullptr);
  EXPECT_EQ(kopia.Liczba1 + kopia.Liczba6, 6);
}

TEST(UVlqIDT, ProductOwnsItsMapsAndCopiesDeeply) {
  TVLQZewnBazaDaneImpTow oryginal;
  oryginal.GetParametryImportu()->Liczba = 5;
  oryginal.ParametryKategorii["kolor"] = new TVLQParamKategoriiImpZewnBazaTow();
  oryginal.ParametryKategorii["pusty"] = nullptr;
  oryginal.KodyDodatkowe["ean"] = new TVLQKodyDodImpZewnBazaTow();
  oryginal.Tekst17 = "x";
  TVLQZewnBazaDaneImpTow kopia(oryginal);
  kopia.ParametryKategorii["kolor"]->Tekst1 = "zielony";
  kopia.KodyDodatkowe["ean"]->Liczba2 = 8;
  kopia.GetParametryImportu()->Liczba = 6;
  EXPECT_EQ(oryginal.ParametryKategorii["kolor"]->Tekst1, "");
  EXPECT_EQ(oryginal.GetParametryImportu()->Liczba, 5);

  TVLQZewnBazaDaneImpTow przypisany;
  przypisany.KodyDodatkowe["stary"] = new TVLQKodyDodImpZewnBazaTow();
  przypisany = kopia;
  EXPECT_EQ(przypisany.KodyDodatkowe.count("stary"), 0u);
  EXPECT_EQ(przypisany.KodyDodatkowe["ean"]->Liczba2, 8);

  Wypelnij(kopia);
  kopia.Tekst1 = kopia.Tekst5 = kopia.Tekst6 = "x";
  kopia.Wartosc1 = kopia.Wartosc3 = 2;
  kopia.Liczba1 = kopia.Liczba2 = kopia.Liczba7 = kopia.Liczba9 = 3;
  kopia.Znacznik = true;
  kopia.Czysc();
  EXPECT_TRUE(kopia.KodyDodatkowe.empty() && kopia.ParametryKategorii.empty());
  EXPECT_EQ(kopia.GetParametryImportu()->Liczba, -1);
  EXPECT_EQ(kopia.Tekst1 + kopia.Tekst5 + kopia.Tekst6 + kopia.Tekst17, "");
  EXPECT_EQ(std::tie(kopia.Wartosc1, kopia.Wartosc3, kopia.Liczba1,
                     kopia.Liczba2, kopia.Liczba7, kopia.Liczba9,
                     kopia.Znacznik, kopia.ImpTekst2, kopia.ImpLiczba7),
            std::tuple(0.0, 0.0, std::int16_t{0}, 0, 0, 0, false, "t2", 0));
}

TEST(UVlqIDT, SessionCopiesAndTokenValidToTheSecond) {
  TVLQDaneSesji a;
  a.Tekst1 = "token";
  a.Tekst9 = "\xB9";
  TVLQDaneSesji b;
  b.Tekst5 = "stary";
  b = a;
  TVLQDaneSesji& sam = b;
  b = sam;
  EXPECT_EQ(b.Tekst1 + b.Tekst5 + TVLQDaneSesji(b).Tekst9, "token\xB9");

  const TDateTime dzis = EncodeDate(2024, 3, 15);
  auto o = [&](int dni, int h, int m, int s, int ms) {
    return dzis + dni + EncodeTime(h, m, s, ms);
  };
  const std::tuple<TDateTime, TDateTime, bool> przypadki[] = {
      {0, dzis, false},  // validity, now, valid
      {0.9, 0.1, false},
      {-0.5, -0.9, false},
      {o(0, 12, 0, 0, 0), o(0, 11, 59, 59, 999), true},
      {o(0, 12, 0, 0, 0), o(0, 12, 0, 0, 0), false},
      {o(0, 12, 0, 0, 0), o(0, 12, 0, 0, 500), false},
      {o(0, 12, 1, 0, 0), o(0, 12, 0, 59, 0), true},
      {o(0, 11, 0, 59, 0), o(0, 12, 0, 0, 0), false},
      {o(-1, 23, 59, 59, 0), o(0, 0, 0, 0, 0), false},
      {o(1, 0, 0, 0, 0), o(0, 23, 59, 59, 999), true},
  };
  TVLQDaneLogowania login;
  for (const auto& [waznosc, teraz, wazny] : przypadki) {
    login.WaznoscTokenu = waznosc;
    EXPECT_EQ(login.CzyTokenSesjiWazny(teraz), wazny)
        << waznosc << " " << teraz;
  }
  login.Liczba = 4;
  login.DaneSesji.Tekst1 = login.Tekst5 = "x";
  login.Mapa["k"] = "v";
  login.Czysc();
  EXPECT_EQ(std::tie(login.DaneSesji.Tekst1, login.Liczba, login.WaznoscTokenu,
                     login.Tekst5, login.Mapa),
            std::tuple("", 1, 0.0, "", std::map<AnsiString, AnsiString>{}));
}

}  // namespace
}  // namespace druvo
