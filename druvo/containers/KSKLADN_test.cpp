#include "druvo/containers/KSKLADN.h"

#include <gtest/gtest.h>

#include <vector>

#include "druvo/platform/AnsiString.h"
#include "druvo/util/KorbLib.h"

namespace druvo {
namespace {

std::vector<int> Numbers(TLkSkladniki& s) {
  std::vector<int> numbers;
  for (int i = 0; i < s.getIloscSkladnikow(); ++i) {
    numbers.push_back(s.getSkladnikByIndeks(i));
  }
  return numbers;
}

TEST(TLkSkladniki, FreshListAnswersTheDefaults) {
  TLkSkladniki s;
  EXPECT_EQ(s.getOpis(), "wybranych: 0 z 0");
  EXPECT_EQ(s.getRolaSkladnika(5), 0);
  EXPECT_EQ(s.getRolaSkladnika("x"), 0);
  EXPECT_EQ(s.getDomyslnaRolaSkladnika(5), 0);
  EXPECT_EQ(s.getKolejnoscSkladnika(5), 0);
  EXPECT_EQ(s.getRolaPozycji("x"), -1);
  EXPECT_EQ(s.getSkladnikByIndeks(0), -1);
  EXPECT_EQ(s.getTytulPozycji(0), "");
  EXPECT_EQ(s.getRolaPozycji(-1), 0);
  EXPECT_EQ(s.getNazwaSkladnika(5), "");
  EXPECT_EQ(s.getTitlesAsText(), "");
  s.setNullWart(7);
  EXPECT_EQ(s.getRolaSkladnika(5), 7);  // the null role answers a miss
  s.setRolaSkladnika(5, 1);             // nothing to set
  EXPECT_EQ(s.getIloscSkladnikow(), 0);
  bool jest = true, zaznaczony = true;
  AnsiString tytul = "x";
  s.getSkladn(jest, zaznaczony, tytul, -1);
  EXPECT_FALSE(jest);
  EXPECT_FALSE(zaznaczony);
  EXPECT_EQ(tytul, "");
}

TEST(TLkSkladniki, SelectionCountsRolesOtherThanTheNullRole) {
  TLkSkladniki s;
  s.DodajSkladnik(0, 0, 1, "a", "A");
  s.DodajSkladnik(1, 2, 0, "b", "B");
  s.DodajSkladnik(2, 1, 2, "c", "C");
  EXPECT_EQ(s.getOpis(), "wybranych: 2 z 3");
  EXPECT_EQ(s.getIloscSkladnikowZRola(2), 1);
  s.setNullWart(2);
  EXPECT_EQ(s.getOpis(), "wybranych: 2 z 3");
  s.PrzywrocDomyslneRole();
  EXPECT_EQ(s.getRolaSkladnika("a"), 1);
  EXPECT_EQ(s.getRolaSkladnika(2), 2);
  EXPECT_EQ(s.getOpis(), "wybranych: 2 z 3");

  // getSkladn and markSkladn use the 0/1 roles of a check list.
  bool jest = false, zaznaczony = false;
  AnsiString tytul;
  s.markSkladn(false, 0);
  s.getSkladn(jest, zaznaczony, tytul, 0);
  EXPECT_TRUE(jest);
  EXPECT_FALSE(zaznaczony);
  EXPECT_EQ(tytul, "A");
  s.markSkladn(true, 0);
  s.markSkladn(true, 3);  // no such index
  s.getSkladn(jest, zaznaczony, tytul, 0);
  EXPECT_TRUE(zaznaczony);
  EXPECT_EQ(s.getRolaSkladnika(0), 1);
  s.getSkladn(jest, zaznaczony, tytul, 3);
  EXPECT_FALSE(jest);

  TMLgTools::SetString("Druvo_KSKLADN", "str", u"wybrane: ");
  TMLgTools::SetString("Druvo_KSKLADN", "str_00001", u" spośród ");
  EXPECT_EQ(s.getOpis(), Utf8ToAnsi("wybrane: 2 spośród 3"));
  TMLgTools::Clear();
}

TEST(TLkSkladniki, LookupsTakeTheFirstExactMatch) {
  TLkSkladniki s;
  s.DodajSkladnik(4, 1, 3, "Cena", "Price");
  s.DodajSkladnik(4, 2, 5, "cena", "Second");
  s.setRolaSkladnika("cena", 9);
  s.setKolejnoscSkladnika(4, 8);
  EXPECT_EQ(s.getRolaSkladnika(4), 1);
  EXPECT_EQ(s.getRolaSkladnika("cena"), 9);
  EXPECT_EQ(s.getRolaSkladnika("CENA"), 0);
  EXPECT_EQ(s.getDomyslnaRolaSkladnika("cena"), 5);
  EXPECT_EQ(s.getTytulSkladnika(4), "Price");
  EXPECT_EQ(s.getKolejnoscSkladnika(4), 8);

  s.DodajPozycje(3, Utf8ToAnsi("Tytuł"), "");
  s.DodajPozycje(4, "T", "n");
  s.DodajPozycje(5, "U", "n");
  EXPECT_EQ(s.getNazwaPozycji(0), Utf8ToAnsi("Tytuł"));
  EXPECT_EQ(s.getRolaPozycji(Utf8ToAnsi("Tytuł")), 3);
  EXPECT_EQ(s.getRolaPozycji("n"), 4);
  EXPECT_EQ(s.getTytulPozycji(2), "U");
  EXPECT_EQ(s.getRolaPozycji(3), 0);
  s.clearListaWartosci();
  EXPECT_EQ(s.getIloscPozycji(), 0);
  EXPECT_EQ(s.getIloscSkladnikow(), 2);
}

TEST(TLkSkladniki, SortsByOrderAndListsTitlesByNumber) {
  TLkSkladniki s;
  s.DodajSkladnik(2, 0, 0, "c", "Trzy");
  s.DodajSkladnik(0, 0, 0, "a", "Jeden");
  s.DodajSkladnik(7, 0, 0, "b", "Siedem");
  s.setKolejnoscSkladnika("c", 3);
  s.setKolejnoscSkladnika(0, 1);
  s.setKolejnoscSkladnika(7, 2);
  s.SortujSkladnikiWgKolejnosci();
  EXPECT_EQ(Numbers(s), (std::vector<int>{0, 7, 2}));
  s.Skladniki.Sortuj(-1, 0);
  EXPECT_EQ(Numbers(s), (std::vector<int>{2, 7, 0}));
  // Numbers 0 .. count - 1: 1 is missing, 7 is beyond the count.
  EXPECT_EQ(s.getTitlesAsText(), "Jeden\r\n\r\nTrzy\r\n");
  // Keys other than 1 and -1 find all components equal.
  s.Skladniki.Sortuj(0, 0);
  TLkSkladnikRec probe;
  int i = -1;
  EXPECT_TRUE(s.Skladniki.SzukajNr(0, &probe, i));
  EXPECT_EQ(i, 1);
}

TEST(TLkSkladniki, CopiesAreDeepAndCzyscRestoresDefaults) {
  TLkSkladniki s;
  s.DodajSkladnik(1, 1, 0, "a", "A");
  s.DodajPozycje(2, "P", "p");
  s.setPrefixNazwy("pre");
  s.setCaption("cap");
  s.setNullWart(3);
  s.Liczba1 = 4;
  s.Znacznik2 = true;
  s.Liczba2 = 5;
  TLkSkladniki copy(s);
  TLkSkladniki assigned;
  assigned.DodajSkladnik(9, 9, 9, "z", "Z");
  assigned = s;
  s.setRolaSkladnika(1, 7);
  s.Czysc();
  for (TLkSkladniki* c : {&copy, &assigned}) {
    EXPECT_EQ(c->getRolaSkladnika(1), 1);
    EXPECT_EQ(c->getIloscSkladnikow(), 1);
    EXPECT_EQ(c->getRolaPozycji("p"), 2);
    EXPECT_EQ(c->getPrefixNazwy(), "pre");
    EXPECT_EQ(c->getCaption(), "cap");
    EXPECT_EQ(c->getNullWart(), 3);
    EXPECT_EQ(c->Liczba1, 4);
    EXPECT_TRUE(c->Znacznik2);
    EXPECT_EQ(c->Liczba2, 5);
  }
  EXPECT_EQ(s.getIloscSkladnikow() + s.getIloscPozycji(), 0);
  EXPECT_EQ(s.getPrefixNazwy(), "");
  EXPECT_EQ(s.getNullWart(), 0);
  EXPECT_EQ(s.Liczba1, 0);
  EXPECT_FALSE(s.Znacznik2);
  EXPECT_EQ(s.Liczba2, -1);
}

}  // namespace
}  // namespace druvo
