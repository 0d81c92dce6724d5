// Hand-built KSeF invoices for the tests of the KSeF conversion and readings:
// small XML builders, the records their fixed parts give, and the parsing of
// an invoice as the host does it.
#pragma once

#include <string>

#include "druvo/ksef/UVlqKoKs.h"
#include "druvo/platform/AnsiString.h"
#include "druvo/platform/NumberText.h"
#include "druvo/xml/UVlqXml.h"
#include "tests/support/TestSupport.h"

namespace druvo::test {

// Seller and buyer of the hand-built invoices, and the records they give.
inline constexpr char kPodmioty[] =
    "<Podmiot1><DaneIdentyfikacyjne><NIP>1111111111</NIP>"
    "<Nazwa>Hurtownia</Nazwa></DaneIdentyfikacyjne>"
    "<Adres><KodKraju>PL</KodKraju><AdresL1>ul. Polna 1</AdresL1>"
    "<AdresL2>00-001 Warszawa</AdresL2></Adres></Podmiot1>"
    "<Podmiot2><DaneIdentyfikacyjne><NIP>2222222222</NIP>"
    "<Nazwa>Sklep</Nazwa></DaneIdentyfikacyjne></Podmiot2>";
inline constexpr char kRekordyPodmiotow[] =
    "NazwaWystawcy:Hurtownia\r\nNIPWystawcy:1111111111\r\n"
    "KodKrajuWystawcy:PL\r\nAdresWystawcy:ul. Polna 1 00-001 Warszawa\r\n"
    "NIPPlatnika:2222222222\r\n";

// An invoice of kind `rodzaj`, issued 2024-03-05 as FV/1 in PLN, whose Fa
// holds `fa` after those fields, with the given parties.
inline AnsiString Faktura(const AnsiString& rodzaj, const AnsiString& fa,
                          const AnsiString& podmioty = kPodmioty) {
  return "<?xml version=\"1.0\"?><Faktura xmlns=\"http://crd.gov.pl/wzor/\">"
         "<Naglowek><DataWytworzeniaFa>2024-03-05T10:00:00Z</DataWytworzeniaFa>"
         "</Naglowek>" +
         podmioty + "<Fa><KodWaluty>PLN</KodWaluty><P_1>2024-03-05</P_1>" +
         "<P_2>FV/1</P_2>" + fa + "<RodzajFaktury>" + rodzaj +
         "</RodzajFaktury></Fa></Faktura>";
}

// The header records of that invoice, with its amount due when given.
inline AnsiString Naglowek(const AnsiString& doZaplaty = "") {
  return "WalutaKod:PLN\r\nData:05.03.2024\r\nNrDok:FV/1\r\n" +
         (doZaplaty.empty() ? "" : "DoZaplaty:" + doZaplaty + "\r\n") +
         "DotyczyDok:FV/1 z 05.03.2024\r\n";
}

// A net invoice line (FaWiersz) in pieces; `reszta` is appended inside it.
inline AnsiString Wiersz(const AnsiString& nr, const AnsiString& nazwa,
                         const AnsiString& ilosc, const AnsiString& cena,
                         const AnsiString& wartosc, const AnsiString& stawka,
                         const AnsiString& reszta = "") {
  AnsiString wiersz = "<FaWiersz>";
  if (!nr.empty()) wiersz += "<NrWierszaFa>" + nr + "</NrWierszaFa>";
  return wiersz + "<P_7>" + nazwa + "</P_7><P_8A>szt.</P_8A><P_8B>" + ilosc +
         "</P_8B><P_9A>" + cena + "</P_9A><P_11>" + wartosc + "</P_11><P_12>" +
         stawka + "</P_12>" + reszta + "</FaWiersz>";
}

// The same line marked as the state before a correction.
inline AnsiString WierszPrzed(const AnsiString& nr, const AnsiString& nazwa,
                              const AnsiString& ilosc, const AnsiString& cena,
                              const AnsiString& wartosc,
                              const AnsiString& stawka) {
  return Wiersz(nr, nazwa, ilosc, cena, wartosc, stawka,
                "<StanPrzed>1</StanPrzed>");
}

// A DodatkowyOpis entry, of line `nrWiersza` when it is given.
inline AnsiString Opis(const AnsiString& klucz, const AnsiString& wartosc,
                       const AnsiString& nrWiersza = "") {
  return "<DodatkowyOpis>" +
         (nrWiersza.empty() ? "" : "<NrWiersza>" + nrWiersza + "</NrWiersza>") +
         "<Klucz>" + klucz + "</Klucz><Wartosc>" + wartosc +
         "</Wartosc></DodatkowyOpis>";
}

// Parses `xml` as the host does (properties and namespaces dropped).
inline void Parsuj(TVLQXmlNode& faktura, const AnsiString& xml) {
  faktura.XmlParse(xml, true, true);
}

// The payments as "form code, name, date, amount" joined by "; ".
inline AnsiString Platnosci(const TVLQListaPlatnosciKSeF& lista) {
  AnsiString tekst;
  for (const TVLQPlatnoscDoFakturyKSeF* p : lista) {
    if (!tekst.empty()) tekst += "; ";
    tekst += IntToStr(p->FormaPlatnosci) + ", " + p->NazwaFormy + ", " +
             TVLQKonwersjaKSeF::TekstDatyDlaEdi(p->Data) + ", " +
             FloatToStr(p->Kwota);
  }
  return tekst;
}

struct Wynik {
  AnsiString Tekst;
  TVLQDaneFaktZKSeF Dane;
};

// The EDI text and data of `xml`, with the host's texts and VAT symbol.
inline Wynik Konwertuj(const AnsiString& xml,
                       TVLQTekstyDlaEDIVelquant5* teksty = nullptr,
                       const AnsiString& symbolVat = "") {
  TVLQXmlNode faktura;
  Parsuj(faktura, xml);
  Wynik wynik;
  TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(
      &faktura, wynik.Tekst, &wynik.Dane, teksty, symbolVat);
  return wynik;
}

}  // namespace druvo::test
