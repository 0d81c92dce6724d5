#include "druvo/goods/UVlqMaTw.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

namespace druvo {
namespace {

TEST(UVlqMaTw, OwnsCodesCopiesDeeplyAndClearKeepsBase) {
  TVLQMakroDaneTowaru oryginal;
  oryginal.DodajEan("\xA5\x81\x98\xFF");  // every byte survives the list
  oryginal.DodajKodDod(new TVLQMakroKodDod());
  oryginal.DodajKodDod(nullptr);
  oryginal.Tekst1 = oryginal.Tekst6 = oryginal.Tekst7 = "x";
  oryginal.Wartosc1 = oryginal.Wartosc2 = 3;
  oryginal.Liczba1 = 3;
  oryginal.ImpTekst1 = "baza";
  EXPECT_EQ(oryginal.GetEan(0), "\xA5\x81\x98\xFF");
  EXPECT_EQ(oryginal.GetEan(-1) + oryginal.GetEan(1), "00");
  EXPECT_EQ(oryginal.GetIleKodowDod(), 1);

  TVLQMakroDaneTowaru kopia;
  kopia.DodajKodDod(new TVLQMakroKodDod());
  kopia = oryginal;  // the old code goes
  kopia.GetKodDod(0)->Tekst1 = "zmieniony";
  EXPECT_EQ(oryginal.GetKodDod(0)->Tekst1 + kopia.GetKodDod(0)->Tekst1,
            "zmieniony");
  EXPECT_EQ(kopia.GetIleKodowDod() + kopia.GetIleEanow(), 2);

  kopia.Czysc();
  oryginal.Czysc();
  EXPECT_EQ(std::tie(oryginal.Tekst1, oryginal.Tekst6, oryginal.Tekst7,
                     oryginal.Wartosc1, oryginal.Wartosc2, oryginal.Liczba1,
                     oryginal.ImpTekst1),
            std::tuple("", "", "", 0.0, 1.0, std::int16_t{0}, "baza"));
  EXPECT_EQ(oryginal.GetIleEanow() + oryginal.GetIleKodowDod() +
                kopia.GetIleKodowDod(),
            0);
}

}  // namespace
}  // namespace druvo
