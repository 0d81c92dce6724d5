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

}  // namespace
}  // namespace druvo

namespace druvo {
namespace {

TEST(TVLQDaneSzukanaFakturyWKSeF, InitialValuesAndIndependentCopies) {
  TVLQDaneSzukanaFakturyWKSeF dane;
  EXPECT_TRUE(dane.Opcja1);
  EXPECT_TRUE(dane.Opcja2);
  EXPECT_FALSE(dane.Opcja3);
  EXPECT_FALSE(dane.Opcja4);
  EXPECT_EQ(dane.DataOd, 0);
  EXPECT_EQ(dane.DataDo, 0);
  EXPECT_EQ(dane.Liczba1, 0);
  EXPECT_EQ(dane.Liczba2, 0);
  EXPECT_EQ(dane.KwotaOd, 0);
  EXPECT_EQ(dane.KwotaDo, 0);
  EXPECT_EQ(dane.Tekst1 + dane.Tekst8 + dane.Tekst9, "");
  EXPECT_EQ(dane.Zbior.GetCount(), 0);

  dane.Zbior.Add(7);
  dane.Tekst9 = "x";
  TVLQDaneSzukanaFakturyWKSeF kopia = dane;
  dane.Zbior.Add(8);
  EXPECT_EQ(kopia.Zbior.GetCount(), 1);
  EXPECT_EQ(kopia.Zbior.GetValues(0), 7);
  EXPECT_EQ(kopia.Tekst9, "x");
}

TEST(TVLQFakturaZKSeF, InitialValuesAreEmptyAndZero) {
  TVLQFakturaZKSeF faktura;
  EXPECT_EQ(faktura.Tekst1 + faktura.Tekst2 + faktura.Tekst3 + faktura.Tekst8 +
                faktura.Tekst9 + faktura.Tekst10,
            "");
  EXPECT_EQ(faktura.Data1, 0);
  EXPECT_EQ(faktura.Data2, 0);
  EXPECT_EQ(faktura.Kwota1 + faktura.Kwota2 + faktura.Kwota3, 0);
  EXPECT_EQ(faktura.Liczba, 0);
}

TEST(TVLQListaFakturZKSeF, IndexesOutsideTheListGiveNull) {
  TVLQListaFakturZKSeF lista;
  EXPECT_EQ(lista.GetIleFaktur(), 0);
  EXPECT_EQ(lista.GetFaktura(0), nullptr);
  auto* pierwsza = new TVLQFakturaZKSeF;
  pierwsza->Tekst1 = "FV/1";
  EXPECT_EQ(lista.DodajFakture(pierwsza), 0);
  EXPECT_EQ(lista.DodajFakture(new TVLQFakturaZKSeF), 1);
  EXPECT_EQ(lista.GetFaktura(0), pierwsza);
  EXPECT_EQ(lista.GetFaktura(0)->Tekst1, "FV/1");
  EXPECT_EQ(lista.GetFaktura(-1), nullptr);
  EXPECT_EQ(lista.GetFaktura(lista.GetIleFaktur()), nullptr);
}

// The sanitizer run reports any invoice the list failed to destroy.
TEST(TVLQListaFakturZKSeF, CzyscDestroysEntriesAndSkipsNull) {
  TVLQListaFakturZKSeF lista;
  lista.DodajFakture(new TVLQFakturaZKSeF);
  EXPECT_EQ(lista.DodajFakture(nullptr), 1);
  lista.DodajFakture(new TVLQFakturaZKSeF);
  EXPECT_EQ(lista.GetFaktura(1), nullptr);
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
