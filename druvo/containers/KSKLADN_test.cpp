#include "druvo/containers/KSKLADN.h"

#include <gtest/gtest.h>

#include <utility>

namespace druvo {
namespace {

TEST(TLkSkladniki, RolesAgainstTheNullRole) {
  TLkSkladniki s;
  EXPECT_EQ(s.getOpis(), "wybranych: 0 z 0");
  EXPECT_EQ(s.getRolaSkladnika(5) + s.getDomyslnaRolaSkladnika(5) +
                s.getKolejnoscSkladnika(5) + s.getRolaPozycji("x"),
            -1);
  s.DodajSkladnik(0, 0, 1, "a", "A");
  s.DodajSkladnik(1, 2, 0, "b", "B");
  s.DodajSkladnik(1, 1, 2, "B", "C");  // a second number 1
  EXPECT_EQ(s.getOpis(), "wybranych: 2 z 3");
  s.setNullWart(2);
  s.PrzywrocDomyslneRole();  // roles 1 0 2
  EXPECT_EQ(s.getOpis(), "wybranych: 2 z 3");
  EXPECT_EQ(s.getRolaSkladnika(9), 2);    // a miss answers the null role
  EXPECT_EQ(s.getRolaSkladnika(1), 0);    // the first of number 1
  EXPECT_EQ(s.getRolaSkladnika("B"), 2);  // names compare exactly
  bool jest, zaznaczony;
  AnsiString tytul = "x";
  s.markSkladn(true, 1);
  s.getSkladn(jest, zaznaczony, tytul, 1);
  EXPECT_TRUE(jest && zaznaczony && tytul == "B");
  s.getSkladn(jest, zaznaczony, tytul, 3);
  EXPECT_TRUE(!jest && !zaznaczony && tytul.empty());
}

TEST(TLkSkladniki, ValuesOrderTitlesAndCopies) {
  TLkSkladniki s;
  s.DodajPozycje(3, Utf8ToAnsi("Tytuł"), "");
  EXPECT_EQ(s.getRolaPozycji(Utf8ToAnsi("Tytuł")), 3);
  EXPECT_EQ(s.getTytulPozycji(1) + s.getNazwaPozycji(-1), "");
  for (const auto& [numer, tytul] :
       {std::pair(2, "Trzy"), std::pair(0, "Jeden"), std::pair(7, "Siedem")})
    s.DodajSkladnik(numer, 0, 0, tytul, tytul);
  s.setKolejnoscSkladnika("Trzy", 3);
  s.setKolejnoscSkladnika(0, 1);
  s.setKolejnoscSkladnika(7, 2);
  s.SortujSkladnikiWgKolejnosci();
  EXPECT_EQ(s.getSkladnikByIndeks(0) * 100 + s.getSkladnikByIndeks(1) * 10 +
                s.getSkladnikByIndeks(2),
            72);  // 0, 7, 2
  // Numbers 0 .. count - 1: 1 is missing, 7 lies beyond the count.
  EXPECT_EQ(s.getTitlesAsText(), "Jeden\r\n\r\nTrzy\r\n");
  s.Liczba2 = 5;
  s.setNullWart(9);
  TLkSkladniki copy(s);
  s.setRolaSkladnika(0, 4);
  s.Czysc();
  EXPECT_EQ(s.getIloscSkladnikow() + s.getIloscPozycji() + s.Liczba2 +
                s.getNullWart(),
            -1);
  EXPECT_EQ(copy.getRolaSkladnika(0) + copy.getIloscSkladnikow(), 3);
  EXPECT_EQ(copy.Liczba2, 5);

  // A copy onto or from no record (or another kind of record) does nothing.
  TLkSkladnikBuf buf;
  TLkSkladnikRec rec;
  rec.Numer = 4;
  buf.Podstaw(nullptr, &rec);
  buf.Podstaw(&rec, nullptr);
  EXPECT_EQ(rec.Numer, 4);
}

}  // namespace
}  // namespace druvo
