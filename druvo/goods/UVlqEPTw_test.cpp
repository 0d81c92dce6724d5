#include "druvo/goods/UVlqEPTw.h"

#include <gtest/gtest.h>

#include <tuple>

namespace druvo {
namespace {

auto Pola(const TVLQEuroPlatformDaneTowaru& t) {
  return std::tuple(t.Gramatura.Tekst, t.Kategoryzacja.Tekst4,
                    t.Magazyn.Znacznik, t.Liczba2, t.Liczba5, t.Tekst7,
                    t.Wartosc1, t.Liczba7, t.Data1, t.GetIleKodowDod(),
                    t.ImpLiczba6);
}

TEST(UVlqEPTw, CodesOwnedCopiedDeeplyAndClearKeepsSeventhText) {
  TVLQEuroPlatformDaneTowaru t;
  t.Gramatura.Tekst = t.Kategoryzacja.Tekst4 = "a";
  t.Magazyn.Znacznik = false;
  t.Liczba2 = t.Liczba5 = t.Liczba7 = t.ImpLiczba6 = 5;
  t.Tekst7 = "zostaje";
  t.Wartosc1 = 0.5;
  t.Data1 = 45000.25;
  t.DodajKodDodatkowy(5, 2, "ABC", 1.5, 0);
  t.DodajKodDodatkowy(-7, 0, "\xA5\xB9", -2.25L, 1e300L);
  const TVLQKodDodatkowy* kod = t.PobierzKodDodatkowyByIdx(0);
  EXPECT_EQ(std::tie(kod->Liczba1, kod->Liczba2, kod->Tekst, kod->Wartosc1,
                     kod->Wartosc2),
            std::tuple(5, 2, "ABC", 1.5, 0.0));
  EXPECT_EQ(t.PobierzKodDodatkowyByIdx(1)->Wartosc2, 1e300);
  for (int i : {-1, 2}) EXPECT_EQ(t.PobierzKodDodatkowyByIdx(i), nullptr);

  TVLQEuroPlatformDaneTowaru kopia(t);
  kopia.PobierzKodDodatkowyByIdx(0)->Tekst = "zmieniony";
  TVLQEuroPlatformDaneTowaru przypisany;
  przypisany.DodajKodDodatkowy(0, 0, "stary", 0, 0);
  przypisany = kopia;
  EXPECT_EQ(t.PobierzKodDodatkowyByIdx(0)->Tekst, "ABC");
  EXPECT_EQ(przypisany.PobierzKodDodatkowyByIdx(0)->Tekst, "zmieniony");
  EXPECT_EQ(przypisany.GetIleKodowDod(), 2);

  t.Czysc();
  kopia.CzyscKodyDodatkowe();
  TVLQEuroPlatformDaneTowaru oczekiwany;
  oczekiwany.Tekst7 = "zostaje";
  oczekiwany.ImpLiczba6 = 5;
  EXPECT_EQ(Pola(t), Pola(oczekiwany));
  EXPECT_EQ(std::tie(t.Liczba7, t.Wartosc1, t.Liczba5, t.Magazyn.Znacznik),
            std::tuple(30, 1.0, 1, true));
  EXPECT_EQ(kopia.GetIleKodowDod(), 0);
}

}  // namespace
}  // namespace druvo
