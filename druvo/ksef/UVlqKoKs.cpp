// KSeF conversion: the entry points (conversion to a file or a text) and the
// quick readings (summary, document-list fields).
#include "druvo/ksef/UVlqKoKs.h"

#include <initializer_list>
#include <utility>

#include "druvo/ksef/UVlqKoKs_internal.h"
#include "druvo/xml/UVlqXml.h"

namespace druvo {

// ---------------------------------------------------------------------------
// TVLQKonwersjaKSeF: entry points and the writer

TVLQKonwersjaKSeF::TVLQKonwersjaKSeF() = default;

void TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoPliku(
    TVLQXmlNode* faktura, TMFile* plik) {
  TVLQKonwersjaKSeF konwersja;
  konwersja.Faktura = faktura;
  konwersja.PlikWyjsciowy = plik;
  konwersja.WewnKonwertujDaneZXmlNaVelquant5();
}

void TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(
    TVLQXmlNode* faktura, AnsiString& wynik, TVLQDaneFaktZKSeF* dane,
    TVLQTekstyDlaEDIVelquant5* teksty, AnsiString symbolVat) {
  TVLQKonwersjaKSeF konwersja;
  konwersja.Faktura = faktura;
  konwersja.DoTekstu = true;
  konwersja.TekstyEDI = teksty;
  konwersja.SymbolVatSpecjalny = std::move(symbolVat);
  konwersja.WewnKonwertujDaneZXmlNaVelquant5();
  wynik = std::move(konwersja.Wynik);
  if (dane != nullptr) *dane = konwersja.Dane;
}

void TVLQKonwersjaKSeF::OdczytajDaneUproszczoneZFakturyKSeF(
    TVLQXmlNode* root, TVLQDaneUproszczoneFaktZKSeF& dane) {
  TVLQKonwersjaKSeF konwersja;
  konwersja.Faktura = root;
  konwersja.TrybUproszczony = true;
  konwersja.WewnKonwertujDaneZXmlNaVelquant5();
  dane.PrzepiszZ(konwersja.Dane);
}

void TVLQKonwersjaKSeF::OdczytajDaneDoListyDokumentow(
    TVLQXmlNode* root, AnsiString& nrDok, TDateTime& data, AnsiString& typDok,
    AnsiString& nazwaWystawcy, AnsiString& nipWystawcy, AnsiString& wolny1,
    AnsiString& wolny2) {
  for (AnsiString* tekst :
       {&nrDok, &typDok, &nazwaWystawcy, &nipWystawcy, &wolny1, &wolny2}) {
    tekst->clear();
  }
  data = 0;
  TVLQXmlNode* fa = root == nullptr ? nullptr : root->GetNodeByName("Fa");
  if (fa == nullptr) return;
  const AnsiString rodzaj = OdczytajTekstZPola(fa, "RodzajFaktury", false);
  const bool korekta =
      rodzaj == "KOR_ZAL" || rodzaj == "KOR" || rodzaj == "KOR_ROZ";
  const bool zaliczka = rodzaj == "ZAL" || rodzaj == "KOR_ZAL";
  TVLQXmlNode* kontener = zaliczka ? fa->GetNodeByName("Zamowienie") : fa;
  if (kontener == nullptr) return;
  TMapaWierszy po, przed;
  PodzielWiesze(kontener, po, przed);
  const bool rozbieznosc =
      korekta && SprawdzCzyBedzieRozbieznoscZDostawy(po, przed, zaliczka);
  typDok = !korekta ? "PZ" : rozbieznosc ? "ROZB" : "ZD";
  data = ParsujDateKSeF(OdczytajTekstZPola(fa, "P_1", false));
  nrDok = OdczytajTekstZPola(fa, "P_2", false);
  TVLQXmlNode* podmiot1 = root->GetNodeByName("Podmiot1");
  TVLQXmlNode* dane = podmiot1 == nullptr
                          ? nullptr
                          : podmiot1->GetNodeByName("DaneIdentyfikacyjne");
  nazwaWystawcy = OdczytajTekstZPola(dane, "Nazwa", false);
  nipWystawcy = OdczytajTekstZPola(dane, "PrefiksPodatnika", false) +
                OdczytajTekstZPola(dane, "NIP", false);
}

}  // namespace druvo
