#include "druvo/goods/UVlqIDT.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace druvo {
namespace {

// Every field of the base, for whole-record comparisons.
auto Pola(const TVLQDaneImpTowaruBase& b) {
  return std::tuple(b.ImpPrzelacznik1, b.ImpPrzelacznik2, b.ImpPrzelacznik3,
                    b.ImpPrzelacznik4, b.ImpPrzelacznik5, b.ImpPrzelacznik6,
                    b.ImpPrzelacznik7, b.ImpPrzelacznik8, b.ImpPrzelacznik9,
                    b.ImpPrzelacznik10, b.ImpLiczba1, b.ImpLiczba2,
                    b.ImpLiczba3, b.ImpLiczba4, b.ImpLiczba5, b.ImpTekst1,
                    b.ImpTekst2, b.ImpZnacznik1, b.ImpLiczba6, b.ImpLiczba7,
                    b.ImpZnacznik2);
}

// Sets every base field away from its default.
void Wypelnij(TVLQDaneImpTowaruBase& b) {
  for (bool* p : {&b.ImpPrzelacznik1, &b.ImpPrzelacznik2, &b.ImpPrzelacznik3,
                  &b.ImpPrzelacznik4, &b.ImpPrzelacznik5, &b.ImpPrzelacznik6,
                  &b.ImpPrzelacznik7, &b.ImpPrzelacznik8, &b.ImpPrzelacznik9,
                  &b.ImpPrzelacznik10, &b.ImpZnacznik1, &b.ImpZnacznik2}) {
    *p = !*p;
  }
  b.ImpLiczba1 = b.ImpLiczba2 = b.ImpLiczba3 = b.ImpLiczba4 = 11;
  b.ImpLiczba5 = b.ImpLiczba6 = b.ImpLiczba7 = 12;
  b.ImpTekst1 = "t1";
  b.ImpTekst2 = "t2";
}

TEST(UVlqIDT, KeyTypeNamesMapBothWays) {
  const struct {
    int typ;
    const char* nazwa;
  } nazwy[] = {{0, "brak"}, {1, "glowny"}, {2, "zKlucza"}, {3, "demo"},
               {7, "brak"}, {-1, "brak"},  {4, "brak"}};
  for (const auto& n : nazwy) {
    const auto typ = static_cast<TVLQTypKluczaAutoryzacji>(n.typ);
    EXPECT_EQ(NazwaTypuKluczaAutoryzacji(typ), n.nazwa) << n.typ;
    if (n.typ >= 0 && n.typ <= 3) {
      EXPECT_EQ(NazwaTypuKluczaAutoryzacji2TypKluczaAutoryzacji(n.nazwa), typ);
    }
  }
  const struct {
    const char* nazwa;
    TVLQTypKluczaAutoryzacji typ;
  } odczyty[] = {{"GLOWNY", tkaGlowny}, {"zklucza", tkaZKlucza},
                 {"DeMo", tkaDemo},     {"BRAK", tkaBrak},
                 {"", tkaBrak},         {" glowny", tkaBrak},
                 {"demo ", tkaBrak},    {"glowny\xB9", tkaBrak}};
  for (const auto& o : odczyty) {
    EXPECT_EQ(NazwaTypuKluczaAutoryzacji2TypKluczaAutoryzacji(o.nazwa), o.typ)
        << o.nazwa;
  }
}

TEST(UVlqIDT, RunRecordsClearAndCopy) {
  TVLQParamAktualizacjiTowZewnBaza param;
  param.Data1 = param.Data2 = 1.5;
  param.Czysc();
  EXPECT_EQ(param.Data1, param.Data2);
  EXPECT_EQ(param.Data1, std::trunc(param.Data1));
  EXPECT_LE(std::fabs(param.Data1 - Date()), 1.0);  // midnight may pass

  TVLQPodsumowanie zrodlo;
  int n = 1;
  for (int* p : {&zrodlo.Liczba1, &zrodlo.Liczba2, &zrodlo.Liczba3,
                 &zrodlo.Liczba4, &zrodlo.Liczba5, &zrodlo.Liczba6}) {
    *p = n++;
  }
  TVLQPodsumowanie cel;
  cel.Kopiuj(&zrodlo);
  cel.Kopiuj(nullptr);
  EXPECT_EQ(std::tie(cel.Liczba1, cel.Liczba2, cel.Liczba3, cel.Liczba4,
                     cel.Liczba5, cel.Liczba6),
            std::tuple(1, 2, 3, 4, 5, 6));
  cel.Czysc();
  EXPECT_EQ(cel.Liczba1 + cel.Liczba6, 0);
}

TEST(UVlqIDT, BaseClearKeepsSecondText) {
  TVLQDaneImpTowaruBase b;
  Wypelnij(b);
  b.Czysc();
  TVLQDaneImpTowaruBase nowy;
  nowy.ImpTekst2 = "t2";
  EXPECT_EQ(Pola(b), Pola(nowy));

  TVLQDaneImpTowaru towar;
  Wypelnij(towar);
  towar.Tekst1 = towar.Tekst17 = "x";
  towar.Wartosc1 = towar.Wartosc3 = 2.5f;
  towar.Znacznik1 = towar.Znacznik5 = true;
  towar.Czysc();
  EXPECT_EQ(Pola(towar), Pola(nowy));
  EXPECT_EQ(towar.Tekst1 + towar.Tekst17, "");
  EXPECT_EQ(towar.Wartosc1 + towar.Wartosc3, 0.0f);
  EXPECT_FALSE(towar.Znacznik1 || towar.Znacznik5);
}

TEST(UVlqIDT, GoodsAssignmentKeepsTargetSwitches) {
  TVLQDaneImpTowaru zrodlo;
  Wypelnij(zrodlo);
  zrodlo.Tekst3 = "t3";
  zrodlo.Tekst17 = "t17";
  zrodlo.Wartosc2 = 1.25f;
  zrodlo.Znacznik4 = true;
  TVLQDaneImpTowaru cel;
  cel = zrodlo;
  TVLQDaneImpTowaru oczekiwany;
  oczekiwany.ImpTekst1 = "t1";
  oczekiwany.ImpTekst2 = "t2";
  oczekiwany.ImpZnacznik1 = true;
  EXPECT_EQ(Pola(cel), Pola(oczekiwany));
  EXPECT_EQ(std::tie(cel.Tekst3, cel.Tekst17, cel.Wartosc2, cel.Znacznik4),
            std::tie(zrodlo.Tekst3, zrodlo.Tekst17, zrodlo.Wartosc2,
                     zrodlo.Znacznik4));
  // The copy constructor takes everything.
  const TVLQDaneImpTowaru kopia(zrodlo);
  EXPECT_EQ(Pola(kopia), Pola(zrodlo));
}

TVLQZewnBazaDaneImpTow Produkt() {
  TVLQZewnBazaDaneImpTow p;
  p.GetParametryImportu()->Liczba = 5;
  p.GetParametryImportu()->Znacznik = true;
  p.ParametryKategorii["kolor"] = new TVLQParamKategoriiImpZewnBazaTow();
  p.ParametryKategorii["kolor"]->Tekst1 = "czerwony";
  p.ParametryKategorii["pusty"] = nullptr;
  p.KodyDodatkowe["ean"] = new TVLQKodyDodImpZewnBazaTow();
  p.KodyDodatkowe["ean"]->Liczba2 = 7;
  p.Tekst1 = p.Tekst17 = "x";
  p.Liczba1 = -3;
  p.Wartosc4 = 2;
  p.Znacznik = true;
  return p;
}

TEST(UVlqIDT, ProductCopiesOwnedObjectsDeeply) {
  TVLQZewnBazaDaneImpTow oryginal = Produkt();
  TVLQZewnBazaDaneImpTow kopia(oryginal);
  ASSERT_NE(kopia.ParametryKategorii["kolor"],
            oryginal.ParametryKategorii["kolor"]);
  EXPECT_EQ(kopia.ParametryKategorii["pusty"], nullptr);
  kopia.ParametryKategorii["kolor"]->Tekst1 = "zielony";
  kopia.KodyDodatkowe["ean"]->Liczba2 = 8;
  kopia.GetParametryImportu()->Liczba = 6;
  EXPECT_EQ(oryginal.ParametryKategorii["kolor"]->Tekst1, "czerwony");
  EXPECT_EQ(oryginal.KodyDodatkowe["ean"]->Liczba2, 7);
  EXPECT_EQ(oryginal.GetParametryImportu()->Liczba, 5);

  TVLQZewnBazaDaneImpTow przypisany;
  przypisany.KodyDodatkowe["stary"] = new TVLQKodyDodImpZewnBazaTow();
  przypisany = kopia;
  TVLQZewnBazaDaneImpTow& sam = przypisany;
  przypisany = sam;  // self-assignment keeps the objects
  EXPECT_EQ(przypisany.KodyDodatkowe.count("stary"), 0u);
  EXPECT_EQ(przypisany.KodyDodatkowe["ean"]->Liczba2, 8);

  kopia.Czysc();
  oryginal.CzyscKodyDodatkowe();
  oryginal.CzyscParamKategorii();
  EXPECT_TRUE(oryginal.KodyDodatkowe.empty());
  EXPECT_TRUE(oryginal.ParametryKategorii.empty());
  EXPECT_EQ(oryginal.Tekst1, "x");
}

TEST(UVlqIDT, ProductClearRestoresDefaults) {
  TVLQZewnBazaDaneImpTow p = Produkt();
  Wypelnij(p);
  p.Czysc();
  TVLQZewnBazaDaneImpTow nowy;
  nowy.ImpTekst2 = "t2";
  EXPECT_EQ(Pola(p), Pola(nowy));
  EXPECT_TRUE(p.KodyDodatkowe.empty() && p.ParametryKategorii.empty());
  EXPECT_EQ(std::tie(p.Tekst1, p.Tekst17, p.Liczba1, p.Wartosc4, p.Znacznik),
            std::tie(nowy.Tekst1, nowy.Tekst17, nowy.Liczba1, nowy.Wartosc4,
                     nowy.Znacznik));
  EXPECT_EQ(p.GetParametryImportu()->Liczba, -1);
  EXPECT_FALSE(p.GetParametryImportu()->Znacznik);
  EXPECT_EQ(p.GetParametryImportu(), p.GetParametryImportu());
}

TEST(UVlqIDT, SessionCopyClearsFirstAndSelfAssignKeeps) {
  TVLQDaneSesji a;
  a.Tekst1 = "token";
  a.Tekst9 = "\xB9";
  TVLQDaneSesji b;
  b.Tekst5 = "stary";
  b = a;
  EXPECT_EQ(b.Tekst1 + b.Tekst5 + b.Tekst9, "token\xB9");
  const TVLQDaneSesji c(a);
  EXPECT_EQ(c.Tekst9, "\xB9");
  TVLQDaneSesji& ref = a;
  a = ref;
  EXPECT_EQ(a.Tekst1, "token");

  TVLQDaneLogowania login;
  login.DaneSesji = a;
  login.Liczba = 4;
  login.WaznoscTokenu = 40000;
  login.Tekst5 = "x";
  login.Mapa["k"] = "v";
  login.Czysc();
  EXPECT_EQ(std::tie(login.DaneSesji.Tekst1, login.Liczba, login.WaznoscTokenu,
                     login.Tekst5),
            std::tuple("", 1, 0.0, ""));
  EXPECT_TRUE(login.Mapa.empty());
}

TEST(UVlqIDT, TokenValidToTheSecond) {
  const TDateTime dzis = EncodeDate(2024, 3, 15);
  auto o = [&](int dni, int h, int m, int s, int ms) {
    return dzis + dni + EncodeTime(h, m, s, ms);
  };
  const struct {
    TDateTime waznosc;
    TDateTime teraz;
    bool wazny;
  } przypadki[] = {
      {0, dzis, false},
      {0.9, 0.1, false},  // whole-day part 0
      {-0.5, -0.9, false},
      {o(0, 12, 0, 0, 0), o(0, 11, 59, 59, 999), true},
      {o(0, 12, 0, 0, 0), o(0, 12, 0, 0, 0), false},
      {o(0, 12, 0, 0, 0), o(0, 12, 0, 0, 500), false},
      {o(0, 12, 0, 0, 500), o(0, 12, 0, 0, 0), false},
      {o(0, 12, 0, 1, 0), o(0, 12, 0, 0, 999), true},
      {o(0, 12, 1, 0, 0), o(0, 12, 0, 59, 0), true},
      {o(0, 12, 0, 0, 0), o(0, 12, 0, 1, 0), false},
      {o(0, 12, 0, 0, 0), o(0, 11, 0, 59, 0), true},
      {o(0, 11, 0, 59, 0), o(0, 12, 0, 0, 0), false},
      {o(-1, 23, 59, 59, 0), o(0, 0, 0, 0, 0), false},
      {o(1, 0, 0, 0, 0), o(0, 23, 59, 59, 999), true},
      {o(0, 0, 0, 0, 0), o(-1, 23, 59, 59, 0), true},
  };
  TVLQDaneLogowania login;
  for (const auto& p : przypadki) {
    login.WaznoscTokenu = p.waznosc;
    EXPECT_EQ(login.CzyTokenSesjiWazny(p.teraz), p.wazny)
        << p.waznosc << " at " << p.teraz;
  }
}

}  // namespace
}  // namespace druvo
