#include "druvo/ksef/UVlqIFKs.h"

#include <gtest/gtest.h>

namespace druvo {
namespace {

TEST(UVlqIFKs, KindTextsAndFallbackToVat) {
  const char* const teksty[] = {"VAT", "KOR",     "ZAL",    "ROZ",
                                "UPR", "KOR_ZAL", "KOR_ROZ"};
  for (int r = 0; r <= 6; ++r) {
    EXPECT_EQ(KsefTekstRodzajuFaktury(static_cast<TVLQKsefRodzajFaktury>(r)),
              teksty[r]);
  }
  EXPECT_EQ(KsefTekstRodzajuFaktury(static_cast<TVLQKsefRodzajFaktury>(7)),
            "VAT");
  EXPECT_EQ(KsefTekstRodzajuFaktury(static_cast<TVLQKsefRodzajFaktury>(-1)),
            "VAT");
}

TEST(TVLQDaneSzukanaFakturyWKSeF, OptionsStartSetAndCopiesAreIndependent) {
  TVLQDaneSzukanaFakturyWKSeF dane;
  EXPECT_TRUE(dane.Opcja1 && dane.Opcja2);
  EXPECT_FALSE(dane.Opcja3 || dane.Opcja4);
  dane.Zbior.Add(7);
  TVLQDaneSzukanaFakturyWKSeF kopia = dane;
  dane.Zbior.Add(8);
  EXPECT_EQ(kopia.Zbior.GetCount(), 1);
  EXPECT_EQ(kopia.Zbior.GetValues(0), 7);
}

// The sanitizer run reports any invoice the list failed to destroy.
TEST(TVLQListaFakturZKSeF, OwnsItsInvoicesAndLendsThemByIndex) {
  TVLQListaFakturZKSeF lista;
  EXPECT_EQ(lista.GetFaktura(0), nullptr);
  auto* pierwsza = new TVLQFakturaZKSeF;
  EXPECT_EQ(lista.DodajFakture(pierwsza), 0);
  EXPECT_EQ(lista.DodajFakture(nullptr), 1);
  lista.DodajFakture(new TVLQFakturaZKSeF);
  EXPECT_EQ(lista.GetFaktura(0), pierwsza);
  EXPECT_EQ(lista.GetFaktura(1), nullptr);
  EXPECT_EQ(lista.GetFaktura(-1), nullptr);
  EXPECT_EQ(lista.GetFaktura(lista.GetIleFaktur()), nullptr);
  lista.Czysc();
  EXPECT_EQ(lista.GetIleFaktur(), 0);
  EXPECT_EQ(lista.GetFaktura(0), nullptr);
  EXPECT_EQ(lista.DodajFakture(new TVLQFakturaZKSeF), 0);
  lista.Czysc();
  lista.Czysc();
  EXPECT_EQ(lista.GetIleFaktur(), 0);
  lista.DodajFakture(new TVLQFakturaZKSeF);  // freed by the destructor
}

}  // namespace
}  // namespace druvo
