// Tests of the lines pass where the real invoices do not reach: line sets
// that differ only after their first number, a repeated number whose later
// line is dropped, advance-invoice items read through the map interface and
// unknown line elements of a field's length.
#include "druvo/ksef/UVlqKoKs.h"

#include <gtest/gtest.h>

#include "druvo/xml/UVlqXml.h"
#include "tests/support/KsefTestInvoices.h"

namespace druvo::test {
namespace {

// The line names of a map in number order, "number:name" joined by ",".
AnsiString Nazwy(const TVLQKonwersjaKSeF::TMapaWierszy& mapa) {
  AnsiString nazwy;
  for (const auto& [nr, wiersz] : mapa) {
    if (!nazwy.empty()) nazwy += ",";
    nazwy += IntToStr(nr) + ":" + wiersz->GetNodeByName("P_7")->Value;
  }
  return nazwy;
}

TEST(TVLQKonwersjaKSeF, LineNumbersAfterTheFirstDecideADiscrepancy) {
  // Same count, same prices, the second number differs.
  const AnsiString xml =
      Faktura("KOR", WierszPrzed("1", "A", "1", "5", "5", "23") +
                         WierszPrzed("2", "B", "1", "5", "5", "23") +
                         Wiersz("1", "A", "1", "5", "5", "23") +
                         Wiersz("3", "C", "1", "5", "5", "23"));
  EXPECT_EQ(Konwertuj(xml).Tekst.substr(0, 13), "TypDok:ROZB\r\n");
}

TEST(TVLQKonwersjaKSeF, RepeatedNumberAtNpRateWithTheSameGtinIsDropped) {
  // Two lines dropped in a row, then a number whose repeat is dropped too:
  // each repeat is compared with the line kept for its number.
  const auto linia = [](const char* nr, const char* nazwa, const char* stawka,
                        const char* gtin) {
    return Wiersz(nr, nazwa, "1", "5", "5", stawka,
                  AnsiString("<GTIN>") + gtin + "</GTIN>");
  };
  const AnsiString linie =
      linia("1", "A", "23", "590") + linia("1", "B", "np I", "590") +
      linia("1", "C", "np I", "590") + linia("2", "D", "23", "591") +
      linia("2", "E", "np I", "591") + linia("3", "F", "23", "592") +
      linia("3", "G", "np I", "593");  // another GTIN: G replaces F
  AnsiString nazwy;
  const AnsiString tekst = Konwertuj(Faktura("VAT", linie)).Tekst;
  for (std::size_t at = tekst.find("Nazwa{"); at != AnsiString::npos;
       at = tekst.find("Nazwa{", at + 1)) {
    nazwy += tekst[at + 6];
  }
  EXPECT_EQ(nazwy, "ADG");
  TVLQXmlNode faktura;
  Parsuj(faktura, Faktura("VAT", linie));
  TVLQKonwersjaKSeF::TMapaWierszy po, przed;
  TVLQKonwersjaKSeF::OdczytajWierszeZXml(&faktura, po, przed);
  EXPECT_EQ(Nazwy(po), "1:A,2:D,3:G");
}

TEST(TVLQKonwersjaKSeF, AdvanceInvoiceLinesAreItsOrderedItems) {
  for (const char* rodzaj : {"ZAL", "KOR_ZAL"}) {
    TVLQXmlNode faktura;
    Parsuj(faktura,
           Faktura(rodzaj, Wiersz("1", "pomijany", "1", "1", "1", "23") +
                               "<Zamowienie><ZamowienieWiersz><NrWierszaZam>4"
                               "</NrWierszaZam><P_7>Dom</P_7>"
                               "</ZamowienieWiersz></Zamowienie>"));
    TVLQKonwersjaKSeF::TMapaWierszy po, przed;
    TVLQKonwersjaKSeF::OdczytajWierszeZXml(&faktura, po, przed);
    EXPECT_EQ(Nazwy(po), "4:Dom") << rodzaj;
  }
}

TEST(TVLQKonwersjaKSeF, UnknownLineElementsOfAFieldsLengthAreIgnored) {
  // Unknown names of every field length, ASCII ones (found by key) and ones
  // with a byte above 127 (compared by name), come first, where a field
  // taken for them would win over the real one.
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
  const AnsiString linia = "<FaWiersz>" + nieznane +
                           "<P_7>A</P_7><P_8A>szt.</P_8A><P_8B>2</P_8B>"
                           "<P_9A>5</P_9A><P_11>10</P_11><P_12>23</P_12>"
                           "</FaWiersz>";
  EXPECT_EQ(Konwertuj(Faktura("VAT", linia, "")).Tekst,
            "TypDok:PZ\r\n" + Naglowek() +
                "Linia:Nazwa{A}Jm{szt.}Ilosc{2}Cena{n5.00}Wartosc{n10.00}"
                "Vat{23}IdxLinii{0}IleWOpak{1}\r\n");
}

}  // namespace
}  // namespace druvo::test
