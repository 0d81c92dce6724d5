// KSeF invoice records and the converter that writes an invoice as EDI text.
//
// The records hold what the conversion of a KSeF FA invoice extracts besides
// the EDI text. Each record's default constructor leaves it as Czysc() does;
// assignment copies every field, owned objects (payments, bank accounts, line
// texts) deeply, never shared. TVLQKonwersjaKSeF writes the EDI records to a
// TMFile, into a text, or both, and reads invoice fields from a TVLQXmlNode
// tree that it borrows for one run.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <string_view>
#include <vector>

#include "druvo/ksef/UVlqIFKs.h"
#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Export.h"
#include "druvo/util/KorbLib.h"

namespace druvo {

class TVLQXmlNode;

// A third party of the invoice (element Podmiot3).
class DRUVO_API TVLQPodmiot3 {
 public:
  TVLQPodmiot3();
  TVLQPodmiot3(const AnsiString& nazwa, const AnsiString& identyfikator,
               const AnsiString& adres, int rola);

  void Czysc();

  AnsiString Nazwa;
  AnsiString Identyfikator;
  AnsiString Adres;  // address lines 1 and 2 joined by one blank
  int Rola = 0;
};

// One payment made or due. IdFormy belongs to the host: the library only
// initialises and copies it.
class DRUVO_API TVLQPlatnoscDoFakturyKSeF {
 public:
  TVLQPlatnoscDoFakturyKSeF();
  TVLQPlatnoscDoFakturyKSeF(int formaPlatnosci, const AnsiString& nazwaFormy,
                            TDateTime data, double kwota);

  void Czysc();

  AnsiString NazwaFormy;
  int FormaPlatnosci = -1;  // KSeF form code 1 to 7, -1 when not given
  TDateTime Data = 0;
  double Kwota = 0;
  int IdFormy = -1;
};

// A payment list: owning pointers in document order. Whoever holds a list
// frees its entries with CzyscListePlatnosciKSeF.
using TVLQListaPlatnosciKSeF = std::deque<TVLQPlatnoscDoFakturyKSeF*>;

// Sum of the amounts, rounded to 2 places after each addition.
DRUVO_API double SumaPlatnosci(const TVLQListaPlatnosciKSeF& lista);
// Destroys every payment (null entries skipped) and empties the list.
DRUVO_API void CzyscListePlatnosciKSeF(TVLQListaPlatnosciKSeF& lista);
// Replaces `target`'s payments by new copies of `source`'s (form code, name,
// date, amount; IdFormy becomes -1). Nothing when either pointer is null.
DRUVO_API void PrzepiszListePlatnosciDoFakturyKSeF(
    const TVLQListaPlatnosciKSeF* source, TVLQListaPlatnosciKSeF* target);

// Key to value texts of one invoice line or of the whole document.
using TVLQMapaTekstowKSeF = std::map<AnsiString, AnsiString>;

// Additional texts per invoice line: line number -> (key -> value). Each
// line's map is held by value, so copies never share it.
class DRUVO_API TVLQTekstyPozycjiZKSeF {
 public:
  using TMapaLinii = std::map<int, TVLQMapaTekstowKSeF>;

  // Sets `klucz` of line `linia` to `wartosc` (a later value replaces an
  // earlier one), creating the line's map when missing.
  void DodajTekst(int linia, const AnsiString& klucz,
                  const AnsiString& wartosc);
  // The texts of line `linia`, or null when it has none.
  TVLQMapaTekstowKSeF* GetTekstyPozycji(int linia);
  const TVLQMapaTekstowKSeF* GetTekstyPozycji(int linia) const;
  const TMapaLinii& GetWszystkieTeksty() const { return teksty_; }
  void Czysc();

 private:
  TMapaLinii teksty_;
};

// Key of a batch entry, ordered by line index, then batch index.
struct DRUVO_API TVLQKluczPartii {
  explicit TVLQKluczPartii(int idxLinii = 0, int idxPartii = 0)
      : IdxLinii(idxLinii), IdxPartii(idxPartii) {}

  bool operator<(const TVLQKluczPartii& other) const {
    return IdxLinii != other.IdxLinii ? IdxLinii < other.IdxLinii
                                      : IdxPartii < other.IdxPartii;
  }

  int IdxLinii;
  int IdxPartii;
};

// Texts supplied by the host that replace the invoice's own in the output.
// Teksty[n - 1] is written as "Tekst<n>"; KomentarzePozycji[0] and [1] give
// each line's Komentarz1 and Komentarz2 (maps 2 and 3 are the host's);
// Partie are written as "Partia" records in key order. TekstDodatkowy1..3
// are not used by the conversion.
class DRUVO_API TVLQTekstyDlaEDIVelquant5 {
 public:
  void Czysc();

  std::array<AnsiString, 10> Teksty;
  AnsiString DotyczyDokumentu;
  AnsiString Stopka;
  AnsiString Komentarz1;
  AnsiString PowodKorekty;
  AnsiString TekstDodatkowy1;
  AnsiString TekstDodatkowy2;
  AnsiString TekstDodatkowy3;
  std::array<std::map<int, AnsiString>, 4> KomentarzePozycji;
  std::map<TVLQKluczPartii, AnsiString> Partie;
};

// One bank account of the invoice (Fa/Platnosc/RachunekBankowy).
class DRUVO_API TVLQKontoBankoweKSeF {
 public:
  TVLQKontoBankoweKSeF() = default;
  TVLQKontoBankoweKSeF(const AnsiString& nrRB, const AnsiString& opisRachunku,
                       const AnsiString& nazwaBanku)
      : NrRB(nrRB), OpisRachunku(opisRachunku), NazwaBanku(nazwaBanku) {}

  AnsiString NrRB;
  AnsiString OpisRachunku;
  AnsiString NazwaBanku;
};

// Everything the conversion extracts from one invoice. Fields named
// Zastrzezone* are the host's: only initialised and copied. Platnosci and
// KontaBankowe own their entries. WierszePo/WierszePrzed point into the
// converted tree, are valid only while it lives, and are not copied by
// assignment (a copy-constructed record starts with them empty).
class DRUVO_API TVLQDaneFaktZKSeF {
 public:
  using TMapaWierszy = std::map<int, TVLQXmlNode*>;

  TVLQDaneFaktZKSeF();
  TVLQDaneFaktZKSeF(const TVLQDaneFaktZKSeF& other);
  TVLQDaneFaktZKSeF& operator=(const TVLQDaneFaktZKSeF& other);
  ~TVLQDaneFaktZKSeF();

  void Czysc();
  void CzyscListeWZ();
  void CzyscKontaBankowe();
  // Replaces the accounts by copies of those in `konta` (which may be this
  // record's own list).
  void KopiujKontaBankoweZ(const TMacList& konta);
  void DodajKontoBankowe(const AnsiString& nr, const AnsiString& opis,
                         const AnsiString& bank);
  // The i-th account (0-based), null outside the list.
  TVLQKontoBankoweKSeF* GetKontoBankowe(int i) const;
  int GetIleKontBankowych() const;

  double SumaNetto() const;
  double SumaPodatek() const;
  // The WZ numbers joined by ", ", with "<NrDok> z <dd.mm.yyyy>" after them
  // when `zWlasnymNumerem`.
  AnsiString GetDotyczyDok(bool zWlasnymNumerem) const;
  // Appends every third party's name, identifier and address (", " before
  // all but the first); false when there is none and nothing was appended.
  bool PrzygotujTekstyPodatnika3(AnsiString& nazwy, AnsiString& identyfikatory,
                                 AnsiString& adresy) const;

  int Zastrzezone1;
  int TypDokumentu;  // 2 "PZ", 4 "ZD", 26 "ROZB"
  AnsiString Zastrzezone2;
  AnsiString DataWytworzeniaFa;
  TDateTime DataWystawienia;
  TDateTime DataDostawy;
  AnsiString KodWaluty;
  double KursWaluty;
  AnsiString NrDok;
  int TerminPlatnosci;
  AnsiString NazwaFormyPlatnosci;
  int FormaPlatnosci;
  AnsiString Stopka1;
  AnsiString Stopka2;
  AnsiString Stopka3;
  std::deque<AnsiString> ListaWZ;
  double Zastrzezone3;
  double Zastrzezone4;
  double DoZaplaty;
  bool CenyBrutto;
  TVLQKsefRodzajFaktury RodzajFaktury;
  int Adnotacja;
  int NoweSrodkiTransportu;
  AnsiString PrzyczynaKorekty;
  AnsiString NrFaKorygowanych;
  AnsiString NrKSeFFaKorygowanych;
  AnsiString DatyFaKorygowanych;
  TMacSetOfIntegers Zastrzezone5{100};
  AnsiString NIPWystawcy;
  AnsiString NazwaWystawcy;
  AnsiString NrEORI;
  AnsiString AdresWystawcy;
  int Zastrzezone6;
  int Zastrzezone7;
  AnsiString IDWewPodmiotu3;
  int Zastrzezone8;
  double Netto23;
  double Vat23;
  double Netto8;
  double Vat8;
  double Netto5;
  double Vat5;
  double Netto4;
  double Vat4;
  double Netto0;
  double NettoZW;
  bool Zastrzezone9;
  AnsiString NazwaPlatnika;
  AnsiString AdresPlatnika;
  AnsiString NIPPlatnika;
  std::deque<TVLQPodmiot3> Podmioty3;
  TMapaWierszy WierszePo;
  TMapaWierszy WierszePrzed;
  TVLQMapaTekstowKSeF TekstyDokumentu;
  TVLQTekstyPozycjiZKSeF TekstyPozycji;
  TVLQListaPlatnosciKSeF Platnosci;
  TMacList KontaBankowe{100};  // of owned TVLQKontoBankoweKSeF
  AnsiString Zamowienia;

 private:
  void KopiujPolaZ(const TVLQDaneFaktZKSeF& other);
};

// The summary of an invoice used for lists.
class DRUVO_API TVLQDaneUproszczoneFaktZKSeF {
 public:
  TVLQDaneUproszczoneFaktZKSeF();

  void Czysc();
  void PrzepiszZ(const TVLQDaneFaktZKSeF& dane);

  AnsiString NIPWystawcy;
  AnsiString NazwaWystawcy;
  int TypDokumentu;
  int Adnotacja;
  int RodzajFaktury;
  int Zastrzezone8;
  AnsiString Stopka1;
  AnsiString Stopka2;
  AnsiString Stopka3;
  AnsiString Zamowienia;
  TVLQMapaTekstowKSeF TekstyDokumentu;
  TVLQTekstyPozycjiZKSeF TekstyPozycji;
};

// Converts one KSeF invoice into the EDI text of a delivery document ("PZ",
// or for a correction "ZD" when only quantities change, else "ROZB"). A
// converter serves one invoice: it borrows the tree (Faktura), the output
// file and the host's texts for the run, fills Dane and writes each record to
// the file (when PlikWyjsciowy is set) and to Wynik (when DoTekstu), in one
// pass whose cost grows linearly with the invoice. Writing errors of the
// file and conversion errors (EConvertError) of malformed amounts and dates
// propagate; what was written before them stays written. Elements are found
// by name ignoring letter case, the first of a name winning.
class DRUVO_API TVLQKonwersjaKSeF {
 public:
  using TMapaKomentarzy = std::map<int, AnsiString>;
  using TMapaWierszy = TVLQDaneFaktZKSeF::TMapaWierszy;

  TVLQKonwersjaKSeF();
  TVLQKonwersjaKSeF(const TVLQKonwersjaKSeF&) = delete;
  TVLQKonwersjaKSeF& operator=(const TVLQKonwersjaKSeF&) = delete;

  // Converts `faktura` and writes the records to `plik`.
  static void KonwertujDaneZXmlNaVelquant5DoPliku(TVLQXmlNode* faktura,
                                                  TMFile* plik);
  // Converts `faktura` into `wynik`, with the host's `teksty` (may be null)
  // and VAT symbol; the extracted data is assigned to `dane` when not null.
  static void KonwertujDaneZXmlNaVelquant5DoTekstu(
      TVLQXmlNode* faktura, AnsiString& wynik, TVLQDaneFaktZKSeF* dane,
      TVLQTekstyDlaEDIVelquant5* teksty, AnsiString symbolVat);

  // The summary of `root` (the invoice's kind, document type, texts,
  // annotations, parties, footer and orders), read by a converter in summary
  // mode that writes nothing; dates and amounts are not read.
  static void OdczytajDaneUproszczoneZFakturyKSeF(
      TVLQXmlNode* root, TVLQDaneUproszczoneFaktZKSeF& dane);
  // The document-list fields of `root`: invoice number and issue date,
  // document type ("PZ", "ZD" or "ROZB"), seller's name and tax number (with
  // its prefix). Every output is emptied (the date set to 0) first; reading
  // stops with them empty when there is no Fa, and before the type, number
  // and date when an advance invoice has no Zamowienie. `wolny1` and
  // `wolny2` are never filled. A malformed amount or date raises
  // EConvertError.
  static void OdczytajDaneDoListyDokumentow(
      TVLQXmlNode* root, AnsiString& nrDok, TDateTime& data, AnsiString& typDok,
      AnsiString& nazwaWystawcy, AnsiString& nipWystawcy, AnsiString& wolny1,
      AnsiString& wolny2);

  // Writes the record "klucz:wartosc" to the active targets; nothing when
  // `pomijajPuste` and the value is empty.
  void WpiszDoPliku(std::string_view klucz, std::string_view wartosc,
                    bool pomijajPuste);
  // The sub-field "nazwa{wartosc}"; "" when `pomijajPuste` and the value is
  // empty.
  static AnsiString DopiszDoLinii(std::string_view nazwa,
                                  std::string_view wartosc, bool pomijajPuste);
  // The date as dd.mm.yyyy.
  static AnsiString TekstDatyDlaEdi(TDateTime data);
  // The texts section: the host's texts when TekstyEDI is set, else the
  // invoice's document texts `teksty` (key -> value, in key order).
  void WpiszTekstyDoPliku(const TVLQMapaTekstowKSeF& teksty);
  // One "Partia" record per host batch entry, in key order.
  void WpiszPartieDoPliku();
  // Reads the Fa/DodatkowyOpis entries: document texts into `teksty` and
  // Dane.TekstyDokumentu, line texts into Dane.TekstyPozycji and the line
  // comment maps.
  void OdczytajTeksty(TVLQXmlNode* fa, TVLQMapaTekstowKSeF& teksty,
                      TMapaKomentarzy& komentarze1,
                      TMapaKomentarzy& komentarze2);
  // The conversion pass over Faktura: fills Dane and writes the document's
  // records (TypDok, texts, payment, seller, buyer, header, lines, batches,
  // rates). In TrybUproszczony only the kind, the lines' split, the document
  // type, texts, annotations, parties, footer and orders are read.
  void WewnKonwertujDaneZXmlNaVelquant5();

  // Splits the lines of `faktura` (Fa/FaWiersz, or Fa/Zamowienie's ordered
  // items for an advance invoice) into `po` and `przed`; nothing when Fa or
  // the line container is missing.
  static void OdczytajWierszeZXml(TVLQXmlNode* faktura, TMapaWierszy& po,
                                  TMapaWierszy& przed);
  // Files each FaWiersz or ZamowienieWiersz child of `kontener` under its
  // line number: lines marked as the state before a correction into
  // `przed`, the others into `po`. A missing or non-numeric number is one
  // more than the previous line's of the same map; a repeated number
  // replaces the earlier line, except that a line at an "np" rate with the
  // earlier line's GTIN is dropped.
  static void PodzielWiesze(TVLQXmlNode* kontener, TMapaWierszy& po,
                            TMapaWierszy& przed);
  // Whether a correction becomes a discrepancy document: the set of line
  // numbers differs, or a line's unit price or gross/net mode changes.
  static bool SprawdzCzyBedzieRozbieznoscZDostawy(const TMapaWierszy& po,
                                                  const TMapaWierszy& przed,
                                                  bool zaliczka);
  // Quantity, unit price and value of a line, gross when it has a gross
  // price other than "0"; an ordered item is always net. Missing amounts
  // read as 0; malformed ones raise EConvertError.
  static void OdczytajIloscCeneIWartosc(TVLQXmlNode* wiersz, double& ilosc,
                                        double& cena, double& wartosc,
                                        bool& brutto, bool zaliczka);
  // 1, 0 or -1 as `a` rounded to `miejsca` places is above, equal to or
  // below `b` rounded the same way.
  static int PorownajDwieKwoty(double a, double b, int miejsca);
  // Whether a corrected line is written by value (old line removed, new
  // line added): its price changed at 4 places or its gross/net mode did.
  static bool SprawdzCzyPozycjaBedziePrzezWartosc(const double& cenaPo,
                                                  const double& cenaPrzed,
                                                  bool bruttoPo,
                                                  bool bruttoPrzed);
  // Writes the Linia records: each current line (or its difference from
  // the state before), then, in a discrepancy document, the removed lines.
  // Sets Dane.CenyBrutto and the annotation 7 for lines all at "np I".
  bool WpiszPozycjeDoPliku(const TMapaWierszy& po, const TMapaWierszy& przed,
                           bool rozbieznosc, bool zaliczka,
                           const TMapaKomentarzy& komentarze1,
                           const TMapaKomentarzy& komentarze2);
  // Writes one Linia record for `wiersz` with the given amounts; `nr` is
  // the line number (IdxLinii is nr - 1). The VAT rate may set
  // Dane.Adnotacja (5 "0 WDT", 6 "0 EX", 13 excise amount of an item).
  void DopiszJednaPozycjeDoPliku(TVLQXmlNode* wiersz, int nr,
                                 const double& ilosc, const double& cena,
                                 const double& wartosc, bool brutto,
                                 bool zaliczka, const AnsiString& komentarz1,
                                 const AnsiString& komentarz2, bool zeStanem,
                                 double stanPoczatkowy);

  // The value of the first child of `node` named `name` (letter case
  // ignored), "" when there is none; with `jednaLinia` every CR LF pair
  // becomes one blank.
  static AnsiString OdczytajTekstZPola(TVLQXmlNode* node, std::string_view name,
                                       bool jednaLinia);
  // Reads the amount of child `name` into `kwota` (0 when missing or
  // empty); false only when the child is missing. A malformed amount raises
  // EConvertError.
  static bool OdczytajKwoteZPola(TVLQXmlNode* node, std::string_view name,
                                 double& kwota);
  // The date of a "yyyy-mm-dd[...]" text; 0 for a text shorter than 10
  // characters. An impossible date raises EConvertError.
  static TDateTime ParsujDateKSeF(std::string_view tekst);

  TMFile* PlikWyjsciowy = nullptr;
  AnsiString Wynik;
  bool DoTekstu = false;
  bool TrybUproszczony = false;
  AnsiString SymbolVatSpecjalny;
  TVLQXmlNode* Faktura = nullptr;
  TVLQTekstyDlaEDIVelquant5* TekstyEDI = nullptr;
  TVLQDaneFaktZKSeF Dane;

 private:
  void WpiszTekstyHosta();
  void WpiszTekstyFaktury(const TVLQMapaTekstowKSeF& teksty);
  // OdczytajTeksty over the DodatkowyOpis elements already found.
  void OdczytajOpisy(const std::vector<TVLQXmlNode*>& opisy,
                     TVLQMapaTekstowKSeF& teksty, TMapaKomentarzy& komentarze1,
                     TMapaKomentarzy& komentarze2);

  // Steps of the pass, in the order it takes them. TIndeksDzieci finds the
  // elements of Fa in one scan of its lines instead of one scan for each.
  class TIndeksDzieci;
  void OdczytajRodzajFaktury(const TIndeksDzieci& fa, bool& zaliczka,
                             bool& korekta);
  void WpiszTypDokumentu(bool korekta, bool rozbieznosc);
  TDateTime OdczytajDaty(const TIndeksDzieci& fa);
  void OdczytajFakturyKorygowane(const TIndeksDzieci& fa);
  bool OdczytajDoZaplaty(const TIndeksDzieci& fa);
  void OdczytajPlatnosc(TVLQXmlNode* platnosc, TDateTime dataWystawienia);
  void OdczytajTerminPlatnosci(TVLQXmlNode* platnosc,
                               TDateTime dataWystawienia);
  AnsiString OdczytajFormePlatnosci(TVLQXmlNode* platnosc);
  void OdczytajZaplatyCzesciowe(TVLQXmlNode* platnosc);
  void OdczytajAdnotacje(const TIndeksDzieci& fa);
  void OdczytajSprzedawce();
  void OdczytajNabywce();
  void OdczytajPodmioty3();
  void OdczytajDaneDokumentu(const TIndeksDzieci& fa,
                             TDateTime dataWystawienia);
  void OdczytajStopke();
  void OdczytajKwoty(const TIndeksDzieci& fa, bool jestDoZaplaty);
  void WpiszNaglowekDokumentu(const TIndeksDzieci& fa,
                              TDateTime dataWystawienia);
  void WpiszStawki();
  void OdczytajZamowienia(const TIndeksDzieci& fa);
  // Lines. TPolaWiersza holds the fields of one line element, found in one
  // scan of its children; TKwotyWiersza its amounts.
  struct TPolaWiersza;
  struct TKwotyWiersza {
    double Ilosc = 0;
    double Cena = 0;
    double Wartosc = 0;
    bool Brutto = false;
  };
  static TKwotyWiersza OdczytajKwotyWiersza(const TPolaWiersza& wiersz,
                                            bool zaliczka);
  // A line with its number and its fields as the invoice's kind of line;
  // TLinie are kept in number order, one line per number, as the maps of
  // lines are, so that each line's children are scanned once however many
  // steps read them.
  struct TLinia;
  using TLinie = std::vector<TLinia>;
  // The lines of one pass, after and before a correction.
  struct DRUVO_LOCAL TLiniePrzebiegu {
    TLiniePrzebiegu();
    ~TLiniePrzebiegu();
    TLinie Po;
    TLinie Przed;
  };
  // PodzielWiesze into `po` and `przed` as well as into the maps, which
  // must be empty for that (otherwise the lines are taken from the maps).
  // With `zKwotami` the amounts of each line are read in the same scan; a
  // malformed one is read again, and raises its error, where it is needed.
  static void PodzielLinie(TVLQXmlNode* kontener, bool zaliczka, bool zKwotami,
                           TMapaWierszy& mapaPo, TMapaWierszy& mapaPrzed,
                           TLinie& po, TLinie& przed);
  static TKwotyWiersza KwotyLinii(const TLinia& linia, bool zaliczka);
  static TLinie LinieZMapy(const TMapaWierszy& mapa, bool zaliczka);
  static void UporzadkujLinie(TLinie& linie);
  // Whether a line `nowy` with an earlier line's number replaces it.
  static bool ZastepujeLinie(const TVLQXmlNode* istniejacy,
                             const TVLQXmlNode* nowy);
  static bool SprawdzRozbieznosc(const TLinie& po, const TLinie& przed,
                                 bool zaliczka);
  void WpiszLinie(const TLinie& po, const TLinie& przed, bool rozbieznosc,
                  bool zaliczka, const TMapaKomentarzy& komentarze1,
                  const TMapaKomentarzy& komentarze2);
  // `stary`: the line of the state before with the same number, or null.
  void WpiszPozycje(const TLinia& linia, const TLinia* stary, bool rozbieznosc,
                    bool zaliczka, const AnsiString& komentarz1,
                    const AnsiString& komentarz2);
  void WpiszUsunietePozycje(const TLinie& po, const TLinie& przed,
                            bool zaliczka, const TMapaKomentarzy& komentarze1,
                            const TMapaKomentarzy& komentarze2);
  void DopiszPozycje(const TPolaWiersza& wiersz, int nr,
                     const TKwotyWiersza& kwoty, bool zaliczka,
                     const AnsiString& komentarz1, const AnsiString& komentarz2,
                     bool zeStanem, double stanPoczatkowy);
  std::string_view SymbolVat(const AnsiString& stawka);

  AnsiString linia_;    // reused buffer for the file's line
  AnsiString pozycja_;  // reused buffer for a Linia record's value
};

}  // namespace druvo
