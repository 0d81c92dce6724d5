#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "druvo/ksef/UVlqKoKs.h"
#include "druvo/platform/Exceptions.h"
#include "druvo/xml/UVlqXml.h"

namespace druvo {
namespace {

// The outputs of one document-list reading, filled with junk first so that
// the test sees every one of them set.
struct DaneListy {
  AnsiString NrDok = "x", TypDok = "x", NazwaWystawcy = "x", NipWystawcy = "x",
             Wolny1 = "x", Wolny2 = "x";
  TDateTime Data = 1;

  void Odczytaj(TVLQXmlNode* root) {
    TVLQKonwersjaKSeF::OdczytajDaneDoListyDokumentow(
        root, NrDok, Data, TypDok, NazwaWystawcy, NipWystawcy, Wolny1, Wolny2);
  }
  bool WszystkoPuste() const {
    return NrDok.empty() && TypDok.empty() && NazwaWystawcy.empty() &&
           NipWystawcy.empty() && Wolny1.empty() && Wolny2.empty() && Data == 0;
  }
};

void Parsuj(TVLQXmlNode& root, const AnsiString& xml) {
  root.XmlParse(xml, true, true);
}

// A correction of one line: before 10 pieces at `cenaPrzed`, now 8 pieces
// at `cenaPo`.
AnsiString Korekta(const AnsiString& cenaPrzed, const AnsiString& cenaPo) {
  return "<Faktura><Fa><P_1>2026-03-15</P_1><P_2>FK/1</P_2>"
         "<RodzajFaktury>KOR</RodzajFaktury>"
         "<FaWiersz><NrWierszaFa>1</NrWierszaFa><P_8B>10</P_8B><P_9A>" +
         cenaPrzed +
         "</P_9A><StanPrzed>1</StanPrzed></FaWiersz>"
         "<FaWiersz><NrWierszaFa>1</NrWierszaFa><P_8B>8</P_8B><P_9A>" +
         cenaPo + "</P_9A></FaWiersz></Fa></Faktura>";
}

TEST(TVLQKonwersjaKSeF, DocumentListOfRootWithoutFaIsEmpty) {
  DaneListy dane;
  dane.Odczytaj(nullptr);
  EXPECT_TRUE(dane.WszystkoPuste());

  TVLQXmlNode root;
  Parsuj(root,
         "<Faktura><Podmiot1><DaneIdentyfikacyjne><NIP>1</NIP>"
         "</DaneIdentyfikacyjne></Podmiot1><fakt>1</fakt></Faktura>");
  DaneListy bezFa;
  bezFa.Odczytaj(&root);
  EXPECT_TRUE(bezFa.WszystkoPuste());
}

TEST(TVLQKonwersjaKSeF, DocumentListOfAdvanceInvoiceWithoutOrderStops) {
  TVLQXmlNode root;
  Parsuj(root,
         "<Faktura><Fa><P_1>2026-02-15</P_1><P_2>FZ/1</P_2>"
         "<RodzajFaktury>ZAL</RodzajFaktury></Fa></Faktura>");
  DaneListy dane;
  dane.Odczytaj(&root);
  EXPECT_TRUE(dane.WszystkoPuste());

  Parsuj(root,
         "<Faktura><Fa><P_1>2026-02-15</P_1><P_2>FZ/1</P_2>"
         "<RodzajFaktury>ZAL</RodzajFaktury><Zamowienie/></Fa></Faktura>");
  dane.Odczytaj(&root);
  EXPECT_EQ(dane.TypDok, "PZ");
  EXPECT_EQ(dane.NrDok, "FZ/1");
  EXPECT_EQ(dane.Data, EncodeDate(2026, 2, 15));
}

TEST(TVLQKonwersjaKSeF, DocumentListSellerAndDocumentType) {
  TVLQXmlNode root;
  Parsuj(root,
         "<Faktura><Podmiot1><DaneIdentyfikacyjne>"
         "<PrefiksPodatnika>PL</PrefiksPodatnika><NIP>1234567890</NIP>"
         "<Nazwa>Hurtownia\r\n\xAF\xF3\xB3w</Nazwa></DaneIdentyfikacyjne>"
         "</Podmiot1><fa><p_1>2026-02-01</p_1><p_2>FV/7</p_2></fa></Faktura>");
  DaneListy dane;
  dane.Odczytaj(&root);
  EXPECT_EQ(dane.NipWystawcy, "PL1234567890");
  EXPECT_EQ(dane.NazwaWystawcy, "Hurtownia\r\n\xAF\xF3\xB3w");  // as written
  EXPECT_EQ(dane.TypDok, "PZ");  // no RodzajFaktury: not a correction
  EXPECT_EQ(dane.NrDok, "FV/7");
  EXPECT_EQ(dane.Data, EncodeDate(2026, 2, 1));
  EXPECT_EQ(dane.Wolny1 + dane.Wolny2, "");

  Parsuj(root, Korekta("10.00", "10.00001"));
  dane.Odczytaj(&root);
  EXPECT_EQ(dane.TypDok, "ZD");
  EXPECT_EQ(dane.NipWystawcy, "");
  EXPECT_EQ(dane.NazwaWystawcy, "");
  Parsuj(root, Korekta("10.00", "9.50"));
  dane.Odczytaj(&root);
  EXPECT_EQ(dane.TypDok, "ROZB");
}

TEST(TVLQKonwersjaKSeF, DocumentListRaisesOnImpossibleDate) {
  TVLQXmlNode root;
  Parsuj(root, "<Faktura><Fa><P_1>2026-02-30</P_1></Fa></Faktura>");
  DaneListy dane;
  EXPECT_THROW(dane.Odczytaj(&root), EConvertError);
}

TEST(TVLQKonwersjaKSeF, SummaryReadsPartiesAndSkipsDatesAndAmounts) {
  TVLQXmlNode root;
  Parsuj(root,
         "<Faktura><Podmiot1><DaneIdentyfikacyjne><NIP>111</NIP>"
         "<Nazwa>Sprzedawca</Nazwa></DaneIdentyfikacyjne></Podmiot1>"
         "<Fa><P_1>2026-02-30</P_1><P_2>FK/1</P_2><P_15>x</P_15>"
         "<RodzajFaktury>KOR</RodzajFaktury>"
         "<DodatkowyOpis><Klucz>Uwagi</Klucz><Wartosc>pilne</Wartosc>"
         "</DodatkowyOpis>"
         "<Adnotacje><P_18A>1</P_18A></Adnotacje>"
         "<FaWiersz><NrWierszaFa>1</NrWierszaFa><P_9A>1</P_9A></FaWiersz>"
         "<WarunkiTransakcji><Zamowienia><DataZamowienia>2026-01-02"
         "</DataZamowienia><NrZamowienia>Z/5</NrZamowienia></Zamowienia>"
         "</WarunkiTransakcji></Fa>"
         "<Stopka><Informacje><StopkaFaktury>KRS 1</StopkaFaktury>"
         "</Informacje></Stopka></Faktura>");
  TVLQDaneUproszczoneFaktZKSeF dane;
  dane.Stopka2 = "stale";
  // The impossible date and the malformed amount are not read here.
  TVLQKonwersjaKSeF::OdczytajDaneUproszczoneZFakturyKSeF(&root, dane);
  EXPECT_EQ(dane.NIPWystawcy, "111");
  EXPECT_EQ(dane.NazwaWystawcy, "Sprzedawca");
  EXPECT_EQ(dane.TypDokumentu, 4);  // ZD: no line before the correction
  EXPECT_EQ(dane.RodzajFaktury, rfKOR);
  EXPECT_EQ(dane.Adnotacja, 1);
  EXPECT_EQ(dane.Stopka1, "KRS 1");
  EXPECT_EQ(dane.Stopka2, "");
  EXPECT_EQ(dane.Zamowienia, "Z/5,2026-01-02");
  ASSERT_EQ(dane.TekstyDokumentu.count("Uwagi"), 1u);
  EXPECT_EQ(dane.TekstyDokumentu.at("Uwagi"), "pilne");
}

TEST(TVLQKonwersjaKSeF, SummaryOfMissingInvoiceIsCleared) {
  TVLQDaneUproszczoneFaktZKSeF dane;
  dane.NazwaWystawcy = "stale";
  dane.Zamowienia = "stale";
  TVLQKonwersjaKSeF::OdczytajDaneUproszczoneZFakturyKSeF(nullptr, dane);
  EXPECT_EQ(dane.NazwaWystawcy, "");
  EXPECT_EQ(dane.Zamowienia, "");
  EXPECT_EQ(dane.TypDokumentu, TVLQDaneUproszczoneFaktZKSeF().TypDokumentu);
}

TEST(TVLQKonwersjaKSeF, ReadingsOfARealCorrection) {
  const std::filesystem::path plik = std::filesystem::path(DRUVO_TESTDATA_DIR) /
                                     "ksef/fa3/FA_3_Przyklad_2.xml";
  std::ifstream in(plik, std::ios::binary);
  ASSERT_TRUE(in) << plik;
  const std::string utf8{std::istreambuf_iterator<char>(in), {}};
  TVLQXmlNode root;
  Parsuj(root, Utf8ToAnsi(utf8));

  DaneListy lista;
  lista.Odczytaj(&root);
  EXPECT_EQ(lista.NrDok, "FK2026/03/200");
  EXPECT_EQ(lista.Data, EncodeDate(2026, 3, 15));
  EXPECT_EQ(lista.TypDok, "ROZB");
  EXPECT_EQ(lista.NazwaWystawcy, "ABC AGD sp. z o. o.");
  EXPECT_EQ(lista.NipWystawcy, "9999999999");

  TVLQDaneUproszczoneFaktZKSeF dane;
  TVLQKonwersjaKSeF::OdczytajDaneUproszczoneZFakturyKSeF(&root, dane);
  EXPECT_EQ(dane.TypDokumentu, 26);
  EXPECT_EQ(dane.NazwaWystawcy, lista.NazwaWystawcy);
  EXPECT_EQ(dane.NIPWystawcy, lista.NipWystawcy);
  EXPECT_EQ(dane.RodzajFaktury, rfKOR);
}

}  // namespace
}  // namespace druvo
