// Whole-conversion tests of TVLQKonwersjaKSeF: hand-built invoices compared
// record by record with the EDI text they must give.
#include "druvo/ksef/UVlqKoKs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "druvo/xml/UVlqXml.h"
#include "tests/support/KsefTestInvoices.h"
#include "tests/support/TestSupport.h"

namespace druvo::test {
namespace {

namespace fs = std::filesystem;

// A line record as written: `jm` "" gives no unit, `cena` and `wartosc` carry
// their n (net) or b (gross) mark, `poVat` goes before IdxLinii and `koniec`
// after IleWOpak.
AnsiString Linia(const AnsiString& nazwa, const AnsiString& jm,
                 const AnsiString& ilosc, const AnsiString& cena,
                 const AnsiString& wartosc, const AnsiString& vat, int idx,
                 const AnsiString& poVat = "", const AnsiString& koniec = "") {
  return "Linia:Nazwa{" + nazwa + "}" + (jm.empty() ? "" : "Jm{" + jm + "}") +
         "Ilosc{" + ilosc + "}Cena{" + cena + "}Wartosc{" + wartosc + "}Vat{" +
         vat + "}" + poVat + "IdxLinii{" + std::to_string(idx) +
         "}IleWOpak{1}" + koniec + "\r\n";
}

// The text of a hand-built invoice with the test parties and no amount due.
AnsiString Tekst(const AnsiString& typ, const AnsiString& linie) {
  return "TypDok:" + typ + "\r\n" + kRekordyPodmiotow + Naglowek() + linie;
}

// The lines the line reading of `xml` files, "number:name" joined by ",",
// the current ones, then "|" and those of the state before; the name is the
// value of `pole`.
AnsiString Wiersze(const AnsiString& xml, const AnsiString& pole = "P_7") {
  TVLQXmlNode faktura;
  Parsuj(faktura, xml);
  TVLQKonwersjaKSeF::TMapaWierszy po, przed;
  TVLQKonwersjaKSeF::OdczytajWierszeZXml(&faktura, po, przed);
  AnsiString tekst;
  for (const auto* mapa : {&po, &przed}) {
    if (mapa == &przed) tekst += "|";
    for (const auto& [nr, wiersz] : *mapa) {
      if (!tekst.empty() && tekst.back() != '|') tekst += ",";
      tekst += IntToStr(nr) + ":" + wiersz->GetNodeByName(pole)->Value;
    }
  }
  return tekst;
}

// Each Linia record of `tekst` as the first letter of its name and the
// last digit of its index.
AnsiString Linie(const AnsiString& tekst) {
  AnsiString linie;
  for (std::size_t at = tekst.find("Linia:Nazwa{"); at != AnsiString::npos;
       at = tekst.find("Linia:Nazwa{", at + 1)) {
    linie += tekst[at + 12];
    linie += tekst[tekst.find("}IleWOpak", at) - 1];
  }
  return linie;
}

TEST(TVLQKonwersjaKSeF, QuantityOnlyCorrectionGivesTheQuantityBack) {
  // The corrected invoices' numbers, dates and reason are in the real ones.
  const AnsiString fa =
      "<DaneFaKorygowanej><NrFaKorygowanej>FV/9</NrFaKorygowanej>"
      "<NrKSeFFaKorygowanej>111-A</NrKSeFFaKorygowanej></DaneFaKorygowanej>"
      "<DaneFaKorygowanej><NrFaKorygowanej>FV/10</NrFaKorygowanej>"
      "</DaneFaKorygowanej>" +
      WierszPrzed("1", "Kawa", "10", "5", "50", "23") +
      WierszPrzed("2", "Herbata", "3", "10.00001", "30", "23") +
      Wiersz("1", "Kawa", "8", "5", "40", "23") +
      Wiersz("2", "Herbata", "3", "10.00004", "30", "23");
  const Wynik wynik = Konwertuj(Faktura("KOR", fa));
  EXPECT_EQ(wynik.Tekst,
            Tekst("ZD", Linia("Kawa", "szt.", "2", "n5.00", "n10.00", "23", 0) +
                            Linia("Herbata", "szt.", "0", "n10.00004", "n0.00",
                                  "23", 1)));
  // The separator goes before every number after the first, even an absent
  // one.
  EXPECT_EQ(wynik.Dane.NrKSeFFaKorygowanych, "111-A, ");
}

TEST(TVLQKonwersjaKSeF, DiscrepancyCorrectionRemovesAndAddsLines) {
  const AnsiString fa =
      Opis("Komentarz 1", "wycofany", "4") +
      WierszPrzed("1", "Kawa", "10", "10.00", "100", "23") +
      WierszPrzed("2", "Herbata", "5", "4", "20", "23") +
      WierszPrzed("4", "Kakao", "2", "7.5", "15", "8") +
      Wiersz("1", "Kawa", "10", "9.50", "95", "23") +
      Wiersz("2", "Herbata", "3", "4", "12", "23") +
      Wiersz("3", "Cukier", "1", "3", "3", "8", "<P_12_Zal_15>1</P_12_Zal_15>");
  EXPECT_EQ(
      Konwertuj(Faktura("KOR", fa)).Tekst,
      Tekst("ROZB",
            Linia("Kawa", "szt.", "-10", "n10.00", "n-100.00", "23", 0,
                  "StanPocz{10}") +
                Linia("Kawa", "szt.", "10", "n9.50", "n95.00", "23", 0,
                      "StanPocz{0}") +
                Linia("Herbata", "szt.", "-2", "n4.00", "n-8.00", "23", 1) +
                Linia("Cukier", "szt.", "1", "n3.00", "n3.00", "8", 2,
                      "PodlegaMPP{1}") +
                Linia("Kakao", "szt.", "-2", "n7.50", "n-15.00", "8", 3,
                      "StanPocz{2}", "Komentarz1{wycofany}")));

  // Same count and prices, but a later number differs.
  EXPECT_EQ(
      Konwertuj(Faktura("KOR", WierszPrzed("1", "A", "1", "5", "5", "23") +
                                   WierszPrzed("2", "B", "1", "5", "5", "23") +
                                   Wiersz("1", "A", "1", "5", "5", "23") +
                                   Wiersz("3", "C", "1", "5", "5", "23")))
          .Tekst.substr(0, 13),
      "TypDok:ROZB\r\n");

  // A plain invoice never compares lines, whatever they are marked, and
  // writes no removed ones.
  const Wynik roz = Konwertuj(Faktura("ROZ", fa));
  EXPECT_EQ(roz.Dane.TypDokumentu, 2);
  EXPECT_EQ(roz.Tekst.find("Kakao"), AnsiString::npos);
}

TEST(TVLQKonwersjaKSeF, GrossAndNetLines) {
  const AnsiString brutto =
      "<FaWiersz><NrWierszaFa>1</NrWierszaFa><P_7>Mleko</P_7><P_8B>2</P_8B>"
      "<P_9A>3.00</P_9A><P_9B>3.24</P_9B><P_11>6.00</P_11><P_11A>6.48</P_11A>"
      "<P_12>8</P_12></FaWiersz>";
  const AnsiString zerowaBrutto =
      "<FaWiersz><P_7>Chleb</P_7><P_8B>1</P_8B><P_9A>4.123456</P_9A>"
      "<P_9B>0.0</P_9B><P_11>4.12</P_11><P_11A>9</P_11A><P_12>5</P_12>"
      "</FaWiersz>";
  const Wynik wynik = Konwertuj(Faktura("VAT", brutto + zerowaBrutto));
  EXPECT_EQ(
      wynik.Tekst,
      Tekst("PZ", Linia("Mleko", "", "2", "b3.24", "b6.48", "8", 0) +
                      Linia("Chleb", "", "1", "n4.12346", "n4.12", "5", 1)));
  EXPECT_FALSE(wynik.Dane.CenyBrutto);  // the last line's mode stays

  // A correction that turns a net line into a gross one is written by value.
  const AnsiString przed = WierszPrzed("1", "Mleko", "2", "3.00", "6.00", "8");
  EXPECT_EQ(Konwertuj(Faktura("KOR", przed + brutto)).Tekst,
            Tekst("ROZB", Linia("Mleko", "szt.", "-2", "n3.00", "n-6.00", "8",
                                0, "StanPocz{2}") +
                              Linia("Mleko", "", "2", "b3.24", "b6.48", "8", 0,
                                    "StanPocz{0}")));

  // Amounts compare rounded to the given places.
  EXPECT_EQ(TVLQKonwersjaKSeF::PorownajDwieKwoty(9.5, 10, 4), -1);
  EXPECT_EQ(TVLQKonwersjaKSeF::PorownajDwieKwoty(10.00005, 10, 4), 1);
  EXPECT_EQ(TVLQKonwersjaKSeF::PorownajDwieKwoty(-0.004, 0.004, 2), 0);
}

// An ordered item (ZamowienieWiersz) in pieces; `reszta` is appended inside.
AnsiString Pozycja(const AnsiString& nr, const AnsiString& nazwa,
                   const AnsiString& ilosc, const AnsiString& cena,
                   const AnsiString& wartosc, const AnsiString& stawka,
                   const AnsiString& reszta = "") {
  return "<ZamowienieWiersz>" +
         (nr.empty() ? "" : "<NrWierszaZam>" + nr + "</NrWierszaZam>") +
         "<P_7Z>" + nazwa + "</P_7Z><P_8BZ>" + ilosc + "</P_8BZ><P_9AZ>" +
         cena + "</P_9AZ><P_11NettoZ>" + wartosc + "</P_11NettoZ><P_12Z>" +
         stawka + "</P_12Z>" + reszta + "</ZamowienieWiersz>";
}

TEST(TVLQKonwersjaKSeF, AdvanceInvoiceTakesTheOrderedItems) {
  const AnsiString pozycje =
      "<Zamowienie><WartoscZamowienia>123</WartoscZamowienia>" +
      Pozycja("1", "Dom", "3", "10", "30", "23",
              "<GTINZ>590</GTINZ><PKWiUZ>41.00</PKWiUZ><IndeksZ>D1</IndeksZ>"
              "<CNZ>94</CNZ><P_8AZ>szt.</P_8AZ><P_12Z_Zal_15>1</P_12Z_Zal_15>"
              "<GTU>GTU_10</GTU>") +
      Pozycja("", "Paliwo", "1", "5", "5", "np I",
              "<P_12Z_XII>0.50</P_12Z_XII>") +
      "</Zamowienie>";
  const AnsiString pominiety = Wiersz("1", "pomijany", "1", "1", "1", "23");
  const Wynik wynik = Konwertuj(Faktura("ZAL", pominiety + pozycje));
  EXPECT_EQ(wynik.Tekst,
            Tekst("PZ",
                  "Linia:Nazwa{Dom}Kod{590}PKWiU{41.00}IndeksKSeF{D1}KodCN{94}"
                  "Jm{szt.}Ilosc{3}Cena{n10.00}Wartosc{n30.00}Vat{23}"
                  "PodlegaMPP{1}GrupaGTU{GTU_10}IdxLinii{0}IleWOpak{1}\r\n" +
                      Linia("Paliwo", "", "1", "n5.00", "n5.00", "0", 1)));
  EXPECT_EQ(wynik.Dane.Adnotacja, 13);

  // A correction of an advance invoice compares its items; items carry no
  // opening quantity. An excise of zero is no excise.
  const AnsiString korekta =
      "<Zamowienie>" +
      Pozycja("1", "Dom", "1", "10", "10", "23", "<StanPrzedZ>1</StanPrzedZ>") +
      Pozycja("1", "Dom", "1", "12", "12", "23", "<P_12Z_XII>0</P_12Z_XII>") +
      "</Zamowienie>";
  const Wynik korektaZaliczki = Konwertuj(Faktura("KOR_ZAL", korekta));
  EXPECT_EQ(korektaZaliczki.Dane.Adnotacja, 0);
  EXPECT_EQ(
      korektaZaliczki.Tekst,
      Tekst("ROZB", Linia("Dom", "", "-1", "n10.00", "n-10.00", "23", 0) +
                        Linia("Dom", "", "1", "n12.00", "n12.00", "23", 0)));

  // The line reading of both advance kinds takes the ordered items too.
  for (const char* rodzaj : {"ZAL", "KOR_ZAL"}) {
    EXPECT_EQ(Wiersze(Faktura(rodzaj, pominiety + pozycje), "P_7Z"),
              "1:Dom,2:Paliwo|");
  }

  // An advance invoice without ordered items has no lines.
  EXPECT_EQ(Konwertuj(Faktura("ZAL", pominiety)).Tekst, Tekst("PZ", ""));
}

// A record longer than the writer's room, numbers written the slow way (a
// tie, a value beyond 2^48), and a record that fails half way: the text
// keeps no part of it.
TEST(TVLQKonwersjaKSeF, LongRecordsAndRareNumbersAreWrittenWhole) {
  const AnsiString nazwa = AnsiString(3000, 'x') + "\r\n" + "y";
  const Wynik wynik =
      Konwertuj(Faktura("VAT",
                        Wiersz("7", nazwa, "0.0005", "100000000000000000000",
                               "100000000000000000000", "23") +
                            Wiersz("8", "B", "2", "0.125", "0.25", "23"),
                        ""));
  const AnsiString duza = "n100000000000000000000.00";
  EXPECT_EQ(wynik.Tekst,
            "TypDok:PZ\r\n" + Naglowek() +
                Linia(AnsiString(3000, 'x') + " y", "szt.", "0.001", duza, duza,
                      "23", 6) +
                Linia("B", "szt.", "2", "n0.125", "n0.25", "23", 7));
  // Records grow the text in steps: every name length up to past one step
  // meets the end of the room at each sub-field once.
  for (std::size_t dlugosc = 1; dlugosc <= 600; ++dlugosc) {
    const AnsiString imie(dlugosc, 'n');
    const AnsiString wiersz = Wiersz("", imie, "2", "0.125", "0.25", "23");
    ASSERT_EQ(Konwertuj(Faktura("VAT", wiersz + wiersz, "")).Tekst,
              "TypDok:PZ\r\n" + Naglowek() +
                  Linia(imie, "szt.", "2", "n0.125", "n0.25", "23", 0) +
                  Linia(imie, "szt.", "2", "n0.125", "n0.25", "23", 1))
        << dlugosc;
  }

  TVLQXmlNode faktura;
  Parsuj(faktura, Faktura("ZAL",
                          "<Zamowienie>" +
                              Pozycja("1", "Dom", "1", "2", "2", "23",
                                      "<P_12Z_XII>1,5</P_12Z_XII>") +
                              "</Zamowienie>",
                          ""));
  TVLQKonwersjaKSeF konwersja;
  konwersja.Faktura = &faktura;
  konwersja.DoTekstu = true;
  EXPECT_THROW(konwersja.WewnKonwertujDaneZXmlNaVelquant5(), EConvertError);
  EXPECT_EQ(konwersja.Wynik, "TypDok:PZ\r\n" + Naglowek());
}

// An invoice without parties and lines: only the payment and header records.
AnsiString FakturaZPlatnoscia(const AnsiString& platnosc,
                              const AnsiString& reszta = "") {
  return Faktura(
      "VAT",
      "<P_15>100</P_15>" + reszta + "<Platnosc>" + platnosc + "</Platnosc>",
      "");
}

// A ZaplataCzesciowa of `kwota` on `data`; `reszta` is appended inside it.
AnsiString Czesc(const AnsiString& kwota, const AnsiString& data,
                 const AnsiString& reszta = "") {
  return "<ZaplataCzesciowa><KwotaZaplatyCzesciowej>" + kwota +
         "</KwotaZaplatyCzesciowej><DataZaplatyCzesciowej>" + data +
         "</DataZaplatyCzesciowej>" + reszta + "</ZaplataCzesciowa>";
}

// Terms after the issue date and the usual forms are in the real invoices;
// these are the rarer cases. Each row: the Platnosc content, what goes
// before it in Fa, the payment records, and "term|form code|form name|amount
// due|payments".
TEST(TVLQKonwersjaKSeF, PaymentTermsFormsAndPayments) {
  const AnsiString zaplacono = "<Zaplacono>1</Zaplacono><DataZaplaty>2024-03-";
  const struct {
    AnsiString platnosc, reszta, rekordy, dane;
  } przypadki[] = {
      // A term before the issue date is no term; an unknown form code gives
      // no symbol but keeps its number.
      {"<TerminPlatnosci><Termin>2024-03-04</Termin></TerminPlatnosci>"
       "<FormaPlatnosci>9</FormaPlatnosci>",
       "", "", "0|9||100|"},
      // Another form: its description is the name, no symbol is written.
      {"<PlatnoscInna>1</PlatnoscInna><OpisPlatnosci>Kompensata"
       "</OpisPlatnosci><FormaPlatnosci>1</FormaPlatnosci>",
       "", "", "0|-1|Kompensata|100|"},
      {zaplacono + "07</DataZaplaty><FormaPlatnosci>1</FormaPlatnosci>", "",
       "TerminPlatn:2\r\nSposobPlatn:GOT\r\n",
       "2|1|Got\xF3wka|100|1, Got\xF3wka, 07.03.2024, 100"},
      // Paid in full takes the settlement's amount due.
      {zaplacono + "05</DataZaplaty>",
       "<Rozliczenie><DoRozliczenia>50</DoRozliczenia></Rozliczenie>",
       "TerminPlatn:0\r\n", "0|-1||-50|-1, , 05.03.2024, -50"},
      {"", "<Rozliczenie><DoZaplaty>80</DoZaplaty></Rozliczenie>", "",
       "0|-1||80|"},
      {"", "<Rozliczenie/>", "", "0|-1||100|"},
      // Parts of zero are left out; the element name's case does not matter.
      {"<ZnacznikZaplatyCzesciowej>2</ZnacznikZaplatyCzesciowej>" +
           Czesc("30", "2024-03-06", "<FormaPlatnosci>2</FormaPlatnosci>") +
           "<zaplataCZESCIOWA><KwotaZaplatyCzesciowej>20"
           "</KwotaZaplatyCzesciowej><DataZaplatyCzesciowej>2024-03-08"
           "</DataZaplatyCzesciowej><PlatnoscInna>1</PlatnoscInna>"
           "<OpisPlatnosci>Barter</OpisPlatnosci></zaplataCZESCIOWA>" +
           Czesc("0.00", "2024-03-09") + "<FormaPlatnosci>6</FormaPlatnosci>",
       "", "SposobPlatn:PRZEL\r\n",
       "0|6|Przelew|100|2, Karta p\xB3"
       "atnicza, 06.03.2024, 30; -1, Barter, 08.03.2024, 20"},
      // Without the partial-payment marker the parts are not read.
      {Czesc("30", "2024-03-06"), "", "", "0|-1||100|"}};
  for (const auto& p : przypadki) {
    const Wynik wynik = Konwertuj(FakturaZPlatnoscia(p.platnosc, p.reszta));
    const TVLQDaneFaktZKSeF& d = wynik.Dane;
    EXPECT_EQ(wynik.Tekst, "TypDok:PZ\r\n" + p.rekordy + Naglowek("100"))
        << p.platnosc;
    EXPECT_EQ(IntToStr(d.TerminPlatnosci) + "|" + IntToStr(d.FormaPlatnosci) +
                  "|" + d.NazwaFormyPlatnosci + "|" + FloatToStr(d.DoZaplaty) +
                  "|" + Platnosci(d.Platnosci),
              p.dane)
        << p.platnosc;
  }
}

TEST(TVLQKonwersjaKSeF, HostTextsAndBatchesReplaceTheInvoices) {
  const AnsiString fa = Opis("Tekst 1", "z faktury") +
                        Opis("Komentarz 1", "z faktury 1", "1") +
                        Opis("Komentarz 2", "usuniety", "2") +
                        WierszPrzed("1", "Kawa", "1", "5", "5", "23") +
                        WierszPrzed("2", "Herbata", "1", "4", "4", "0 WDT") +
                        Wiersz("1", "Kawa", "1", "6", "6", "0 WDT");
  const AnsiString stopka =
      "<Stopka><Informacje><StopkaFaktury>z faktury</StopkaFaktury>"
      "</Informacje></Stopka>";
  TVLQTekstyDlaEDIVelquant5 hosta;
  hosta.Teksty[0] = "pierwszy";
  hosta.Teksty[9] = "dziesiaty";
  hosta.Komentarz1 = "od hosta";
  hosta.PowodKorekty = "blad ceny";
  hosta.Stopka = "stopka hosta";
  hosta.KomentarzePozycji[0][1] = "k1";
  hosta.KomentarzePozycji[1][1] = "k2";
  hosta.KomentarzePozycji[1][2] = "nie dla usunietej";
  hosta.Partie[TVLQKluczPartii(2, 0)] = "Nr{C}";
  hosta.Partie[TVLQKluczPartii(1, 5)] = "Nr{B}";
  hosta.Partie[TVLQKluczPartii(1, 2)] = "Nr{A}";
  hosta.Partie[TVLQKluczPartii(0, 0)] = "";
  const Wynik wynik =
      Konwertuj(Faktura("KOR", fa, kPodmioty + stopka), &hosta, "E");
  const AnsiString komentarze = "Komentarz1{k1}Komentarz2{k2}";
  EXPECT_EQ(wynik.Tekst,
            AnsiString("TypDok:ROZB\r\nKomentarz1:od hosta\r\n"
                       "PowodKorekty:blad ceny\r\nTekst1:pierwszy\r\n"
                       "Tekst10:dziesiaty\r\n") +
                kRekordyPodmiotow + Naglowek() + "Stopka:stopka hosta\r\n" +
                Linia("Kawa", "szt.", "-1", "n5.00", "n-5.00", "23", 0,
                      "StanPocz{1}", komentarze) +
                Linia("Kawa", "szt.", "1", "n6.00", "n6.00", "E", 0,
                      "StanPocz{0}", komentarze) +
                Linia("Herbata", "szt.", "-1", "n4.00", "n-4.00", "E", 1,
                      "StanPocz{1}", "Komentarz2{usuniety}") +
                "Partia:IdxLinii{0}IdxPartii{0}\r\n"
                "Partia:IdxLinii{1}IdxPartii{2}Nr{A}\r\n"
                "Partia:IdxLinii{1}IdxPartii{5}Nr{B}\r\n"
                "Partia:IdxLinii{2}IdxPartii{0}Nr{C}\r\n");
  EXPECT_EQ(wynik.Dane.Adnotacja, 5);
  EXPECT_EQ(wynik.Dane.Stopka1, "z faktury");

  // Cleared host texts still replace the invoice's texts, line comments and
  // footer.
  hosta.Czysc();
  const AnsiString vat = Opis("Tekst 1", "z faktury") +
                         Opis("Komentarz 1", "z faktury 1", "1") +
                         Wiersz("1", "Kawa", "1", "6", "6", "23");
  EXPECT_EQ(Konwertuj(Faktura("VAT", vat, kPodmioty + stopka), &hosta).Tekst,
            Tekst("PZ", Linia("Kawa", "szt.", "1", "n6.00", "n6.00", "23", 0)));
}

// The records of an invoice with only a buyer (and third parties).
AnsiString RekordyNabywcy(const AnsiString& daneNabywcy,
                          const AnsiString& reszta = "",
                          TVLQDaneFaktZKSeF* dane = nullptr) {
  const Wynik wynik = Konwertuj(
      Faktura("VAT", "",
              "<Podmiot2><DaneIdentyfikacyjne>" + daneNabywcy +
                  "</DaneIdentyfikacyjne><Adres><KodKraju>DE</KodKraju>"
                  "<AdresL1>Hauptstr.\r\n1</AdresL1></Adres></Podmiot2>" +
                  reszta));
  if (dane != nullptr) *dane = wynik.Dane;
  const std::size_t poczatek = wynik.Tekst.find("\r\n") + 2;
  return wynik.Tekst.substr(poczatek,
                            wynik.Tekst.find("WalutaKod:") - poczatek);
}

TEST(TVLQKonwersjaKSeF, BuyerIdentifierFromNipNrIdOrVatUe) {
  const AnsiString adres =
      "KodKrajuPlatnika:DE\r\nAdresPlatnika:Hauptstr. 1\r\n";
  EXPECT_EQ(RekordyNabywcy("<NIP>123</NIP><NrID>9</NrID><Nazwa>A</Nazwa>"),
            "NIPPlatnika:123\r\n" + adres);
  EXPECT_EQ(RekordyNabywcy("<KodKraju>DE</KodKraju><NrID>456</NrID>"),
            "NIPPlatnika:DE456\r\n" + adres);
  EXPECT_EQ(RekordyNabywcy("<NrID>456</NrID>"), "NIPPlatnika:456\r\n" + adres);
  EXPECT_EQ(RekordyNabywcy("<KodKraju>DE</KodKraju><NrVatUE>77</NrVatUE>"),
            "NIPPlatnika:77\r\n" + adres);
  EXPECT_EQ(RekordyNabywcy("<BrakID>1</BrakID><Nazwa>Jan</Nazwa>"), adres);

  // Third parties give no record; their identifier falls back to IDWew.
  TVLQDaneFaktZKSeF dane;
  const AnsiString podmioty3 =
      "<Podmiot3><DaneIdentyfikacyjne><IDWew>1111111111-001</IDWew>"
      "<Nazwa>Oddzia\xB3\r\nA</Nazwa></DaneIdentyfikacyjne><Adres>"
      "<AdresL1>ul. B 2</AdresL1><AdresL2>Krak\xF3w</AdresL2></Adres>"
      "<Rola>2</Rola></Podmiot3>"
      "<Podmiot3><DaneIdentyfikacyjne><KodUE>CZ</KodUE><NrVatUE>5</NrVatUE>"
      "<Nazwa>Odbiorca</Nazwa></DaneIdentyfikacyjne><Rola>x</Rola>"
      "</Podmiot3>";
  EXPECT_EQ(RekordyNabywcy("<NIP>1</NIP>", podmioty3, &dane),
            "NIPPlatnika:1\r\n" + adres);
  AnsiString nazwy, identyfikatory, adresy;
  dane.PrzygotujTekstyPodatnika3(nazwy, identyfikatory, adresy);
  EXPECT_EQ(nazwy + "|" + identyfikatory + "|" + adresy,
            "Oddzia\xB3 A, Odbiorca|1111111111-001, CZ5|ul. B 2 Krak\xF3w, ");
  EXPECT_EQ(dane.Podmioty3[0].Rola + dane.Podmioty3[1].Rola, 2);  // "x" is 0
  EXPECT_EQ(dane.IDWewPodmiotu3, "1111111111-001");
  // Only the roles 2, 8 and 10 take the internal identifier.
  for (int rola = 1; rola <= 11; ++rola) {
    RekordyNabywcy("",
                   "<Podmiot3><DaneIdentyfikacyjne><IDWew>7</IDWew>"
                   "</DaneIdentyfikacyjne><Rola>" +
                       std::to_string(rola) + "</Rola></Podmiot3>",
                   &dane);
    EXPECT_EQ(dane.IDWewPodmiotu3,
              rola == 2 || rola == 8 || rola == 10 ? "7" : "")
        << rola;
  }
  EXPECT_EQ(dane.NazwaPlatnika, "");
}

TEST(TVLQKonwersjaKSeF, RateTotalsAndVatSymbols) {
  // One line at each rate that is not taxed here, the symbol it is written
  // with, and the one it gets when the host gives "X".
  const char* const stawki[] = {"0 KR", "np I", "zw",    "OO",
                                "0 EX", "",     "np II", "0 wdt"};
  const char* const symbole[] = {"0", "0", "zw", "0", "0", "0", "0", "0"};
  const char* const symboleX[] = {"0", "X", "zw", "X", "X", "0", "X", "X"};
  AnsiString fa =
      "<P_13_1>0</P_13_1><P_14_1>1.00</P_14_1><P_13_2>0</P_13_2>"
      "<P_14_2>0</P_14_2><P_13_3>100.50</P_13_3><P_14_3>5.03</P_14_3>"
      "<P_13_4>10</P_13_4><P_14_4>0.4</P_14_4><P_13_6_1>10.005</P_13_6_1>"
      "<P_13_6_3>20.004</P_13_6_3><P_13_7>7</P_13_7>";
  AnsiString linie, linieX;
  for (int i = 0; i < 8; ++i) {
    const AnsiString nazwa(1, static_cast<char>('A' + i));
    fa += Wiersz(std::to_string(i + 1), nazwa, "1", "1", "1", stawki[i]);
    linie += Linia(nazwa, "szt.", "1", "n1.00", "n1.00", symbole[i], i);
    linieX += Linia(nazwa, "szt.", "1", "n1.00", "n1.00", symboleX[i], i);
  }
  const AnsiString stawkiSumy =
      "Stawka:Vat{23}SumaNet{0}SumaVat{1}\r\n"
      "Stawka:Vat{5}SumaNet{100.5}SumaVat{5.03}\r\n"
      "Stawka:Vat{4}SumaNet{10}SumaVat{0.4}\r\n"
      "Stawka:Vat{0}SumaNet{30.01}SumaVat{0.0}\r\n"
      "Stawka:Vat{ZW}SumaNet{7}SumaVat{0}\r\n";
  const Wynik wynik = Konwertuj(Faktura("VAT", fa, ""));
  EXPECT_EQ(wynik.Tekst, "TypDok:PZ\r\n" + Naglowek() + linie + stawkiSumy);
  EXPECT_EQ(wynik.Dane.Adnotacja, 5);  // the last of "0 EX" and "0 WDT"
  EXPECT_DOUBLE_EQ(wynik.Dane.Netto0, 30.01);
  // The domestic zero rate never takes the host's symbol.
  EXPECT_EQ(Konwertuj(Faktura("VAT", fa, ""), nullptr, "X").Tekst,
            "TypDok:PZ\r\n" + Naglowek() + linieX + stawkiSumy);
}

TEST(TVLQKonwersjaKSeF, AnnotationCodes) {
  const auto adnotacja = [](const AnsiString& adnotacje,
                            const AnsiString& linie = "") {
    return Konwertuj(Faktura("VAT",
                             "<Adnotacje>" + adnotacje + "</Adnotacje>" + linie,
                             ""))
        .Dane;
  };
  const std::pair<const char*, int> kody[] = {
      {"<P_16>1</P_16><P_18>1</P_18><P_18A>1</P_18A>", 1},
      {"<P_16>1</P_16><P_18>1</P_18>", 2},
      {"<P_19>1</P_19><P_16>1</P_16>", 8},
      {"<P_16>1</P_16><P_17>1</P_17>", 9},
      {"<P_16>2</P_16><P_17>1</P_17>", 10},
      {"<P_23>1</P_23><PMarzy><P_PMarzy>1</P_PMarzy></PMarzy>", 11},
      {"<PMarzy><P_PMarzyN>1</P_PMarzyN></PMarzy>", 0},
      // The exemption marker of the current schema sits in Zwolnienie, which
      // is not read.
      {"<Zwolnienie><P_19>1</P_19></Zwolnienie>", 0}};
  for (const auto& [adnotacje, kod] : kody) {
    EXPECT_EQ(adnotacja(adnotacje).Adnotacja, kod) << adnotacje;
  }
  EXPECT_EQ(adnotacja("", Wiersz("1", "A", "1", "1", "1", "0 ex")).Adnotacja,
            6);
  const TVLQDaneFaktZKSeF transport =
      adnotacja("<NoweSrodkiTransportu><P_22>1</P_22></NoweSrodkiTransportu>");
  EXPECT_EQ(transport.NoweSrodkiTransportu, 2);
  EXPECT_EQ(transport.Adnotacja, 0);

  // Lines all at "np I" give 7 unless another annotation was set.
  const AnsiString npI = Wiersz("1", "A", "1", "1", "1", "NP I") +
                         Wiersz("2", "B", "1", "1", "1", "np I");
  EXPECT_EQ(adnotacja("", npI).Adnotacja, 7);
  EXPECT_EQ(adnotacja("<P_16>1</P_16>", npI).Adnotacja, 9);
  EXPECT_EQ(
      adnotacja("", npI + Wiersz("3", "C", "1", "1", "1", "23")).Adnotacja, 0);
}

TEST(TVLQKonwersjaKSeF, LineNumbersAndReplacedLines) {
  const AnsiString fa =
      "<FaWiersz><P_7>A</P_7></FaWiersz>"
      "<FaWiersz><P_7>B</P_7><GTIN>1</GTIN></FaWiersz>"
      "<FaWiersz><NrWierszaFa>x</NrWierszaFa><P_7>C</P_7></FaWiersz>"
      "<FaWiersz><NrWierszaFa>2</NrWierszaFa><P_7>D</P_7><GTIN>1</GTIN>"
      "<P_12>np II</P_12></FaWiersz>"
      "<FaWiersz><NrWierszaFa>1</NrWierszaFa><P_7>E</P_7><P_12>23</P_12>"
      "</FaWiersz>"
      "<FaWiersz><P_7>F</P_7><StanPrzed>1</StanPrzed></FaWiersz>"
      "<FaWiersz><P_7>G</P_7></FaWiersz>"
      "<Inny><P_7>H</P_7></Inny>";
  // A: 1, B: 2, C: 3, D: 2 dropped (same GTIN, "np"), E: 1 replaces A,
  // G: 2 (one after E) replaces B; F is the state before.
  EXPECT_EQ(Wiersze(Faktura("KOR", fa, "")), "1:E,2:G,3:C|1:F");
  // The conversion numbers and replaces its lines the same way.
  EXPECT_EQ(Linie(Konwertuj(Faktura("VAT", fa, "")).Tekst), "E0G1C2");

  // Two lines dropped in a row, then a number whose repeat is dropped too:
  // each repeat is compared with the line kept for its number.
  const auto linia = [](const char* nr, const char* nazwa, const char* stawka,
                        const char* gtin) {
    return Wiersz(nr, nazwa, "1", "5", "5", stawka,
                  AnsiString("<GTIN>") + gtin + "</GTIN>");
  };
  const AnsiString powtorzone =
      linia("1", "A", "23", "590") + linia("1", "B", "np I", "590") +
      linia("1", "C", "np I", "590") + linia("2", "D", "23", "591") +
      linia("2", "E", "np I", "591") + linia("3", "F", "23", "592") +
      linia("3", "G", "np I", "593");  // another GTIN: G replaces F
  EXPECT_EQ(Linie(Konwertuj(Faktura("VAT", powtorzone)).Tekst), "A0D1G2");
  EXPECT_EQ(Wiersze(Faktura("VAT", powtorzone)), "1:A,2:D,3:G|");
  // An ordered item among the lines of a plain invoice keeps its own number.
  const AnsiString pozycja =
      "<ZamowienieWiersz><NrWierszaZam>5</NrWierszaZam></ZamowienieWiersz>";
  EXPECT_NE(Konwertuj(Faktura("VAT", pozycja, "")).Tekst.find("IdxLinii{4}"),
            AnsiString::npos);

  // Numbers at the ends of int wrap around instead of overflowing.
  const AnsiString skrajne =
      "<FaWiersz><NrWierszaFa>2147483647</NrWierszaFa><P_7>X</P_7></FaWiersz>"
      "<FaWiersz><P_7>Y</P_7></FaWiersz>";
  EXPECT_EQ(Konwertuj(Faktura("VAT", skrajne, "")).Tekst,
            "TypDok:PZ\r\n" + Naglowek() +
                Linia("Y", "", "0", "n0.00", "n0.00", "0", 2147483647) +
                Linia("X", "", "0", "n0.00", "n0.00", "0", 2147483646));

  TVLQKonwersjaKSeF::TMapaWierszy puste;
  TVLQKonwersjaKSeF::OdczytajWierszeZXml(nullptr, puste, puste);
  TVLQKonwersjaKSeF::PodzielWiesze(nullptr, puste, puste);
  EXPECT_TRUE(puste.empty());
}

TEST(TVLQKonwersjaKSeF, ElementNamesIgnoreLetterCaseAndTheFirstWins) {
  // Fields are found whatever their letter case, the first of a name wins;
  // line elements themselves must be named exactly.
  const AnsiString xml =
      "<Faktura><FA><Kodwaluty>EUR</Kodwaluty><p_2>FV/a</p_2>"
      "<P_2>FV/b</P_2><P_1>2024-03-05</P_1><RODZAJFAKTURY>VAT"
      "</RODZAJFAKTURY><NazwaDluzszaNizDwadziesciaCzteryZnaki>x"
      "</NazwaDluzszaNizDwadziesciaCzteryZnaki><P_\xB3>y</P_\xB3>"
      "<FaWiersz><nrwierszafa>1</nrwierszafa><p_7>Kawa</p_7><P_7>Herbata"
      "</P_7><p_8b>2</p_8b><P_9a>3</P_9a><p_11>6</p_11><p_12>23</p_12>"
      "<\xB3>z</\xB3></FaWiersz>"
      "<fawiersz><P_7>pominiety</P_7></fawiersz></FA></Faktura>";
  const Wynik wynik = Konwertuj(xml);
  EXPECT_EQ(wynik.Tekst,
            "TypDok:PZ\r\nWalutaKod:EUR\r\nData:05.03.2024\r\nNrDok:FV/a\r\n"
            "DotyczyDok:FV/a z 05.03.2024\r\n" +
                Linia("Kawa", "", "2", "n3.00", "n6.00", "23", 0));
  // Letters beyond ASCII compare by the code page too.
  TVLQXmlNode fa;
  fa.AddNode("Wart\xD3\x8C\xC6", "tak");
  EXPECT_EQ(
      TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "wart\xF3\x9C\xE6", false),
      "tak");
  EXPECT_EQ(TVLQKonwersjaKSeF::OdczytajTekstZPola(&fa, "wartosc", false), "");

  // Unknown line elements of every field length, ASCII ones (found by key)
  // and ones with a byte above 127 (compared by name), come first, where a
  // field taken for them would win over the real one.
  AnsiString nieznane;
  for (int dlugosc = 2; dlugosc <= 15; ++dlugosc) {
    for (int i = 0; i < 20; ++i) {
      const AnsiString nazwa =
          (i == 0 ? AnsiString("\xB3") : "Q" + IntToStr(i)) +
          AnsiString(dlugosc, '_');
      const AnsiString n = nazwa.substr(0, dlugosc);
      nieznane += "<" + n + ">7</" + n + ">";
    }
  }
  EXPECT_EQ(Konwertuj(Faktura("VAT", "<FaWiersz>" + nieznane +
                                         "<P_7>A</P_7><P_8A>szt.</P_8A>"
                                         "<P_8B>2</P_8B><P_9A>5</P_9A>"
                                         "<P_11>10</P_11><P_12>23</P_12>"
                                         "</FaWiersz>"))
                .Tekst,
            Tekst("PZ", Linia("A", "szt.", "2", "n5.00", "n10.00", "23", 0)));
}

TEST(TVLQKonwersjaKSeF, FooterOrdersAndDeliveryDate) {
  const AnsiString stopka =
      "<Stopka><Informacje><StopkaFaktury>1</StopkaFaktury></Informacje>"
      "<Rejestry><KRS>0</KRS></Rejestry>"
      "<Informacje><StopkaFaktury>2</StopkaFaktury></Informacje>"
      "<Informacje><StopkaFaktury>3</StopkaFaktury></Informacje>"
      "<Informacje><StopkaFaktury>4</StopkaFaktury></Informacje></Stopka>";
  const AnsiString warunki =
      "<OkresFa><P_6_Od>2024-01-01</P_6_Od><P_6_Do>2024-01-31</P_6_Do>"
      "</OkresFa><WarunkiTransakcji>"
      "<Zamowienia><DataZamowienia>2024-02-01</DataZamowienia>"
      "<NrZamowienia>Z/1</NrZamowienia></Zamowienia>"
      "<Zamowienia><NrZamowienia></NrZamowienia></Zamowienia>"
      "<Zamowienia><NrZamowienia>Z/2</NrZamowienia></Zamowienia>"
      "<Zamowienia><NrZamowienia>Z/3</NrZamowienia>"
      "<DataZamowienia>2024-02-03</DataZamowienia></Zamowienia>"
      "</WarunkiTransakcji>";
  const Wynik wynik = Konwertuj(Faktura("VAT", warunki, stopka));
  EXPECT_EQ(wynik.Tekst, "TypDok:PZ\r\n" + Naglowek() + "Stopka:1\r\n");
  EXPECT_EQ(wynik.Dane.Stopka2, "2");
  EXPECT_EQ(wynik.Dane.Stopka3, "4");
  EXPECT_EQ(wynik.Dane.Zamowienia, "Z/1,2024-02-01;Z/2;Z/3,2024-02-03");
  EXPECT_EQ(wynik.Dane.DataDostawy, EncodeDate(2024, 1, 31));
  EXPECT_EQ(Konwertuj(Faktura("VAT", "<P_6></P_6>" + warunki)).Dane.DataDostawy,
            EncodeDate(2024, 1, 31));
}

TEST(TVLQKonwersjaKSeF, MissingFaDateOrLinesWriteWhatRemains) {
  // A correction without lines is a delivery return; without P_1 the date
  // is day 0. The output replaces what the text held.
  TVLQXmlNode faktura;
  Parsuj(faktura,
         "<Faktura><Naglowek><DataWytworzeniaFa>2024-03-05T10:00:00Z"
         "</DataWytworzeniaFa></Naglowek>"
         "<Fa><RodzajFaktury>KOR_ZAL</RodzajFaktury></Fa></Faktura>");
  AnsiString wynik = "stary";
  TVLQDaneFaktZKSeF dane;
  TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(&faktura, wynik,
                                                          &dane, nullptr, "");
  EXPECT_EQ(wynik,
            "TypDok:ZD\r\nData:30.12.1899\r\nDotyczyDok: z 30.12.1899\r\n");
  EXPECT_EQ(dane.RodzajFaktury, rfKOR_ZAL);

  // Without Fa, or without a tree, nothing is written, not even the host's
  // batches, and the data is cleared.
  TVLQTekstyDlaEDIVelquant5 hosta;
  hosta.Partie[TVLQKluczPartii(0, 1)] = "Nr{1}";
  Parsuj(faktura, "<Faktura><Naglowek/></Faktura>");
  TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(&faktura, wynik,
                                                          nullptr, &hosta, "");
  EXPECT_EQ(wynik, "");
  wynik = "stary";
  TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(nullptr, wynik, &dane,
                                                          &hosta, "");
  EXPECT_EQ(wynik, "");
  EXPECT_EQ(dane.RodzajFaktury, rfVAT);
}

TEST(TVLQKonwersjaKSeF, MalformedAmountOrDateKeepsWhatWasWritten) {
  const std::string sciezka = testing::TempDir() + "ksef_bledna.edi";
  const auto konwertujDoPliku = [&sciezka](const AnsiString& xml) {
    TVLQXmlNode faktura;
    Parsuj(faktura, xml);
    TMFile plik(sciezka);
    EXPECT_THROW(
        TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoPliku(&faktura, &plik),
        EConvertError);
    plik.Close();
    return ReadFile(sciezka);
  };
  const AnsiString platnosc =
      "<Platnosc><FormaPlatnosci>6</FormaPlatnosci></Platnosc>";
  EXPECT_EQ(
      konwertujDoPliku(Faktura("VAT", platnosc + "<P_13_1>12,50</P_13_1>")),
      AnsiString("TypDok:PZ\r\nSposobPlatn:PRZEL\r\n") + kRekordyPodmiotow);
  EXPECT_EQ(
      konwertujDoPliku(Faktura(
          "VAT", Opis("Tekst1", "t") + "<P_6>2024-02-30</P_6>" + platnosc)),
      "TypDok:PZ\r\nTekst1:t\r\n");
  EXPECT_EQ(
      konwertujDoPliku(Faktura("VAT",
                               Wiersz("1", "A", "1", "2", "2", "23") +
                                   Wiersz("2", "C", "1", "2", "2", "23") +
                                   Wiersz("3", "B", "1 szt", "2", "2", "23"),
                               "")),
      "TypDok:PZ\r\n" + Naglowek() +
          Linia("A", "szt.", "1", "n2.00", "n2.00", "23", 0) +
          Linia("C", "szt.", "1", "n2.00", "n2.00", "23", 1));
  // In a correction the lines are compared before anything is written.
  EXPECT_EQ(konwertujDoPliku(
                Faktura("KOR", WierszPrzed("1", "A", "1", "2", "2", "23") +
                                   Wiersz("1", "A", "1", "2.0.0", "2", "23"))),
            "");
  fs::remove(sciezka);
}

}  // namespace
}  // namespace druvo::test
