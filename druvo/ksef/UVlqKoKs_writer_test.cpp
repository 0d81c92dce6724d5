// Tests of the converter's writer: records and sub-fields into a file and a
// text, and the texts section from the invoice's descriptions or the host.
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

}  // namespace
}  // namespace druvo::test
