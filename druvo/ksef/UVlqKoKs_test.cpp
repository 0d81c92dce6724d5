// Tests of the KSeF invoice records and of the converter's building blocks:
// records and sub-fields, the texts section and the field readers. Whole
// conversions are in UVlqKoKs_conversion_test.cpp.
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

TEST(TVLQKonwersjaKSeF, RecordsGoToFileAndTextAndSkipEmptyValues) {
  const std::string sciezka = testing::TempDir() + "ksefrec_zapis.txt";
  {
    TMFile plik(sciezka);
    TVLQKonwersjaKSeF k;
    k.DoTekstu = true;
    k.PlikWyjsciowy = &plik;
    k.WpiszDoPliku("TypDok", "", false);
    k.WpiszDoPliku("NrDok", "", true);
    k.WpiszDoPliku("Stopka", "a:b{c}", true);
    EXPECT_EQ(k.Wynik, "TypDok:\r\nStopka:a:b{c}\r\n");
    plik.Close();
  }
  EXPECT_EQ(ReadFile(sciezka), "TypDok:\r\nStopka:a:b{c}\r\n");
  std::filesystem::remove(sciezka);
  TVLQKonwersjaKSeF bezCelu;
  bezCelu.WpiszDoPliku("TypDok", "PZ", false);
  EXPECT_EQ(bezCelu.Wynik, "");

  EXPECT_EQ(TVLQKonwersjaKSeF::DopiszDoLinii("Kod", "", true), "");
  EXPECT_EQ(TVLQKonwersjaKSeF::DopiszDoLinii("Kod", "", false), "Kod{}");
  EXPECT_EQ(TVLQKonwersjaKSeF::TekstDatyDlaEdi(EncodeDate(2024, 12, 31) + 0.99),
            "31.12.2024");
  EXPECT_EQ(TVLQKonwersjaKSeF::TekstDatyDlaEdi(EncodeDate(987, 1, 2)),
            "02.01.0987");
}

TEST(TVLQKonwersjaKSeF, DescriptionsBecomeDocumentTextsAndLineComments) {
  TVLQXmlNode faktura;
  Parsuj(faktura,
         Faktura("VAT",
                 Opis("Tekst 3", "a") + Opis("Uwagi", "b", "0") +
                     Opis("Kolor", "c", "x") + Opis("Komentarz 1", "k1", "2") +
                     Opis("Partia", "P1", "2") + Opis("Seria", "S1", "2") +
                     Opis("Komentarz 2", "k2", "3") + Opis("Seria", "S3", "3") +
                     "<DodatkowyOpis><Klucz>bez wartosci</Klucz>"
                     "</DodatkowyOpis>",
                 ""));
  TVLQKonwersjaKSeF::TMapaKomentarzy komentarze1, komentarze2;
  TVLQMapaTekstowKSeF teksty;
  TVLQKonwersjaKSeF k;
  k.OdczytajTeksty(faktura.GetNodeByName("Fa"), teksty, komentarze1,
                   komentarze2);
  // Line numbers below 1 or not numbers make document texts; a line's own
  // "Komentarz 2" takes the place of its other texts.
  EXPECT_EQ(teksty, (TVLQMapaTekstowKSeF{
                        {"Kolor", "c"}, {"Tekst 3", "a"}, {"Uwagi", "b"}}));
  EXPECT_EQ(k.Dane.TekstyDokumentu, teksty);
  EXPECT_EQ(komentarze1, (TVLQKonwersjaKSeF::TMapaKomentarzy{{2, "k1"}}));
  EXPECT_EQ(komentarze2, (TVLQKonwersjaKSeF::TMapaKomentarzy{
                             {2, "Partia:P1|Seria:S1"}, {3, "k2"}}));
  EXPECT_EQ(k.Dane.TekstyPozycji.GetTekstyPozycji(2)->size(), 3u);
}

TEST(TVLQKonwersjaKSeF, InvoiceTextsSection) {
  TVLQKonwersjaKSeF k;
  k.DoTekstu = true;
  k.WpiszTekstyDoPliku({{"Tekst 3", "a"}, {"Uwagi", "b"}, {"Kolor", "c"}});
  EXPECT_EQ(k.Wynik, "Tekst3:a\r\nKomentarz1:Kolor:c|Uwagi:b\r\n");

  // Keys in byte order: "DotyczyDok", "Komentarz", "TEKST 1", "Tekst 11",
  // "Tekst5", "tekst10"; the comment is written after the loop and replaces
  // the collected other texts.
  k.Wynik.clear();
  k.WpiszTekstyDoPliku({{"tekst10", "dziesiec"},
                        {"TEKST 1", "jeden"},
                        {"Tekst 11", "inny"},
                        {"Tekst5", ""},
                        {"DotyczyDok", "WZ 5"},
                        {"Komentarz", "m\xF3j"}});
  EXPECT_EQ(k.Wynik,
            "DotyczyDok:WZ 5\r\nTekst1:jeden\r\nTekst10:dziesiec\r\n"
            "Komentarz1:m\xF3j\r\n");

  // A document comment given empty still takes the place of the others.
  k.Wynik.clear();
  k.WpiszTekstyDoPliku({{"Dotyczy dokumentu", "WZ 6"},
                        {"Komentarz dokumentu", ""},
                        {"Uwagi", "x"}});
  EXPECT_EQ(k.Wynik, "DotyczyDok:WZ 6\r\n");
}

TEST(TVLQKonwersjaKSeF, TextAndAmountReadersOnEmptyMissingAndMalformedFields) {
  TVLQXmlNode fa;
  fa.AddNode("Pusta", "");
  fa.AddNode("Opis", "abc\r\ndef\r\r\n\nghi");
  fa.AddNode("Ujemna", "-50");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "Pusta", true), "");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "Brak", true), "");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(nullptr, "Opis", true), "");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "Opis", true),
            "abc def\r \nghi");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "Opis", false),
            "abc\r\ndef\r\r\n\nghi");

  double kwota = 99;
  EXPECT_TRUE(TVLQKonwersjaKSeF::OdczytajKwoteZPola(&fa, "Ujemna", kwota));
  EXPECT_DOUBLE_EQ(kwota, -50);
  kwota = 99;
  EXPECT_TRUE(TVLQKonwersjaKSeF::OdczytajKwoteZPola(&fa, "Pusta", kwota));
  EXPECT_EQ(kwota, 0);
  kwota = 99;
  EXPECT_FALSE(TVLQKonwersjaKSeF::OdczytajKwoteZPola(&fa, "Brak", kwota));
  EXPECT_EQ(kwota, 0);
  for (const char* zla : {"12,50", "abc", "1.2.3", " 12", "1e3", "-"}) {
    TVLQXmlNode wezel;
    wezel.AddNode("Kwota", zla);
    EXPECT_THROW(TVLQKonwersjaKSeF::OdczytajKwoteZPola(&wezel, "Kwota", kwota),
                 EConvertError)
        << zla;
  }
}

TEST(TVLQKonwersjaKSeF, DateReaderAndImpossibleDates) {
  EXPECT_EQ(TVLQKonwersjaKSeF::ParsujDateKSeF("2024-03-05T10:00:00"),
            EncodeDate(2024, 3, 5));
  EXPECT_EQ(TVLQKonwersjaKSeF::ParsujDateKSeF("2024-03"), 0);
  EXPECT_EQ(TVLQKonwersjaKSeF::ParsujDateKSeF(""), 0);
  for (const char* zla : {"2024-02-30", "2024-13-01", "2024-xx-05",
                          "abcd-03-05", "2024-03-00", "05.03.2024"}) {
    EXPECT_THROW(TVLQKonwersjaKSeF::ParsujDateKSeF(zla), EConvertError) << zla;
  }
}

}  // namespace
}  // namespace druvo::test
