// Tests of the KSeF invoice records: payments, line texts, the extracted
// invoice (clearing, deep copies, sums) and its third parties.
#include "druvo/ksef/UVlqKoKs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "druvo/platform/Exceptions.h"
#include "druvo/xml/UVlqXml.h"
#include "tests/support/KsefDataText.h"
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

  kopie[1]->IdFormy = 7;
  kopie[1]->Czysc();
  EXPECT_EQ(std::make_tuple(kopie[1]->NazwaFormy, kopie[1]->FormaPlatnosci,
                            kopie[1]->Data, kopie[1]->Kwota, kopie[1]->IdFormy),
            std::make_tuple(AnsiString(), -1, TDateTime(0), 0.0, -1));
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

// The data of the richest sample, with every field it leaves at its start
// value changed too.
TVLQDaneFaktZKSeF PelneDane() {
  TVLQXmlNode faktura;
  Parsuj(faktura,
         Utf8ToAnsi(ReadFile(DRUVO_TESTDATA_DIR "/ksef/fa3/FA_3_complex.xml")));
  AnsiString edi;
  TVLQDaneFaktZKSeF d;
  TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(&faktura, edi, &d,
                                                          nullptr, "");
  d.Zastrzezone1 = d.Zastrzezone6 = d.Zastrzezone7 = d.Zastrzezone8 = 3;
  d.Zastrzezone2 = d.Stopka2 = d.Stopka3 = d.NrEORI = d.IDWewPodmiotu3 = "x";
  d.Zastrzezone3 = d.Zastrzezone4 = d.Netto4 = d.Vat5 = d.NettoZW = 1.5;
  d.Zastrzezone5.Add(4);
  d.Zastrzezone9 = d.CenyBrutto = !d.CenyBrutto;
  d.NoweSrodkiTransportu = 2;
  d.ListaWZ.push_back("WZ 1");
  d.Platnosci.push_back(new TVLQPlatnoscDoFakturyKSeF(6, "Przelew", 1, 2));
  d.Platnosci.back()->IdFormy = 12;
  return d;
}

TEST(TVLQDaneFaktZKSeF, CzyscRestoresTheInitialValuesAndFreesTheLists) {
  TVLQDaneFaktZKSeF dane;
  EXPECT_EQ(
      std::make_tuple(dane.Zastrzezone1, dane.TypDokumentu, dane.KursWaluty,
                      dane.FormaPlatnosci, dane.CenyBrutto, dane.RodzajFaktury,
                      dane.Zastrzezone6, dane.Zastrzezone7, dane.Zastrzezone8,
                      dane.Zastrzezone9),
      std::make_tuple(-1, 2, 1.0, -1, true, rfVAT, -1, -1, 6, false));
  dane = PelneDane();
  dane.Czysc();
  EXPECT_EQ(TekstDanych(dane), TekstDanych(TVLQDaneFaktZKSeF()));

  TVLQPodmiot3 podmiot("P", "ID", "Adres", 2);
  podmiot.Czysc();
  EXPECT_EQ(podmiot.Nazwa + podmiot.Identyfikator + podmiot.Adres, "");
  EXPECT_EQ(podmiot.Rola, 0);
}

TEST(TVLQTekstyDlaEDIVelquant5, CzyscEmptiesEveryText) {
  TVLQTekstyDlaEDIVelquant5 t;
  for (AnsiString* tekst :
       {&t.Teksty[0], &t.Teksty[9], &t.DotyczyDokumentu, &t.Stopka,
        &t.Komentarz1, &t.PowodKorekty, &t.TekstDodatkowy1, &t.TekstDodatkowy2,
        &t.TekstDodatkowy3}) {
    *tekst = "x";
    t.Czysc();
    EXPECT_EQ(*tekst, "");
  }
  t.KomentarzePozycji[3][1] = t.Partie[TVLQKluczPartii(1, 2)] = "x";
  t.Czysc();
  EXPECT_TRUE(t.KomentarzePozycji[3].empty() && t.Partie.empty());
}

TEST(TVLQDaneFaktZKSeF, AssignmentCopiesDeeplyButNotTheLineMaps) {
  TVLQXmlNode wiersz;
  TVLQDaneFaktZKSeF zrodlo = PelneDane();
  const std::string tekst = TekstDanych(zrodlo);
  zrodlo.WierszePo[1] = &wiersz;
  zrodlo.WierszePrzed[1] = &wiersz;

  TVLQDaneFaktZKSeF cel;
  cel.Platnosci.push_back(new TVLQPlatnoscDoFakturyKSeF());
  cel.DodajKontoBankowe("stare", "", "");
  cel.WierszePo[7] = &wiersz;
  cel = zrodlo;
  cel = cel;
  EXPECT_EQ(TekstDanych(cel), tekst);
  EXPECT_NE(cel.Platnosci[0], zrodlo.Platnosci[0]);
  EXPECT_EQ(cel.Platnosci.back()->IdFormy, 12);
  EXPECT_NE(cel.GetKontoBankowe(0), zrodlo.GetKontoBankowe(0));
  // The line maps keep what the target held.
  EXPECT_EQ(cel.WierszePo, (TVLQDaneFaktZKSeF::TMapaWierszy{{7, &wiersz}}));
  EXPECT_TRUE(cel.WierszePrzed.empty());

  const TVLQDaneFaktZKSeF kopia(zrodlo);
  EXPECT_EQ(TekstDanych(kopia), tekst);
  EXPECT_TRUE(kopia.WierszePo.empty());
  EXPECT_NE(kopia.Platnosci[0], zrodlo.Platnosci[0]);

  zrodlo.GetKontoBankowe(0)->NazwaBanku = "zmieniony";
  zrodlo.KopiujKontaBankoweZ(zrodlo.KontaBankowe);
  EXPECT_EQ(zrodlo.GetKontoBankowe(0)->NazwaBanku, "zmieniony");
  EXPECT_NE(cel.GetKontoBankowe(0)->NazwaBanku, "zmieniony");
  EXPECT_EQ(zrodlo.GetKontoBankowe(-1), nullptr);
  EXPECT_EQ(zrodlo.GetKontoBankowe(zrodlo.GetIleKontBankowych()), nullptr);
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
