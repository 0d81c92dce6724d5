// Tests of the quick readings of a KSeF invoice: the document-list fields
// and the summary.
#include "druvo/ksef/UVlqKoKs.h"

#include <gtest/gtest.h>

#include "druvo/platform/Exceptions.h"
#include "druvo/xml/UVlqXml.h"
#include "tests/support/KsefTestInvoices.h"

namespace druvo::test {
namespace {

// The document-list fields of `root` as "number|date|type|seller|tax
// number|free 1|free 2"; each output starts as junk, so one left unset shows.
AnsiString Lista(TVLQXmlNode* root) {
  AnsiString nr = "x", typ = "x", nazwa = "x", nip = "x", wolny1 = "x",
             wolny2 = "x";
  TDateTime data = 1;
  TVLQKonwersjaKSeF::OdczytajDaneDoListyDokumentow(root, nr, data, typ, nazwa,
                                                   nip, wolny1, wolny2);
  return nr + "|" + TVLQKonwersjaKSeF::TekstDatyDlaEdi(data) + "|" + typ + "|" +
         nazwa + "|" + nip + "|" + wolny1 + "|" + wolny2;
}

// A correction of line 1, without parties: before 10 pieces at `cenaPrzed`,
// now 8 at `cenaPo`.
AnsiString Korekta(const AnsiString& cenaPrzed, const AnsiString& cenaPo) {
  return Faktura("KOR",
                 WierszPrzed("1", "A", "10", cenaPrzed, "100", "23") +
                     Wiersz("1", "A", "8", cenaPo, "80", "23"),
                 "");
}

TEST(TVLQKonwersjaKSeF, DocumentListReadsNumberDateTypeAndSeller) {
  TVLQXmlNode root;
  Parsuj(root,
         "<Faktura><Podmiot1><DaneIdentyfikacyjne>"
         "<PrefiksPodatnika>P\r\nL</PrefiksPodatnika><NIP>1234567890</NIP>"
         "<Nazwa>Hurtownia\r\n\xAF\xF3\xB3w</Nazwa></DaneIdentyfikacyjne>"
         "</Podmiot1><fa><p_1>2026-02-01</p_1><p_2>FV\r\n/7</p_2></fa>"
         "</Faktura>");
  // Texts as written, line breaks kept; without RodzajFaktury it is no
  // correction.
  EXPECT_EQ(Lista(&root),
            "FV\r\n/7|01.02.2026|PZ|Hurtownia\r\n\xAF\xF3\xB3w|"
            "P\r\nL1234567890||");
  Parsuj(root, Korekta("10.00", "10.00001"));
  EXPECT_EQ(Lista(&root), "FV/1|05.03.2024|ZD||||");
  Parsuj(root, Korekta("10.00", "9.50"));
  EXPECT_EQ(Lista(&root), "FV/1|05.03.2024|ROZB||||");
}

TEST(TVLQKonwersjaKSeF, DocumentListStopsEmptyWithoutFaOrOrderAndRaises) {
  const AnsiString pusta = "|30.12.1899|||||";
  EXPECT_EQ(Lista(nullptr), pusta);
  TVLQXmlNode root;
  Parsuj(root,
         "<Faktura><Podmiot1><DaneIdentyfikacyjne><NIP>1</NIP>"
         "</DaneIdentyfikacyjne></Podmiot1><fakt>1</fakt></Faktura>");
  EXPECT_EQ(Lista(&root), pusta);
  // An advance invoice without Zamowienie stops before everything.
  Parsuj(root, Faktura("ZAL", ""));
  EXPECT_EQ(Lista(&root), pusta);
  Parsuj(root, Faktura("ZAL", "<Zamowienie/>"));
  EXPECT_EQ(Lista(&root), "FV/1|05.03.2024|PZ|Hurtownia|1111111111||");

  Parsuj(root, "<Faktura><Fa><P_1>2026-02-30</P_1></Fa></Faktura>");
  EXPECT_THROW(Lista(&root), EConvertError);
}

TEST(TVLQKonwersjaKSeF, SummaryReadsKindTextsPartiesFooterAndOrdersOnly) {
  // The impossible dates and the malformed amount are not read here; the
  // fields it reads are compared for every real invoice.
  const AnsiString fa =
      "<P_6>2024-02-30</P_6><P_15>x</P_15>" + Opis("Uwagi", "pilne") +
      "<Platnosc><Zaplacono>1</Zaplacono><DataZaplaty>2024-02-30"
      "</DataZaplaty><FormaPlatnosci>1</FormaPlatnosci></Platnosc>" +
      WierszPrzed("1", "A", "2", "5", "10", "23") +
      Wiersz("1", "A", "1", "5", "5", "23");
  const AnsiString podmioty =
      AnsiString(kPodmioty) +
      "<Stopka><Informacje><StopkaFaktury>KRS 1</StopkaFaktury>"
      "</Informacje></Stopka>";
  TVLQXmlNode root;
  Parsuj(root, Faktura("KOR", fa, podmioty));
  TVLQDaneUproszczoneFaktZKSeF dane;
  dane.Stopka2 = "stale";
  dane.TekstyDokumentu["stary"] = "x";
  TVLQKonwersjaKSeF::OdczytajDaneUproszczoneZFakturyKSeF(&root, dane);
  EXPECT_EQ(dane.TypDokumentu, 4);  // ZD: the price did not change
  EXPECT_EQ(dane.Stopka1 + "|" + dane.Stopka2, "KRS 1|");
  EXPECT_EQ(dane.TekstyDokumentu, (TVLQMapaTekstowKSeF{{"Uwagi", "pilne"}}));

  // Without an invoice the summary is cleared.
  dane.Zamowienia = "Z/5";
  dane.TekstyPozycji.DodajTekst(1, "Kolor", "czarny");
  TVLQKonwersjaKSeF::OdczytajDaneUproszczoneZFakturyKSeF(nullptr, dane);
  EXPECT_EQ(dane.NazwaWystawcy + dane.Stopka1 + dane.Zamowienia, "");
  EXPECT_TRUE(dane.TekstyDokumentu.empty());
  EXPECT_TRUE(dane.TekstyPozycji.GetWszystkieTeksty().empty());
  EXPECT_EQ(dane.TypDokumentu, 2);
  EXPECT_EQ(dane.Zastrzezone8, 6);
  // Czysc itself, which the reading above overwrites anyway.
  dane.Stopka3 = dane.Zamowienia = dane.NIPWystawcy = "x";
  dane.Czysc();
  EXPECT_EQ(dane.Stopka3 + dane.Zamowienia + dane.NIPWystawcy, "");
}

}  // namespace
}  // namespace druvo::test
