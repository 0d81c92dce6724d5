#include "druvo/goods/UVlqEPTw.h"

#include <gtest/gtest.h>

#include <tuple>

namespace druvo {
namespace {

TEST(UVlqEPTw, CodesOwnedCopiedDeeplyAndClearKeepsSeventhText) {
  TVLQEuroPlatformDaneTowaru t;
  t.Gramatura.Tekst = t.Asortyment.Tekst3 = t.Kategoryzacja.Tekst4 =
      t.KryteriaTowaru.Tekst2 = t.PolaTekstowe.Tekst5 = t.Tekst1 = t.Tekst6 =
          t.Tekst8 = t.Tekst7 = "zostaje";
  t.Magazyn.Znacznik = false;
  t.Liczba2 = t.Liczba3 = t.Liczba5 = t.Liczba6 = t.Liczba7 = t.Liczba8 =
      t.ImpLiczba6 = 5;
  t.Wartosc1 = t.Data1 = t.Cena.Wartosc3 = 0.5;
  t.DodajKodDodatkowy(5, 2, "ABC", 1.5, 1e300L);
  t.DodajKodDodatkowy(-7, 0, "\xA5\xB9", -2.25L, 0);
  const TVLQKodDodatkowy* kod = t.PobierzKodDodatkowyByIdx(0);
  EXPECT_EQ(std::tie(kod->Liczba1, kod->Liczba2, kod->Tekst, kod->Wartosc1,
                     kod->Wartosc2),
            std::tuple(5, 2, "ABC", 1.5, 1e300));

  TVLQEuroPlatformDaneTowaru kopia;
  kopia.DodajKodDodatkowy(0, 0, "stary", 0, 0);
  kopia = t;  // the old code goes
  kopia.PobierzKodDodatkowyByIdx(0)->Tekst = "zmieniony";
  EXPECT_EQ(t.PobierzKodDodatkowyByIdx(0)->Tekst, "ABC");
  EXPECT_EQ(kopia.GetIleKodowDod(), 2);

  // Own fields back to their defaults; Tekst7 and the base's fields kept.
  t.Czysc();
  kopia.CzyscKodyDodatkowe();
  EXPECT_EQ(t.Gramatura.Tekst + t.Asortyment.Tekst3 + t.Kategoryzacja.Tekst4 +
                t.KryteriaTowaru.Tekst2 + t.PolaTekstowe.Tekst5 + t.Tekst1 +
                t.Tekst6 + t.Tekst8,
            "");
  EXPECT_EQ(std::tie(t.Magazyn.Znacznik, t.Liczba2, t.Liczba3, t.Liczba5,
                     t.Liczba6, t.Liczba7, t.Liczba8, t.Wartosc1, t.Data1,
                     t.Cena.Wartosc3, t.Tekst7, t.ImpLiczba6),
            std::tuple(true, -1, 0, 1, 1, 30, 0, 1.0, 0.0, 0.0, "zostaje", 5));
  EXPECT_EQ(t.GetIleKodowDod() + kopia.GetIleKodowDod(), 0);
}

}  // namespace
}  // namespace druvo
