// Tests of the KSeF invoice records: payments, line texts, the extracted
// invoice (clearing, deep copies, sums) and its third parties.
#include "druvo/ksef/UVlqKoKs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "druvo/platform/Exceptions.h"
#include "druvo/xml/UVlqXml.h"
#include "tests/support/KsefTestInvoices.h"
#include "tests/support/TestSupport.h"

namespace druvo::test {
namespace {

TEST(TVLQPlatnoscDoFakturyKSeF, PaymentListSumCopyAndClear) {
  TVLQListaPlatnosciKSeF lista;
  lista.push_back(new TVLQPlatnoscDoFakturyKSeF(6, "Przelew",
                                                EncodeDate(2024, 3, 5), 10.00));
  lista.push_back(nullptr);
  lista.push_back(new TVLQPlatnoscDoFakturyKSeF(1, "Got\xF3wka",
                                                EncodeDate(2024, 3, 6), 2.50));
  lista.back()->IdFormy = 7;
  EXPECT_DOUBLE_EQ(SumaPlatnosci(lista), 12.50);

  TVLQListaPlatnosciKSeF kopie;
  kopie.push_back(new TVLQPlatnoscDoFakturyKSeF(1, "", 0, 0.005));
  kopie.push_back(new TVLQPlatnoscDoFakturyKSeF(1, "", 0, 0.005));
  EXPECT_DOUBLE_EQ(SumaPlatnosci(kopie), 0.02);  // rounded each step

  PrzepiszListePlatnosciDoFakturyKSeF(nullptr, &kopie);
  EXPECT_EQ(kopie.size(), 2u);
  PrzepiszListePlatnosciDoFakturyKSeF(&lista, nullptr);

  // New objects replace the old (the sanitizer run sees them freed); the
  // null entry is not copied, nor the host's IdFormy.
  const AnsiString skopiowane =
      "6, Przelew, 05.03.2024, 10; 1, Got\xF3wka, 06.03.2024, 2.5";
  PrzepiszListePlatnosciDoFakturyKSeF(&lista, &kopie);
  EXPECT_EQ(Platnosci(kopie), skopiowane);
  EXPECT_NE(kopie[1], lista[2]);
  EXPECT_EQ(kopie[1]->IdFormy, -1);
  PrzepiszListePlatnosciDoFakturyKSeF(&kopie, &kopie);
  EXPECT_EQ(Platnosci(kopie), skopiowane);

  CzyscListePlatnosciKSeF(lista);
  CzyscListePlatnosciKSeF(kopie);
  EXPECT_TRUE(lista.empty());
  EXPECT_TRUE(kopie.empty());
}

TEST(TVLQTekstyPozycjiZKSeF, LaterValueReplacesAndCopiesAreIndependent) {
  TVLQTekstyPozycjiZKSeF teksty;
  teksty.DodajTekst(1, "Kolor", "czerwony");
  teksty.DodajTekst(1, "Kolor", "zielony");
  teksty.DodajTekst(3, "Rozmiar", "M");
  EXPECT_EQ(teksty.GetTekstyPozycji(1)->at("Kolor"), "zielony");
  EXPECT_EQ(teksty.GetTekstyPozycji(2), nullptr);
  EXPECT_EQ(teksty.GetWszystkieTeksty().size(), 2u);

  TVLQTekstyPozycjiZKSeF kopia;
  kopia.DodajTekst(9, "x", "y");
  kopia = teksty;
  kopia.DodajTekst(1, "Kolor", "niebieski");
  EXPECT_EQ(teksty.GetTekstyPozycji(1)->at("Kolor"), "zielony");
  EXPECT_EQ(kopia.GetTekstyPozycji(9), nullptr);
  kopia.Czysc();
  EXPECT_TRUE(kopia.GetWszystkieTeksty().empty());
}

// The fields of a record that do not start empty or zero, and its lists.
auto PolaPoczatkowe(const TVLQDaneFaktZKSeF& d) {
  return std::make_tuple(
      d.Zastrzezone1, d.TypDokumentu, d.KursWaluty, d.FormaPlatnosci,
      d.CenyBrutto, d.RodzajFaktury, d.Zastrzezone6, d.Zastrzezone7,
      d.Zastrzezone8, d.Zastrzezone9, d.ListaWZ.size(),
      d.Zastrzezone5.GetCount(), d.Platnosci.size(), d.GetIleKontBankowych(),
      d.TekstyPozycji.GetWszystkieTeksty().size(), d.Podmioty3.size());
}

TEST(TVLQDaneFaktZKSeF, CzyscRestoresTheInitialValuesAndFreesTheLists) {
  TVLQDaneFaktZKSeF dane;
  EXPECT_EQ(PolaPoczatkowe(dane),
            std::make_tuple(-1, 2, 1.0, -1, true, rfVAT, -1, -1, 6, false,
                            size_t{0}, 0, size_t{0}, 0, size_t{0}, size_t{0}));
  dane.TypDokumentu = 26;
  dane.KursWaluty = 4.3;
  dane.CenyBrutto = false;
  dane.ListaWZ.push_back("WZ 1");
  dane.Zastrzezone5.Add(4);
  dane.Platnosci.push_back(new TVLQPlatnoscDoFakturyKSeF());
  dane.DodajKontoBankowe("PL61", "Firmowe", "Bank");
  dane.TekstyPozycji.DodajTekst(1, "a", "b");
  dane.Podmioty3.emplace_back("P", "ID", "Adres", 2);
  dane.Czysc();
  EXPECT_EQ(PolaPoczatkowe(dane), PolaPoczatkowe(TVLQDaneFaktZKSeF()));

  TVLQPodmiot3 podmiot("P", "ID", "Adres", 2);
  podmiot.Czysc();
  EXPECT_EQ(podmiot.Nazwa + podmiot.Identyfikator + podmiot.Adres, "");
  EXPECT_EQ(podmiot.Rola, 0);
}

TEST(TVLQDaneFaktZKSeF, AssignmentCopiesDeeplyButNotTheLineMaps) {
  TVLQXmlNode wiersz;
  TVLQDaneFaktZKSeF zrodlo;
  zrodlo.NrDok = "FV/1";
  zrodlo.Zastrzezone5.Add(3);
  zrodlo.Platnosci.push_back(
      new TVLQPlatnoscDoFakturyKSeF(6, "Przelew", EncodeDate(2024, 3, 5), 100));
  zrodlo.Platnosci.back()->IdFormy = 12;
  zrodlo.DodajKontoBankowe("PL61", "Firmowe", "Bank A");
  zrodlo.TekstyPozycji.DodajTekst(2, "Kolor", "czarny");
  zrodlo.WierszePo[1] = &wiersz;
  zrodlo.WierszePrzed[1] = &wiersz;

  TVLQDaneFaktZKSeF cel;
  cel.Platnosci.push_back(new TVLQPlatnoscDoFakturyKSeF());
  cel.DodajKontoBankowe("stare", "", "");
  cel.WierszePo[7] = &wiersz;
  cel = zrodlo;
  cel = cel;
  EXPECT_EQ(cel.NrDok, "FV/1");
  EXPECT_TRUE(cel.Zastrzezone5.Contains(3));
  ASSERT_EQ(Platnosci(cel.Platnosci), "6, Przelew, 05.03.2024, 100");
  EXPECT_NE(cel.Platnosci[0], zrodlo.Platnosci[0]);
  EXPECT_EQ(cel.Platnosci[0]->IdFormy, 12);
  ASSERT_EQ(cel.GetIleKontBankowych(), 1);
  EXPECT_NE(cel.GetKontoBankowe(0), zrodlo.GetKontoBankowe(0));
  EXPECT_EQ(cel.TekstyPozycji.GetTekstyPozycji(2)->at("Kolor"), "czarny");
  // The line maps keep what the target held.
  EXPECT_EQ(cel.WierszePo, (TVLQDaneFaktZKSeF::TMapaWierszy{{7, &wiersz}}));
  EXPECT_TRUE(cel.WierszePrzed.empty());

  const TVLQDaneFaktZKSeF kopia(zrodlo);
  EXPECT_TRUE(kopia.WierszePo.empty());
  EXPECT_NE(kopia.Platnosci[0], zrodlo.Platnosci[0]);

  zrodlo.GetKontoBankowe(0)->NazwaBanku = "zmieniony";
  zrodlo.KopiujKontaBankoweZ(zrodlo.KontaBankowe);
  EXPECT_EQ(zrodlo.GetKontoBankowe(0)->NazwaBanku, "zmieniony");
  EXPECT_EQ(cel.GetKontoBankowe(0)->NazwaBanku, "Bank A");
  EXPECT_EQ(zrodlo.GetKontoBankowe(-1), nullptr);
  EXPECT_EQ(zrodlo.GetKontoBankowe(1), nullptr);
}

TEST(TVLQDaneFaktZKSeF, SumsRelatedDocumentsAndThirdParties) {
  TVLQDaneFaktZKSeF dane;
  dane.Netto23 = 0.005;
  dane.Netto8 = 0.005;
  dane.NettoZW = 10;
  EXPECT_DOUBLE_EQ(dane.SumaNetto(), 10.02);
  dane.Vat23 = 23;
  dane.Vat4 = 0.4;
  EXPECT_DOUBLE_EQ(dane.SumaPodatek(), 23.4);

  // The conversion tests show the text with the invoice's own number.
  EXPECT_EQ(dane.GetDotyczyDok(false), "");
  dane.ListaWZ = {"A", "B"};
  EXPECT_EQ(dane.GetDotyczyDok(false), "A, B");

  AnsiString nazwy = "x", identyfikatory, adresy;
  EXPECT_FALSE(dane.PrzygotujTekstyPodatnika3(nazwy, identyfikatory, adresy));
  EXPECT_EQ(nazwy, "x");
  dane.Podmioty3.emplace_back("N1", "I1", "A1", 2);
  dane.Podmioty3.emplace_back("N2", "", "A2", 8);
  EXPECT_TRUE(dane.PrzygotujTekstyPodatnika3(nazwy, identyfikatory, adresy));
  EXPECT_EQ(nazwy, "xN1, N2");
  EXPECT_EQ(identyfikatory, "I1, ");
  EXPECT_EQ(adresy, "A1, A2");
}

}  // namespace
}  // namespace druvo::test
