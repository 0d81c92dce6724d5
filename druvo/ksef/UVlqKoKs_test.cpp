#include "druvo/ksef/UVlqKoKs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "druvo/platform/Exceptions.h"
#include "druvo/xml/UVlqXml.h"

namespace druvo {
namespace {

// A converter that collects its records in Wynik.
struct KonwersjaDoTekstu : TVLQKonwersjaKSeF {
  KonwersjaDoTekstu() { DoTekstu = true; }
};

// Fa/DodatkowyOpis with `nrWiersza` (none when empty).
void DodajOpis(TVLQXmlNode* fa, const AnsiString& klucz,
               const AnsiString& wartosc, const AnsiString& nrWiersza = "") {
  TVLQXmlNode* opis = fa->AddNode("DodatkowyOpis", "");
  if (!nrWiersza.empty()) opis->AddNode("NrWiersza", nrWiersza);
  opis->AddNode("Klucz", klucz);
  opis->AddNode("Wartosc", wartosc);
}

TEST(TVLQPlatnoscDoFakturyKSeF, PaymentListSumCopyAndClear) {
  TVLQListaPlatnosciKSeF lista;
  EXPECT_EQ(SumaPlatnosci(lista), 0);
  lista.push_back(new TVLQPlatnoscDoFakturyKSeF(6, "Przelew", 45000, 10.00));
  lista.push_back(nullptr);
  lista.push_back(new TVLQPlatnoscDoFakturyKSeF(1, "Got\xF3wka", 45001, 2.50));
  lista.back()->IdFormy = 7;
  EXPECT_DOUBLE_EQ(SumaPlatnosci(lista), 12.50);

  TVLQListaPlatnosciKSeF zaokraglane;
  zaokraglane.push_back(new TVLQPlatnoscDoFakturyKSeF(1, "", 0, 0.005));
  zaokraglane.push_back(new TVLQPlatnoscDoFakturyKSeF(1, "", 0, 0.005));
  EXPECT_DOUBLE_EQ(SumaPlatnosci(zaokraglane), 0.02);  // rounded each step

  PrzepiszListePlatnosciDoFakturyKSeF(nullptr, &zaokraglane);
  EXPECT_EQ(zaokraglane.size(), 2u);
  PrzepiszListePlatnosciDoFakturyKSeF(&lista, nullptr);

  PrzepiszListePlatnosciDoFakturyKSeF(&lista, &zaokraglane);
  ASSERT_EQ(zaokraglane.size(), 2u);
  EXPECT_NE(zaokraglane[1], lista[2]);
  EXPECT_EQ(zaokraglane[1]->FormaPlatnosci, 1);
  EXPECT_EQ(zaokraglane[1]->NazwaFormy, "Got\xF3wka");
  EXPECT_EQ(zaokraglane[1]->Data, 45001);
  EXPECT_EQ(zaokraglane[1]->Kwota, 2.50);
  EXPECT_EQ(zaokraglane[1]->IdFormy, -1);

  PrzepiszListePlatnosciDoFakturyKSeF(&zaokraglane, &zaokraglane);
  ASSERT_EQ(zaokraglane.size(), 2u);
  EXPECT_EQ(zaokraglane[0]->NazwaFormy, "Przelew");

  CzyscListePlatnosciKSeF(lista);
  CzyscListePlatnosciKSeF(zaokraglane);
  EXPECT_TRUE(lista.empty());
  EXPECT_TRUE(zaokraglane.empty());
}

TEST(TVLQTekstyPozycjiZKSeF, LaterValueReplacesAndCopiesAreIndependent) {
  TVLQTekstyPozycjiZKSeF teksty;
  EXPECT_EQ(teksty.GetTekstyPozycji(1), nullptr);
  teksty.DodajTekst(1, "Kolor", "czerwony");
  teksty.DodajTekst(1, "Kolor", "zielony");
  teksty.DodajTekst(3, "Rozmiar", "M");
  ASSERT_NE(teksty.GetTekstyPozycji(1), nullptr);
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

TEST(TVLQKluczPartii, OrdersByLineThenBatch) {
  EXPECT_TRUE(TVLQKluczPartii(1, 5) < TVLQKluczPartii(2, 0));
  EXPECT_FALSE(TVLQKluczPartii(2, 0) < TVLQKluczPartii(1, 5));
  EXPECT_TRUE(TVLQKluczPartii(1, 2) < TVLQKluczPartii(1, 3));
  EXPECT_FALSE(TVLQKluczPartii(1, 3) < TVLQKluczPartii(1, 3));
  const TVLQKluczPartii domyslny;
  EXPECT_EQ(domyslny.IdxLinii, 0);
  EXPECT_EQ(domyslny.IdxPartii, 0);
}

TEST(TVLQDaneFaktZKSeF, InitialValuesAndCzysc) {
  TVLQDaneFaktZKSeF dane;
  EXPECT_EQ(dane.Zastrzezone1, -1);
  EXPECT_EQ(dane.TypDokumentu, 2);
  EXPECT_EQ(dane.KursWaluty, 1.0);
  EXPECT_EQ(dane.FormaPlatnosci, -1);
  EXPECT_TRUE(dane.CenyBrutto);
  EXPECT_EQ(dane.RodzajFaktury, rfVAT);
  EXPECT_EQ(dane.Zastrzezone6, -1);
  EXPECT_EQ(dane.Zastrzezone7, -1);
  EXPECT_EQ(dane.Zastrzezone8, 6);
  EXPECT_FALSE(dane.Zastrzezone9);

  dane.TypDokumentu = 26;
  dane.ListaWZ.push_back("WZ 1");
  dane.Zastrzezone5.Add(4);
  dane.Platnosci.push_back(new TVLQPlatnoscDoFakturyKSeF());
  dane.DodajKontoBankowe("PL61", "Firmowe", "Bank");
  dane.TekstyPozycji.DodajTekst(1, "a", "b");
  dane.Podmioty3.emplace_back("P", "ID", "Adres", 2);
  dane.Czysc();
  EXPECT_EQ(dane.TypDokumentu, 2);
  EXPECT_TRUE(dane.ListaWZ.empty());
  EXPECT_EQ(dane.Zastrzezone5.GetCount(), 0);
  EXPECT_TRUE(dane.Platnosci.empty());
  EXPECT_EQ(dane.GetIleKontBankowych(), 0);
  EXPECT_TRUE(dane.TekstyPozycji.GetWszystkieTeksty().empty());
  EXPECT_TRUE(dane.Podmioty3.empty());
}

TEST(TVLQDaneFaktZKSeF, AssignmentCopiesDeeplyButNotTheLineMaps) {
  TVLQXmlNode wiersz;
  TVLQDaneFaktZKSeF zrodlo;
  zrodlo.NrDok = "FV/1";
  zrodlo.Zastrzezone5.Add(3);
  zrodlo.Platnosci.push_back(
      new TVLQPlatnoscDoFakturyKSeF(6, "Przelew", 45000, 100));
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
  ASSERT_EQ(cel.Platnosci.size(), 1u);
  EXPECT_NE(cel.Platnosci[0], zrodlo.Platnosci[0]);
  EXPECT_EQ(cel.Platnosci[0]->Kwota, 100);
  EXPECT_EQ(cel.Platnosci[0]->IdFormy, 12);
  ASSERT_EQ(cel.GetIleKontBankowych(), 1);
  EXPECT_NE(cel.GetKontoBankowe(0), zrodlo.GetKontoBankowe(0));
  EXPECT_EQ(cel.GetKontoBankowe(0)->NazwaBanku, "Bank A");
  EXPECT_EQ(cel.TekstyPozycji.GetTekstyPozycji(2)->at("Kolor"), "czarny");
  EXPECT_EQ(cel.WierszePo.size(), 1u);
  EXPECT_EQ(cel.WierszePo.count(7), 1u);
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

  EXPECT_EQ(dane.GetDotyczyDok(false), "");
  dane.NrDok = "FV/7";
  dane.DataWystawienia = EncodeDate(2024, 3, 5);
  EXPECT_EQ(dane.GetDotyczyDok(true), "FV/7 z 05.03.2024");
  dane.ListaWZ = {"A", "B"};
  EXPECT_EQ(dane.GetDotyczyDok(false), "A, B");
  EXPECT_EQ(dane.GetDotyczyDok(true), "A, B, FV/7 z 05.03.2024");

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

TEST(TVLQDaneUproszczoneFaktZKSeF, PrzepiszZReplacesTheTexts) {
  TVLQDaneFaktZKSeF dane;
  dane.NIPWystawcy = "PL1234567890";
  dane.TypDokumentu = 4;
  dane.RodzajFaktury = rfKOR;
  dane.Zamowienia = "Z1,2024-01-02";
  dane.TekstyDokumentu["a"] = "1";
  dane.TekstyPozycji.DodajTekst(1, "k", "v");
  TVLQDaneUproszczoneFaktZKSeF skrot;
  skrot.TekstyDokumentu["stary"] = "x";
  skrot.PrzepiszZ(dane);
  EXPECT_EQ(skrot.NIPWystawcy, "PL1234567890");
  EXPECT_EQ(skrot.TypDokumentu, 4);
  EXPECT_EQ(skrot.RodzajFaktury, 1);
  EXPECT_EQ(skrot.Zamowienia, "Z1,2024-01-02");
  EXPECT_EQ(skrot.TekstyDokumentu.size(), 1u);
  EXPECT_EQ(skrot.TekstyPozycji.GetTekstyPozycji(1)->at("k"), "v");
  skrot.Czysc();
  EXPECT_EQ(skrot.TypDokumentu, 2);
  EXPECT_EQ(skrot.Zastrzezone8, 6);
  EXPECT_TRUE(skrot.TekstyDokumentu.empty());
}

TEST(TVLQKonwersjaKSeF, RecordsSubFieldsAndDates) {
  KonwersjaDoTekstu k;
  k.WpiszDoPliku("NrDok", "", true);
  EXPECT_EQ(k.Wynik, "");
  k.WpiszDoPliku("TypDok", "", false);
  k.WpiszDoPliku("Stopka", "a:b{c}", true);
  EXPECT_EQ(k.Wynik, "TypDok:\r\nStopka:a:b{c}\r\n");

  TVLQKonwersjaKSeF bezCelu;
  bezCelu.WpiszDoPliku("TypDok", "PZ", false);
  EXPECT_EQ(bezCelu.Wynik, "");

  EXPECT_EQ(TVLQKonwersjaKSeF::DopiszDoLinii("Kod", "", true), "");
  EXPECT_EQ(TVLQKonwersjaKSeF::DopiszDoLinii("Kod", "", false), "Kod{}");
  EXPECT_EQ(TVLQKonwersjaKSeF::DopiszDoLinii("SumaVat", "0.0", false),
            "SumaVat{0.0}");

  EXPECT_EQ(TVLQKonwersjaKSeF::TekstDatyDlaEdi(EncodeDate(2024, 3, 5)),
            "05.03.2024");
  EXPECT_EQ(TVLQKonwersjaKSeF::TekstDatyDlaEdi(EncodeDate(2024, 12, 31) + 0.99),
            "31.12.2024");
  EXPECT_EQ(TVLQKonwersjaKSeF::TekstDatyDlaEdi(EncodeDate(987, 1, 2)),
            "02.01.0987");
  EXPECT_EQ(TVLQKonwersjaKSeF::TekstDatyDlaEdi(0), "30.12.1899");
}

TEST(TVLQKonwersjaKSeF, WritesTheSameRecordsToFileAndText) {
  const std::string sciezka = testing::TempDir() + "ksefrec_zapis.txt";
  {
    TMFile plik(sciezka);
    KonwersjaDoTekstu k;
    k.PlikWyjsciowy = &plik;
    k.WpiszDoPliku("TypDok", "PZ", false);
    k.WpiszDoPliku("NrDok", "", true);
    k.WpiszDoPliku("NrDok", "FV/1", true);
    EXPECT_EQ(k.Wynik, "TypDok:PZ\r\nNrDok:FV/1\r\n");
    plik.Close();
  }
  std::ifstream wejscie(sciezka, std::ios::binary);
  const std::string zapisane((std::istreambuf_iterator<char>(wejscie)),
                             std::istreambuf_iterator<char>());
  EXPECT_EQ(zapisane, "TypDok:PZ\r\nNrDok:FV/1\r\n");
  std::filesystem::remove(sciezka);
}

TEST(TVLQKonwersjaKSeF, HostTextsReplaceTheInvoiceTexts) {
  TVLQTekstyDlaEDIVelquant5 hosta;
  hosta.Teksty[0] = "pierwszy";
  hosta.Teksty[9] = "dziesiaty";
  hosta.PowodKorekty = "blad ceny";
  hosta.Komentarz1 = "od hosta";
  hosta.Stopka = "nie w sekcji";
  KonwersjaDoTekstu k;
  k.TekstyEDI = &hosta;
  k.WpiszTekstyDoPliku({{"Tekst 2", "z faktury"}, {"Uwagi", "b"}});
  EXPECT_EQ(k.Wynik,
            "Komentarz1:od hosta\r\nPowodKorekty:blad ceny\r\n"
            "Tekst1:pierwszy\r\nTekst10:dziesiaty\r\n");

  hosta.Czysc();
  EXPECT_TRUE(hosta.Teksty[0].empty());
  EXPECT_TRUE(hosta.Stopka.empty());
  k.Wynik.clear();
  k.WpiszTekstyDoPliku({{"Tekst 2", "z faktury"}});
  EXPECT_EQ(k.Wynik, "");
}

TEST(TVLQKonwersjaKSeF, InvoiceTextsSection) {
  KonwersjaDoTekstu k;
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

  k.Wynik.clear();
  k.WpiszTekstyDoPliku({});
  EXPECT_EQ(k.Wynik, "");
}

TEST(TVLQKonwersjaKSeF, BatchRecordsInKeyOrder) {
  KonwersjaDoTekstu k;
  k.WpiszPartieDoPliku();
  EXPECT_EQ(k.Wynik, "");

  TVLQTekstyDlaEDIVelquant5 hosta;
  k.TekstyEDI = &hosta;
  k.WpiszPartieDoPliku();
  EXPECT_EQ(k.Wynik, "");

  hosta.Partie[TVLQKluczPartii(2, 0)] = "Nr{C}";
  hosta.Partie[TVLQKluczPartii(1, 5)] = "Nr{B}";
  hosta.Partie[TVLQKluczPartii(1, 2)] = "Nr{A}";
  hosta.Partie[TVLQKluczPartii(0, 0)] = "";
  k.WpiszPartieDoPliku();
  EXPECT_EQ(k.Wynik,
            "Partia:IdxLinii{0}IdxPartii{0}\r\n"
            "Partia:IdxLinii{1}IdxPartii{2}Nr{A}\r\n"
            "Partia:IdxLinii{1}IdxPartii{5}Nr{B}\r\n"
            "Partia:IdxLinii{2}IdxPartii{0}Nr{C}\r\n");
}

TEST(TVLQKonwersjaKSeF, TextReaderOnPresentEmptyAndMissingFields) {
  TVLQXmlNode fa;
  fa.AddNode("P_2", "FV/1");
  fa.AddNode("Puste", "");
  fa.AddNode("Opis", "abc\r\ndef\r\r\n\nghi");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "p_2", false), "FV/1");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "Puste", true), "");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "Brak", true), "");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(nullptr, "P_2", true), "");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "Opis", true),
            "abc def\r \nghi");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "Opis", false),
            "abc\r\ndef\r\r\n\nghi");
}

TEST(TVLQKonwersjaKSeF, AmountReaderAndMalformedAmounts) {
  TVLQXmlNode fa;
  fa.AddNode("P_15", "1234.56");
  fa.AddNode("Ujemna", "-50");
  fa.AddNode("Pusta", "");
  double kwota = 99;
  EXPECT_TRUE(TVLQKonwersjaKSeF::OdczytajKwoteZPola(&fa, "p_15", kwota));
  EXPECT_DOUBLE_EQ(kwota, 1234.56);
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
  EXPECT_EQ(TVLQKonwersjaKSeF::ParsujDateKSeF("2024-03-05"),
            EncodeDate(2024, 3, 5));
  EXPECT_EQ(TVLQKonwersjaKSeF::ParsujDateKSeF("2024-03-05T10:00:00"),
            EncodeDate(2024, 3, 5));
  EXPECT_EQ(TVLQKonwersjaKSeF::ParsujDateKSeF("2024-03"), 0);
  EXPECT_EQ(TVLQKonwersjaKSeF::ParsujDateKSeF(""), 0);
  for (const char* zla : {"2024-02-30", "2024-13-01", "2024-xx-05",
                          "abcd-03-05", "2024-03-00", "05.03.2024"}) {
    EXPECT_THROW(TVLQKonwersjaKSeF::ParsujDateKSeF(zla), EConvertError) << zla;
  }
}

TEST(TVLQKonwersjaKSeF, PassReadsTheInvoiceTexts) {
  TVLQXmlNode faktura;
  faktura.Name = "Faktura";
  faktura.AddNode("Naglowek", "")
      ->AddNode("DataWytworzeniaFa", "2024-03-05T10:00:00Z");
  TVLQXmlNode* fa = faktura.AddNode("Fa", "");
  fa->AddNode("RodzajFaktury", "KOR_ZAL");
  DodajOpis(fa, "Tekst 3", "a");
  DodajOpis(fa, "Uwagi", "b", "0");
  DodajOpis(fa, "Kolor", "c", "x");
  DodajOpis(fa, "Komentarz 1", "k1", "2");
  DodajOpis(fa, "Partia", "P1", "2");
  DodajOpis(fa, "Seria", "S1", "2");
  DodajOpis(fa, "Komentarz 2", "k2", "3");
  DodajOpis(fa, "Seria", "S3", "3");
  fa->AddNode("DodatkowyOpis", "")->AddNode("Klucz", "bez wartosci");

  TVLQKonwersjaKSeF::TMapaKomentarzy komentarze1, komentarze2;
  TVLQMapaTekstowKSeF teksty;
  TVLQKonwersjaKSeF k;
  k.OdczytajTeksty(fa, teksty, komentarze1, komentarze2);
  EXPECT_EQ(teksty.size(), 3u);
  EXPECT_EQ(k.Dane.TekstyDokumentu, teksty);
  EXPECT_EQ(komentarze1, (TVLQKonwersjaKSeF::TMapaKomentarzy{{2, "k1"}}));
  EXPECT_EQ(komentarze2, (TVLQKonwersjaKSeF::TMapaKomentarzy{
                             {2, "Partia:P1|Seria:S1"}, {3, "k2"}}));
  EXPECT_EQ(k.Dane.TekstyPozycji.GetTekstyPozycji(2)->size(), 3u);

  AnsiString wynik = "stary";
  TVLQDaneFaktZKSeF dane;
  TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(&faktura, wynik,
                                                          &dane, nullptr, "");
  // A correction without lines is a delivery return; without P_1 the date
  // is day 0.
  EXPECT_EQ(wynik,
            "TypDok:ZD\r\nTekst3:a\r\nKomentarz1:Kolor:c|Uwagi:b\r\n"
            "Data:30.12.1899\r\nDotyczyDok: z 30.12.1899\r\n");
  EXPECT_EQ(dane.DataWytworzeniaFa, "2024-03-05T10:00:00Z");
  EXPECT_EQ(dane.RodzajFaktury, rfKOR_ZAL);
  EXPECT_EQ(dane.TekstyDokumentu.size(), 3u);

  // With the host's texts the invoice's never reach the output.
  TVLQTekstyDlaEDIVelquant5 hosta;
  hosta.Teksty[1] = "od hosta";
  hosta.Partie[TVLQKluczPartii(0, 1)] = "Nr{1}";
  TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(&faktura, wynik,
                                                          nullptr, &hosta, "");
  EXPECT_EQ(wynik,
            "TypDok:ZD\r\nTekst2:od hosta\r\nData:30.12.1899\r\n"
            "DotyczyDok: z 30.12.1899\r\n"
            "Partia:IdxLinii{0}IdxPartii{1}Nr{1}\r\n");

  TVLQXmlNode bezFa;
  bezFa.AddNode("Naglowek", "");
  TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(&bezFa, wynik,
                                                          nullptr, &hosta, "");
  EXPECT_EQ(wynik, "");
  TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(nullptr, wynik, &dane,
                                                          &hosta, "");
  EXPECT_EQ(wynik, "");
  EXPECT_EQ(dane.RodzajFaktury, rfVAT);
}

TEST(TVLQKonwersjaKSeF, RealInvoiceTextsBecomeTheComment) {
  std::ifstream wejscie(DRUVO_TESTDATA_DIR "/ksef/fa3/FA_3_complex.xml",
                        std::ios::binary);
  ASSERT_TRUE(wejscie.good());
  const std::string utf8((std::istreambuf_iterator<char>(wejscie)),
                         std::istreambuf_iterator<char>());
  TVLQXmlNode faktura;
  faktura.XmlParse(Utf8ToAnsi(utf8), true, true);
  AnsiString wynik;
  TVLQDaneFaktZKSeF dane;
  TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(&faktura, wynik,
                                                          &dane, nullptr, "");
  // The texts section follows the document type; the whole text is compared
  // with its reviewed copy in the conversion tests.
  EXPECT_EQ(wynik.substr(0, wynik.find("SposobPlatn:")),
            Utf8ToAnsi("TypDok:PZ\r\nKomentarz1:Informacja ogólna:To jest "
                       "ogólna informacja dotycząca faktury|Warunki dostawy:"
                       "Dostawa do magazynu odbiorcy\r\n"));
  ASSERT_NE(dane.TekstyPozycji.GetTekstyPozycji(2), nullptr);
  EXPECT_EQ(dane.TekstyPozycji.GetTekstyPozycji(2)->at("Certyfikat"),
            "CERT-2025-ABC");
}

}  // namespace
}  // namespace druvo
