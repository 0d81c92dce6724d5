#include "druvo/ksef/UVlqKoKs.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "druvo/platform/NumberText.h"
#include "druvo/xml/UVlqXml.h"

namespace druvo {

using namespace std::string_view_literals;

namespace {

double ZaokraglijDo2(double kwota) { return TxfTools(kwota).Round(2); }

// "a, b": appends `tekst` to `wynik` with `separator` before it unless
// `wynik` is empty.
void DopiszZSeparatorem(AnsiString& wynik, std::string_view separator,
                        std::string_view tekst) {
  if (!wynik.empty()) wynik.append(separator);
  wynik.append(tekst);
}

void DopiszLiczbe(AnsiString& wynik, int liczba) {
  char bufor[16];
  const auto koniec = std::to_chars(bufor, bufor + sizeof bufor, liczba).ptr;
  wynik.append(bufor, koniec);
}

// Appends `liczba` with at least `cyfr` digits, zero-padded.
void DopiszCyfry(AnsiString& wynik, unsigned liczba, std::size_t cyfr) {
  char bufor[16];
  const auto koniec = std::to_chars(bufor, bufor + sizeof bufor, liczba).ptr;
  const auto dlugosc = static_cast<std::size_t>(koniec - bufor);
  if (dlugosc < cyfr) wynik.append(cyfr - dlugosc, '0');
  wynik.append(bufor, koniec);
}

// The number n (1 to 10) of a key "Tekst n" or "Tekstn", or 0.
int NumerTekstu(const AnsiString& klucz) {
  static constexpr std::string_view kZOdstepem[] = {
      "Tekst 1", "Tekst 2", "Tekst 3", "Tekst 4", "Tekst 5",
      "Tekst 6", "Tekst 7", "Tekst 8", "Tekst 9", "Tekst 10"};
  static constexpr std::string_view kBezOdstepu[] = {
      "Tekst1", "Tekst2", "Tekst3", "Tekst4", "Tekst5",
      "Tekst6", "Tekst7", "Tekst8", "Tekst9", "Tekst10"};
  const TxTools tekst(klucz);
  for (int n = 1; n <= 10; ++n) {
    if (tekst.Compare(kZOdstepem[n - 1], true) == 0 ||
        tekst.Compare(kBezOdstepu[n - 1], true) == 0) {
      return n;
    }
  }
  return 0;
}

AnsiString KluczTekstu(int n) {
  AnsiString klucz = "Tekst";
  DopiszLiczbe(klucz, n);
  return klucz;
}

// The integer of a two- or four-digit date part, -1 when not a number.
int CzescDaty(std::string_view tekst, int start, int ile) {
  return StrToIntDef(TxTools(AnsiString(tekst)).ExtractFrom(start, ile), -1);
}

// Replaces `target`'s payments by whole copies (IdFormy included) of
// `source`'s; null entries are not copied.
void KopiujPlatnosci(const TVLQListaPlatnosciKSeF& source,
                     TVLQListaPlatnosciKSeF& target) {
  std::deque<std::unique_ptr<TVLQPlatnoscDoFakturyKSeF>> kopie;
  for (const TVLQPlatnoscDoFakturyKSeF* platnosc : source) {
    if (platnosc != nullptr) {
      kopie.push_back(std::make_unique<TVLQPlatnoscDoFakturyKSeF>(*platnosc));
    }
  }
  CzyscListePlatnosciKSeF(target);
  for (auto& kopia : kopie) {
    target.push_back(kopia.get());
    kopia.release();
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TVLQPodmiot3

TVLQPodmiot3::TVLQPodmiot3() { Czysc(); }

TVLQPodmiot3::TVLQPodmiot3(const AnsiString& nazwa,
                           const AnsiString& identyfikator,
                           const AnsiString& adres, int rola)
    : Nazwa(nazwa), Identyfikator(identyfikator), Adres(adres), Rola(rola) {}

void TVLQPodmiot3::Czysc() {
  Nazwa.clear();
  Identyfikator.clear();
  Adres.clear();
  Rola = 0;
}

// ---------------------------------------------------------------------------
// TVLQPlatnoscDoFakturyKSeF and payment lists

TVLQPlatnoscDoFakturyKSeF::TVLQPlatnoscDoFakturyKSeF() { Czysc(); }

TVLQPlatnoscDoFakturyKSeF::TVLQPlatnoscDoFakturyKSeF(
    int formaPlatnosci, const AnsiString& nazwaFormy, TDateTime data,
    double kwota)
    : NazwaFormy(nazwaFormy),
      FormaPlatnosci(formaPlatnosci),
      Data(data),
      Kwota(kwota),
      IdFormy(-1) {}

void TVLQPlatnoscDoFakturyKSeF::Czysc() {
  NazwaFormy.clear();
  FormaPlatnosci = -1;
  Data = 0;
  Kwota = 0;
  IdFormy = -1;
}

double SumaPlatnosci(const TVLQListaPlatnosciKSeF& lista) {
  double suma = 0;
  for (const TVLQPlatnoscDoFakturyKSeF* platnosc : lista) {
    if (platnosc != nullptr) suma = ZaokraglijDo2(suma + platnosc->Kwota);
  }
  return suma;
}

void CzyscListePlatnosciKSeF(TVLQListaPlatnosciKSeF& lista) {
  for (TVLQPlatnoscDoFakturyKSeF*& platnosc : lista) {
    delete platnosc;
    platnosc = nullptr;
  }
  lista.clear();
}

void PrzepiszListePlatnosciDoFakturyKSeF(const TVLQListaPlatnosciKSeF* source,
                                         TVLQListaPlatnosciKSeF* target) {
  if (source == nullptr || target == nullptr) return;
  // Copies first, so that a source that is the target survives the clearing.
  std::deque<std::unique_ptr<TVLQPlatnoscDoFakturyKSeF>> kopie;
  for (const TVLQPlatnoscDoFakturyKSeF* platnosc : *source) {
    if (platnosc == nullptr) continue;
    kopie.push_back(std::make_unique<TVLQPlatnoscDoFakturyKSeF>(
        platnosc->FormaPlatnosci, platnosc->NazwaFormy, platnosc->Data,
        platnosc->Kwota));
  }
  CzyscListePlatnosciKSeF(*target);
  for (auto& kopia : kopie) {
    target->push_back(kopia.get());
    kopia.release();
  }
}

// ---------------------------------------------------------------------------
// TVLQTekstyPozycjiZKSeF

void TVLQTekstyPozycjiZKSeF::DodajTekst(int linia, const AnsiString& klucz,
                                        const AnsiString& wartosc) {
  teksty_[linia][klucz] = wartosc;
}

TVLQMapaTekstowKSeF* TVLQTekstyPozycjiZKSeF::GetTekstyPozycji(int linia) {
  const auto it = teksty_.find(linia);
  return it == teksty_.end() ? nullptr : &it->second;
}

const TVLQMapaTekstowKSeF* TVLQTekstyPozycjiZKSeF::GetTekstyPozycji(
    int linia) const {
  const auto it = teksty_.find(linia);
  return it == teksty_.end() ? nullptr : &it->second;
}

void TVLQTekstyPozycjiZKSeF::Czysc() { teksty_.clear(); }

// ---------------------------------------------------------------------------
// TVLQTekstyDlaEDIVelquant5

void TVLQTekstyDlaEDIVelquant5::Czysc() {
  for (AnsiString& tekst : Teksty) tekst.clear();
  DotyczyDokumentu.clear();
  Stopka.clear();
  Komentarz1.clear();
  PowodKorekty.clear();
  TekstDodatkowy1.clear();
  TekstDodatkowy2.clear();
  TekstDodatkowy3.clear();
  for (auto& komentarze : KomentarzePozycji) komentarze.clear();
  Partie.clear();
}

// ---------------------------------------------------------------------------
// TVLQDaneFaktZKSeF

TVLQDaneFaktZKSeF::TVLQDaneFaktZKSeF() { Czysc(); }

TVLQDaneFaktZKSeF::TVLQDaneFaktZKSeF(const TVLQDaneFaktZKSeF& other) {
  Czysc();
  KopiujPolaZ(other);
}

TVLQDaneFaktZKSeF& TVLQDaneFaktZKSeF::operator=(
    const TVLQDaneFaktZKSeF& other) {
  if (this != &other) KopiujPolaZ(other);
  return *this;
}

TVLQDaneFaktZKSeF::~TVLQDaneFaktZKSeF() {
  CzyscListePlatnosciKSeF(Platnosci);
  CzyscKontaBankowe();
}

void TVLQDaneFaktZKSeF::Czysc() {
  Zastrzezone1 = -1;
  TypDokumentu = 2;
  Zastrzezone2.clear();
  DataWytworzeniaFa.clear();
  DataWystawienia = 0;
  DataDostawy = 0;
  KodWaluty.clear();
  KursWaluty = 1.0;
  NrDok.clear();
  TerminPlatnosci = 0;
  NazwaFormyPlatnosci.clear();
  FormaPlatnosci = -1;
  Stopka1.clear();
  Stopka2.clear();
  Stopka3.clear();
  CzyscListeWZ();
  Zastrzezone3 = 0;
  Zastrzezone4 = 0;
  DoZaplaty = 0;
  CenyBrutto = true;
  RodzajFaktury = rfVAT;
  Adnotacja = 0;
  NoweSrodkiTransportu = 0;
  PrzyczynaKorekty.clear();
  NrFaKorygowanych.clear();
  NrKSeFFaKorygowanych.clear();
  DatyFaKorygowanych.clear();
  Zastrzezone5.Clear();
  NIPWystawcy.clear();
  NazwaWystawcy.clear();
  NrEORI.clear();
  AdresWystawcy.clear();
  Zastrzezone6 = -1;
  Zastrzezone7 = -1;
  IDWewPodmiotu3.clear();
  Zastrzezone8 = 6;
  Netto23 = Vat23 = 0;
  Netto8 = Vat8 = 0;
  Netto5 = Vat5 = 0;
  Netto4 = Vat4 = 0;
  Netto0 = 0;
  NettoZW = 0;
  Zastrzezone9 = false;
  NazwaPlatnika.clear();
  AdresPlatnika.clear();
  NIPPlatnika.clear();
  Podmioty3.clear();
  WierszePo.clear();
  WierszePrzed.clear();
  TekstyDokumentu.clear();
  TekstyPozycji.Czysc();
  CzyscListePlatnosciKSeF(Platnosci);
  CzyscKontaBankowe();
  Zamowienia.clear();
}

// Every field but the two line maps; owned payments and accounts are copied.
void TVLQDaneFaktZKSeF::KopiujPolaZ(const TVLQDaneFaktZKSeF& other) {
  Zastrzezone1 = other.Zastrzezone1;
  TypDokumentu = other.TypDokumentu;
  Zastrzezone2 = other.Zastrzezone2;
  DataWytworzeniaFa = other.DataWytworzeniaFa;
  DataWystawienia = other.DataWystawienia;
  DataDostawy = other.DataDostawy;
  KodWaluty = other.KodWaluty;
  KursWaluty = other.KursWaluty;
  NrDok = other.NrDok;
  TerminPlatnosci = other.TerminPlatnosci;
  NazwaFormyPlatnosci = other.NazwaFormyPlatnosci;
  FormaPlatnosci = other.FormaPlatnosci;
  Stopka1 = other.Stopka1;
  Stopka2 = other.Stopka2;
  Stopka3 = other.Stopka3;
  ListaWZ = other.ListaWZ;
  Zastrzezone3 = other.Zastrzezone3;
  Zastrzezone4 = other.Zastrzezone4;
  DoZaplaty = other.DoZaplaty;
  CenyBrutto = other.CenyBrutto;
  RodzajFaktury = other.RodzajFaktury;
  Adnotacja = other.Adnotacja;
  NoweSrodkiTransportu = other.NoweSrodkiTransportu;
  PrzyczynaKorekty = other.PrzyczynaKorekty;
  NrFaKorygowanych = other.NrFaKorygowanych;
  NrKSeFFaKorygowanych = other.NrKSeFFaKorygowanych;
  DatyFaKorygowanych = other.DatyFaKorygowanych;
  Zastrzezone5.CopySet(other.Zastrzezone5);
  NIPWystawcy = other.NIPWystawcy;
  NazwaWystawcy = other.NazwaWystawcy;
  NrEORI = other.NrEORI;
  AdresWystawcy = other.AdresWystawcy;
  Zastrzezone6 = other.Zastrzezone6;
  Zastrzezone7 = other.Zastrzezone7;
  IDWewPodmiotu3 = other.IDWewPodmiotu3;
  Zastrzezone8 = other.Zastrzezone8;
  Netto23 = other.Netto23;
  Vat23 = other.Vat23;
  Netto8 = other.Netto8;
  Vat8 = other.Vat8;
  Netto5 = other.Netto5;
  Vat5 = other.Vat5;
  Netto4 = other.Netto4;
  Vat4 = other.Vat4;
  Netto0 = other.Netto0;
  NettoZW = other.NettoZW;
  Zastrzezone9 = other.Zastrzezone9;
  NazwaPlatnika = other.NazwaPlatnika;
  AdresPlatnika = other.AdresPlatnika;
  NIPPlatnika = other.NIPPlatnika;
  Podmioty3 = other.Podmioty3;
  TekstyDokumentu = other.TekstyDokumentu;
  TekstyPozycji = other.TekstyPozycji;
  KopiujPlatnosci(other.Platnosci, Platnosci);
  KopiujKontaBankoweZ(other.KontaBankowe);
  Zamowienia = other.Zamowienia;
}

void TVLQDaneFaktZKSeF::CzyscListeWZ() { ListaWZ.clear(); }

void TVLQDaneFaktZKSeF::CzyscKontaBankowe() {
  for (int i = 0; i < KontaBankowe.GetCount(); ++i) {
    delete static_cast<TVLQKontoBankoweKSeF*>(KontaBankowe.GetItems(i));
  }
  KontaBankowe.Clear();
}

void TVLQDaneFaktZKSeF::KopiujKontaBankoweZ(const TMacList& konta) {
  std::deque<std::unique_ptr<TVLQKontoBankoweKSeF>> kopie;
  for (int i = 0; i < konta.GetCount(); ++i) {
    const auto* konto =
        static_cast<const TVLQKontoBankoweKSeF*>(konta.GetItems(i));
    if (konto != nullptr) {
      kopie.push_back(std::make_unique<TVLQKontoBankoweKSeF>(*konto));
    }
  }
  CzyscKontaBankowe();
  for (auto& kopia : kopie) {
    KontaBankowe.Add(kopia.get());
    kopia.release();
  }
}

void TVLQDaneFaktZKSeF::DodajKontoBankowe(const AnsiString& nr,
                                          const AnsiString& opis,
                                          const AnsiString& bank) {
  auto konto = std::make_unique<TVLQKontoBankoweKSeF>(nr, opis, bank);
  KontaBankowe.Add(konto.get());
  konto.release();
}

TVLQKontoBankoweKSeF* TVLQDaneFaktZKSeF::GetKontoBankowe(int i) const {
  return static_cast<TVLQKontoBankoweKSeF*>(KontaBankowe.GetItems(i));
}

int TVLQDaneFaktZKSeF::GetIleKontBankowych() const {
  return KontaBankowe.GetCount();
}

double TVLQDaneFaktZKSeF::SumaNetto() const {
  double suma = 0;
  for (double netto : {Netto23, Netto8, Netto5, Netto4, Netto0, NettoZW}) {
    suma = ZaokraglijDo2(suma + netto);
  }
  return suma;
}

double TVLQDaneFaktZKSeF::SumaPodatek() const {
  double suma = 0;
  for (double vat : {Vat23, Vat8, Vat5, Vat4}) {
    suma = ZaokraglijDo2(suma + vat);
  }
  return suma;
}

AnsiString TVLQDaneFaktZKSeF::GetDotyczyDok(bool zWlasnymNumerem) const {
  AnsiString wynik;
  for (const AnsiString& wz : ListaWZ) DopiszZSeparatorem(wynik, ", ", wz);
  if (zWlasnymNumerem) {
    DopiszZSeparatorem(wynik, ", ", NrDok);
    wynik += " z ";
    wynik += TdtTools(DataWystawienia).ToString(12);
  }
  return wynik;
}

bool TVLQDaneFaktZKSeF::PrzygotujTekstyPodatnika3(AnsiString& nazwy,
                                                  AnsiString& identyfikatory,
                                                  AnsiString& adresy) const {
  bool pierwszy = true;
  for (const TVLQPodmiot3& podmiot : Podmioty3) {
    if (!pierwszy) {
      nazwy += ", ";
      identyfikatory += ", ";
      adresy += ", ";
    }
    nazwy += podmiot.Nazwa;
    identyfikatory += podmiot.Identyfikator;
    adresy += podmiot.Adres;
    pierwszy = false;
  }
  return !Podmioty3.empty();
}

// ---------------------------------------------------------------------------
// TVLQDaneUproszczoneFaktZKSeF

TVLQDaneUproszczoneFaktZKSeF::TVLQDaneUproszczoneFaktZKSeF() { Czysc(); }

void TVLQDaneUproszczoneFaktZKSeF::Czysc() {
  NIPWystawcy.clear();
  NazwaWystawcy.clear();
  TypDokumentu = 2;
  Adnotacja = 0;
  RodzajFaktury = 0;
  Zastrzezone8 = 6;
  Stopka1.clear();
  Stopka2.clear();
  Stopka3.clear();
  Zamowienia.clear();
  TekstyDokumentu.clear();
  TekstyPozycji.Czysc();
}

void TVLQDaneUproszczoneFaktZKSeF::PrzepiszZ(const TVLQDaneFaktZKSeF& dane) {
  NIPWystawcy = dane.NIPWystawcy;
  NazwaWystawcy = dane.NazwaWystawcy;
  TypDokumentu = dane.TypDokumentu;
  Adnotacja = dane.Adnotacja;
  RodzajFaktury = dane.RodzajFaktury;
  Zastrzezone8 = dane.Zastrzezone8;
  Stopka1 = dane.Stopka1;
  Stopka2 = dane.Stopka2;
  Stopka3 = dane.Stopka3;
  Zamowienia = dane.Zamowienia;
  TekstyDokumentu = dane.TekstyDokumentu;
  TekstyPozycji = dane.TekstyPozycji;
}

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

void TVLQKonwersjaKSeF::WpiszDoPliku(std::string_view klucz,
                                     std::string_view wartosc,
                                     bool pomijajPuste) {
  if (pomijajPuste && wartosc.empty()) return;
  if (PlikWyjsciowy != nullptr) {
    linia_.assign(klucz);
    linia_ += ':';
    linia_.append(wartosc);
    PlikWyjsciowy->WriteLine(linia_, "\r\n");
  }
  if (DoTekstu) {
    Wynik.append(klucz);
    Wynik += ':';
    Wynik.append(wartosc).append("\r\n");
  }
}

AnsiString TVLQKonwersjaKSeF::DopiszDoLinii(std::string_view nazwa,
                                            std::string_view wartosc,
                                            bool pomijajPuste) {
  AnsiString pole;
  if (pomijajPuste && wartosc.empty()) return pole;
  pole.reserve(nazwa.size() + wartosc.size() + 2);
  pole.append(nazwa).append(1, '{').append(wartosc).append(1, '}');
  return pole;
}

AnsiString TVLQKonwersjaKSeF::TekstDatyDlaEdi(TDateTime data) {
  unsigned short rok = 0, miesiac = 0, dzien = 0;
  DecodeDate(data, rok, miesiac, dzien);
  AnsiString tekst;
  tekst.reserve(10);
  DopiszCyfry(tekst, dzien, 2);
  tekst += '.';
  DopiszCyfry(tekst, miesiac, 2);
  tekst += '.';
  DopiszCyfry(tekst, rok, 4);
  return tekst;
}

void TVLQKonwersjaKSeF::WpiszTekstyDoPliku(const TVLQMapaTekstowKSeF& teksty) {
  if (TekstyEDI != nullptr) {
    WpiszTekstyHosta();
  } else {
    WpiszTekstyFaktury(teksty);
  }
}

void TVLQKonwersjaKSeF::WpiszTekstyHosta() {
  WpiszDoPliku("Komentarz1", TekstyEDI->Komentarz1, true);
  WpiszDoPliku("DotyczyDokumentu", TekstyEDI->DotyczyDokumentu, true);
  WpiszDoPliku("PowodKorekty", TekstyEDI->PowodKorekty, true);
  for (int n = 1; n <= 10; ++n) {
    WpiszDoPliku(KluczTekstu(n), TekstyEDI->Teksty[n - 1], true);
  }
}

void TVLQKonwersjaKSeF::WpiszTekstyFaktury(const TVLQMapaTekstowKSeF& teksty) {
  AnsiString komentarz;
  bool jestKomentarz = false;
  AnsiString inneTeksty;
  for (const auto& [klucz, wartosc] : teksty) {
    if (const int n = NumerTekstu(klucz); n > 0) {
      WpiszDoPliku(KluczTekstu(n), wartosc, true);
    } else if (klucz == "Dotyczy dokumentu" || klucz == "DotyczyDok") {
      WpiszDoPliku("DotyczyDok", wartosc, true);
    } else if (klucz == "Komentarz dokumentu" || klucz == "Komentarz") {
      komentarz = wartosc;
      jestKomentarz = true;
    } else {
      if (!inneTeksty.empty()) inneTeksty += '|';
      inneTeksty.append(klucz).append(1, ':').append(wartosc);
    }
  }
  if (!jestKomentarz) komentarz = std::move(inneTeksty);
  WpiszDoPliku("Komentarz1", komentarz, true);
}

void TVLQKonwersjaKSeF::WpiszPartieDoPliku() {
  if (TekstyEDI == nullptr) return;
  AnsiString wartosc;
  for (const auto& [klucz, tekst] : TekstyEDI->Partie) {
    wartosc.assign("IdxLinii{");
    DopiszLiczbe(wartosc, klucz.IdxLinii);
    wartosc.append("}IdxPartii{");
    DopiszLiczbe(wartosc, klucz.IdxPartii);
    wartosc.append(1, '}').append(tekst);
    WpiszDoPliku("Partia", wartosc, true);
  }
}

// ---------------------------------------------------------------------------
// Helpers of the conversion pass: finding elements, reading and writing fields

namespace {

// A name of at most 24 bytes with its ASCII letters in capitals. Bytes below
// 128 case-map as ASCII does and no other byte maps to them, so two names of
// such bytes are equal ignoring letter case (as GetNodeByName compares them)
// exactly when their lengths and keys are equal.
struct TKluczNazwy {
  static constexpr std::size_t kNajdluzsza = 24;
  std::uint64_t Czesci[3] = {0, 0, 0};
  constexpr bool operator==(const TKluczNazwy&) const = default;
};

// The key of `nazwa`; false when it is longer than 24 bytes or holds a byte
// from 128 up, which only the code page's comparison can match.
constexpr bool KluczNazwy(std::string_view nazwa, TKluczNazwy& klucz) {
  if (nazwa.size() > TKluczNazwy::kNajdluzsza) return false;
  for (std::size_t i = 0; i < nazwa.size(); ++i) {
    auto c = static_cast<unsigned char>(nazwa[i]);
    if (c >= 128) return false;
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - ('a' - 'A'));
    klucz.Czesci[i / 8] |= std::uint64_t{c} << (8 * (i % 8));
  }
  return true;
}

// Capitals of the ASCII letters in eight bytes that are all below 128: each
// byte from 'a' to 'z' loses 0x20. No sum carries into the next byte.
std::uint64_t WielkieAscii(std::uint64_t bajty) {
  constexpr std::uint64_t kJedynki = 0x0101010101010101;
  constexpr std::uint64_t kGorne = 0x8080808080808080;
  const std::uint64_t odA = bajty + (0x80 - 'a') * kJedynki;
  const std::uint64_t zaZ = bajty + (0x80 - 'z' - 1) * kJedynki;
  const std::uint64_t male = odA & ~zaZ & kGorne;
  return bajty - (male >> 2);
}

// KluczNazwy for a child's name, eight bytes at a time.
bool KluczNazwyDziecka(std::string_view nazwa, TKluczNazwy& klucz) {
  if constexpr (std::endian::native != std::endian::little) {
    return KluczNazwy(nazwa, klucz);
  }
  if (nazwa.size() > TKluczNazwy::kNajdluzsza) return false;
  unsigned char bajty[TKluczNazwy::kNajdluzsza] = {};
  std::memcpy(bajty, nazwa.data(), nazwa.size());
  std::uint64_t czesci[3];
  std::memcpy(czesci, bajty, sizeof czesci);
  if (((czesci[0] | czesci[1] | czesci[2]) & 0x8080808080808080) != 0) {
    return false;
  }
  for (int i = 0; i < 3; ++i) klucz.Czesci[i] = WielkieAscii(czesci[i]);
  return true;
}

// Whether an element's name equals `wzor` ignoring letter case, as
// GetNodeByName compares names.
bool TaSamaNazwa(std::string_view nazwa, std::string_view wzor) {
  if (nazwa.size() != wzor.size()) return false;
  if (nazwa == wzor) return true;
  TKluczNazwy klucz;
  TKluczNazwy kluczWzoru;
  if (KluczNazwyDziecka(nazwa, klucz) && KluczNazwyDziecka(wzor, kluczWzoru)) {
    return klucz == kluczWzoru;
  }
  return AnsiSameText(nazwa, wzor);
}

// The first child of `node` named `name` ignoring letter case, exactly as
// TVLQXmlNode::GetNodeByName finds it, or null (also for a null `node`).
TVLQXmlNode* Wezel(const TVLQXmlNode* node, std::string_view name) {
  if (node == nullptr) return nullptr;
  for (const auto& dziecko : node->Nodes) {
    if (dziecko->Name.size() == name.size() &&
        TaSamaNazwa(dziecko->Name, name)) {
      return dziecko.get();
    }
  }
  return nullptr;
}

// The Value of the first child of `node` named `name` (letter case ignored),
// or an empty text when `node` is null or has no such child.
const AnsiString& WartoscPola(const TVLQXmlNode* node, std::string_view name) {
  static const AnsiString kPusty;
  const TVLQXmlNode* pole = Wezel(node, name);
  return pole == nullptr ? kPusty : pole->Value;
}

// The amount of element `pole` into `kwota`: 0 when it is null (false) or
// empty (true); a malformed amount raises EConvertError.
bool KwotaWezla(const TVLQXmlNode* pole, double& kwota) {
  kwota = 0;
  if (pole == nullptr) return false;
  if (pole->Value.empty()) return true;
  TxfTools liczba;
  liczba.FromString(pole->Value, 10, true);
  kwota = liczba.Value();
  return true;
}

// `tekst` with every CR LF pair replaced by one blank. Replacing a pair by a
// blank never forms a new pair, so one pass leaves none.
AnsiString JednaLinia(const AnsiString& tekst) {
  if (tekst.find("\r\n") == AnsiString::npos) return tekst;
  AnsiString wynik;
  wynik.reserve(tekst.size());
  for (std::size_t i = 0; i < tekst.size(); ++i) {
    if (tekst[i] == '\r' && i + 1 < tekst.size() && tekst[i + 1] == '\n') {
      wynik += ' ';
      ++i;
    } else {
      wynik += tekst[i];
    }
  }
  return wynik;
}

// Appends the sub-field "nazwa{wartosc}" unless the value is empty.
void DopiszPole(AnsiString& linia, std::string_view nazwa,
                std::string_view wartosc) {
  if (wartosc.empty()) return;
  linia.append(nazwa);
  linia += '{';
  linia.append(wartosc);
  linia += '}';
}

// `nr` + `o`, wrapping around at the ends of int as the system's integers do
// (line numbers come from the invoice and may be the largest int).
int PrzesunNumer(int nr, int o) {
  return static_cast<int>(static_cast<unsigned>(nr) + static_cast<unsigned>(o));
}

// The whole days of a date.
int NumerDnia(TDateTime data) { return static_cast<int>(data); }

// The fields of a line that the conversion reads. The amounts come right after
// the number, so that reading them alone collects only the fields up to
// pwWartoscBrutto.
enum TPoleWiersza : int {
  pwStanPrzed,
  pwNrWiersza,
  pwIlosc,
  pwCenaNetto,
  pwCenaBrutto,
  pwWartoscNetto,
  pwWartoscBrutto,
  pwNazwa,
  pwGTIN,
  pwPKWiU,
  pwIndeks,
  pwCN,
  pwJm,
  pwStawkaVat,
  pwMPP,
  pwGTU,
  pwAkcyza,
  pwLiczbaPol
};

// Element names of the fields of one line kind, in TPoleWiersza order: an
// invoice line (FaWiersz) or an ordered item of an advance invoice
// (ZamowienieWiersz). An empty name is a field the kind does not have.
using TNazwyPolWiersza = std::array<std::string_view, pwLiczbaPol>;

constexpr TNazwyPolWiersza kPolaFaWiersza = {
    "StanPrzed", "NrWierszaFa", "P_8B",        "P_9A",  "P_9B",   "P_11",
    "P_11A",     "P_7",         "GTIN",        "PKWiU", "Indeks", "CN",
    "P_8A",      "P_12",        "P_12_Zal_15", "GTU",   ""};
constexpr TNazwyPolWiersza kPolaZamowienia = {"StanPrzedZ",
                                              "NrWierszaZam",
                                              "P_8BZ",
                                              "P_9AZ",
                                              "",
                                              "P_11NettoZ",
                                              "",
                                              "P_7Z",
                                              "GTINZ",
                                              "PKWiUZ",
                                              "IndeksZ",
                                              "CNZ",
                                              "P_8AZ",
                                              "P_12Z",
                                              "P_12Z_Zal_15",
                                              "GTU",
                                              "P_12Z_XII"};

// A line kind's field names with their keys, and for each name length the
// fields of that length, so that a child is compared only with names as long
// as its own.
struct TOpisWiersza {
  static constexpr std::size_t kDlugosci = 16;
  TNazwyPolWiersza Nazwy;
  std::array<TKluczNazwy, pwLiczbaPol> Klucze;
  std::array<std::array<signed char, 10>, kDlugosci> PolaODlugosci;
};

constexpr TOpisWiersza OpiszWiersz(const TNazwyPolWiersza& nazwy) {
  TOpisWiersza opis{nazwy, {}, {}};
  for (auto& pola : opis.PolaODlugosci) pola.fill(-1);
  for (int pole = 0; pole < pwLiczbaPol; ++pole) {
    if (nazwy[pole].empty()) continue;
    if (!KluczNazwy(nazwy[pole], opis.Klucze[pole])) throw "name too long";
    auto& pola = opis.PolaODlugosci.at(nazwy[pole].size());
    std::size_t wolne = 0;
    while (pola.at(wolne) >= 0) ++wolne;
    if (wolne + 1 >= pola.size()) throw "too many fields of one length";
    pola[wolne] = static_cast<signed char>(pole);
  }
  return opis;
}

constexpr TOpisWiersza kOpisFaWiersza = OpiszWiersz(kPolaFaWiersza);
constexpr TOpisWiersza kOpisZamowienia = OpiszWiersz(kPolaZamowienia);

const TOpisWiersza& OpisWiersza(bool zaliczka) {
  return zaliczka ? kOpisZamowienia : kOpisFaWiersza;
}

// The kind of a line element, or null for any other element.
const TOpisWiersza* OpisWezla(const TVLQXmlNode& wezel) {
  if (wezel.Name == "FaWiersz"sv) return &kOpisFaWiersza;
  if (wezel.Name == "ZamowienieWiersz"sv) return &kOpisZamowienia;
  return nullptr;
}

// Appends the sub-field "nazwa{wartosc}" with every CR LF pair of the value
// replaced by a blank, unless the value is empty.
void DopiszPoleJednaLinia(AnsiString& linia, std::string_view nazwa,
                          std::string_view wartosc) {
  if (wartosc.empty()) return;
  linia.append(nazwa);
  linia += '{';
  for (std::size_t para = wartosc.find("\r\n"); para != std::string_view::npos;
       para = wartosc.find("\r\n")) {
    linia.append(wartosc.substr(0, para));
    linia += ' ';
    wartosc.remove_prefix(para + 2);
  }
  linia.append(wartosc);
  linia += '}';
}

// Appends "nazwa{<letter><amount>}", the amount with 2 to 5 decimals.
void DopiszKwote(AnsiString& linia, std::string_view nazwa, char rodzaj,
                 double kwota) {
  linia.append(nazwa);
  linia += '{';
  linia += rodzaj;
  linia.append(TxfTools(kwota).ToDBField(2, 5));
  linia += '}';
}

// The comment of line `nr`, or an empty text.
const AnsiString& KomentarzLinii(const std::map<int, AnsiString>& komentarze,
                                 int nr) {
  static const AnsiString kPusty;
  const auto it = komentarze.find(nr);
  return it == komentarze.end() ? kPusty : it->second;
}

// A KSeF payment form: its code in the invoice, its EDI symbol and its name.
struct TFormaPlatnosci {
  std::string_view Kod;
  std::string_view Symbol;
  std::string_view Nazwa;
};

constexpr TFormaPlatnosci kFormyPlatnosci[] = {
    {"1", "GOT",
     "Got\xF3"
     "wka"},
    {"2", "KARTA",
     "Karta p\xB3"
     "atnicza"},
    {"3", "BON", "Bon"},
    {"4", "CZEK", "Czek potwierdzony"},
    {"5", "KREDYT", "Kredyt"},
    {"6", "PRZEL", "Przelew"},
    {"7", "MOBILNA", "Mobilna"},
};

const TFormaPlatnosci* ZnajdzFormePlatnosci(std::string_view kod) {
  for (const TFormaPlatnosci& forma : kFormyPlatnosci) {
    if (forma.Kod == kod) return &forma;
  }
  return nullptr;
}

void DodajPlatnosc(TVLQListaPlatnosciKSeF& lista, int forma,
                   const AnsiString& nazwa, TDateTime data, double kwota) {
  auto platnosc =
      std::make_unique<TVLQPlatnoscDoFakturyKSeF>(forma, nazwa, data, kwota);
  lista.push_back(platnosc.get());
  platnosc.release();
}

// `numer` preceded by `prefiks` when both are given, else `numer`.
AnsiString ZPrefiksem(const AnsiString& prefiks, const AnsiString& numer) {
  if (prefiks.empty() || numer.empty()) return numer;
  return prefiks + numer;
}

// The tax identifier of a buyer or third party: NIP, else the foreign NrID
// with its country, else the EU VAT number with its country.
AnsiString IdentyfikatorPodmiotu(const TVLQXmlNode* dane) {
  AnsiString identyfikator = WartoscPola(dane, "NIP");
  if (identyfikator.empty()) {
    identyfikator =
        ZPrefiksem(WartoscPola(dane, "KodKraju"), WartoscPola(dane, "NrID"));
  }
  if (identyfikator.empty()) {
    identyfikator =
        ZPrefiksem(WartoscPola(dane, "KodUE"), WartoscPola(dane, "NrVatUE"));
  }
  return identyfikator;
}

// Address lines 1 and 2 on one line, joined by a blank.
AnsiString AdresPodmiotu(const TVLQXmlNode* adres) {
  AnsiString wynik = JednaLinia(WartoscPola(adres, "AdresL1"));
  if (const AnsiString& drugaLinia = WartoscPola(adres, "AdresL2");
      !drugaLinia.empty()) {
    wynik.append(1, ' ').append(JednaLinia(drugaLinia));
  }
  return wynik;
}

}  // namespace

// The first child of each name under one element, found in one pass over its
// children. Fa holds every invoice line, so looking its other elements up
// one by one would scan all the lines each time; through this index a lookup
// costs one hash probe. The same pass collects the repeated elements of Fa
// that the conversion reads all of (each list in document order).
class TVLQKonwersjaKSeF::TIndeksDzieci {
 public:
  enum TLista { kOpisy, kKorygowane, kWZ, kIleList };

  explicit TIndeksDzieci(TVLQXmlNode* wezel) : wezel_(wezel) {
    static constexpr std::string_view kNazwyList[kIleList] = {
        "DodatkowyOpis", "DaneFaKorygowanej", "WZ"};
    TNazwa poprzednia;
    bool jestPoprzednia = false;
    for (const auto& dziecko : wezel->Nodes) {
      for (int lista = 0; lista < kIleList; ++lista) {
        if (dziecko->Name == kNazwyList[lista]) {
          listy_[lista].push_back(dziecko.get());
        }
      }
      TNazwa nazwa;
      // A name with no key cannot equal any name looked up here.
      if (!nazwa.Ustaw(dziecko->Name)) continue;
      if (jestPoprzednia && nazwa == poprzednia) continue;  // a run of lines
      pierwsze_.try_emplace(nazwa, dziecko.get());
      poprzednia = nazwa;
      jestPoprzednia = true;
    }
  }

  // The children named exactly as list `lista` says.
  const std::vector<TVLQXmlNode*>& Lista(TLista lista) const {
    return listy_[lista];
  }
  // The text of the first child named `nazwa`, or an empty text.
  const AnsiString& Wartosc(std::string_view nazwa) const {
    static const AnsiString kPusty;
    const TVLQXmlNode* pole = Znajdz(nazwa);
    return pole == nullptr ? kPusty : pole->Value;
  }
  // The amount of the first child named `nazwa`, as OdczytajKwoteZPola.
  bool Kwota(std::string_view nazwa, double& kwota) const {
    return KwotaWezla(Znajdz(nazwa), kwota);
  }
  // The first child named `nazwa` ignoring letter case, as GetNodeByName.
  TVLQXmlNode* Znajdz(std::string_view nazwa) const {
    TNazwa szukana;
    if (!szukana.Ustaw(nazwa)) return druvo::Wezel(wezel_, nazwa);
    const auto it = pierwsze_.find(szukana);
    return it == pierwsze_.end() ? nullptr : it->second;
  }

 private:
  struct TNazwa {
    TKluczNazwy Klucz;
    std::size_t Dlugosc = 0;
    bool Ustaw(std::string_view nazwa) {
      Dlugosc = nazwa.size();
      return KluczNazwyDziecka(nazwa, Klucz);
    }
    bool operator==(const TNazwa&) const = default;
  };
  struct THash {
    std::size_t operator()(const TNazwa& nazwa) const {
      std::uint64_t h = nazwa.Dlugosc;
      for (const std::uint64_t czesc : nazwa.Klucz.Czesci) {
        h = (h ^ czesc) * 0x9E3779B97F4A7C15;
        h ^= h >> 29;
      }
      return static_cast<std::size_t>(h);
    }
  };

  TVLQXmlNode* wezel_;
  std::unordered_map<TNazwa, TVLQXmlNode*, THash> pierwsze_;
  std::array<std::vector<TVLQXmlNode*>, kIleList> listy_;
};

// ---------------------------------------------------------------------------
// TVLQKonwersjaKSeF: the pass

void TVLQKonwersjaKSeF::OdczytajTeksty(TVLQXmlNode* fa,
                                       TVLQMapaTekstowKSeF& teksty,
                                       TMapaKomentarzy& komentarze1,
                                       TMapaKomentarzy& komentarze2) {
  std::vector<TVLQXmlNode*> opisy;
  for (const auto& wezel : fa->Nodes) {
    if (wezel->Name == "DodatkowyOpis"sv) opisy.push_back(wezel.get());
  }
  OdczytajOpisy(opisy, teksty, komentarze1, komentarze2);
}

void TVLQKonwersjaKSeF::OdczytajOpisy(const std::vector<TVLQXmlNode*>& opisy,
                                      TVLQMapaTekstowKSeF& teksty,
                                      TMapaKomentarzy& komentarze1,
                                      TMapaKomentarzy& komentarze2) {
  TMapaKomentarzy zebraneTeksty;
  for (TVLQXmlNode* opis : opisy) {
    TVLQXmlNode* kluczWezel = Wezel(opis, "Klucz");
    TVLQXmlNode* wartoscWezel = Wezel(opis, "Wartosc");
    if (kluczWezel == nullptr || wartoscWezel == nullptr) continue;
    const AnsiString& klucz = kluczWezel->Value;
    const AnsiString& wartosc = wartoscWezel->Value;
    const int nr = StrToIntDef(WartoscPola(opis, "NrWiersza"), -1);
    if (nr < 1) {
      teksty[klucz] = wartosc;
      Dane.TekstyDokumentu[klucz] = wartosc;
      continue;
    }
    Dane.TekstyPozycji.DodajTekst(nr, klucz, wartosc);
    if (klucz == "Komentarz 1") {
      komentarze1[nr] = wartosc;
    } else if (klucz == "Komentarz 2") {
      komentarze2[nr] = wartosc;
    } else {
      AnsiString& zebrane = zebraneTeksty[nr];
      if (!zebrane.empty()) zebrane += '|';
      zebrane.append(klucz).append(1, ':').append(wartosc);
    }
  }
  // Lines without a "Komentarz 2" of their own get their other texts.
  for (auto& [nr, zebrane] : zebraneTeksty) {
    komentarze2.try_emplace(nr, std::move(zebrane));
  }
}

void TVLQKonwersjaKSeF::WewnKonwertujDaneZXmlNaVelquant5() {
  if (Faktura == nullptr) return;
  if (TVLQXmlNode* naglowek = Wezel(Faktura, "Naglowek")) {
    Dane.DataWytworzeniaFa =
        OdczytajTekstZPola(naglowek, "DataWytworzeniaFa", false);
  }
  TVLQXmlNode* wezelFa = Wezel(Faktura, "Fa");
  if (wezelFa == nullptr) return;
  const TIndeksDzieci fa(wezelFa);
  bool zaliczka = false;
  bool korekta = false;
  OdczytajRodzajFaktury(fa, zaliczka, korekta);
  PodzielWiesze(zaliczka ? fa.Znajdz("Zamowienie") : wezelFa, Dane.WierszePo,
                Dane.WierszePrzed);
  if (DoTekstu) {
    // Room for the records, so that a long invoice's text grows only once.
    const std::size_t wiersze =
        Dane.WierszePo.size() + Dane.WierszePrzed.size();
    Wynik.reserve(Wynik.size() + 1024 + 256 * wiersze);
  }
  const bool rozbieznosc =
      korekta && SprawdzCzyBedzieRozbieznoscZDostawy(
                     Dane.WierszePo, Dane.WierszePrzed, zaliczka);
  WpiszTypDokumentu(korekta, rozbieznosc);

  TVLQMapaTekstowKSeF teksty;
  TMapaKomentarzy komentarze1;
  TMapaKomentarzy komentarze2;
  OdczytajOpisy(fa.Lista(TIndeksDzieci::kOpisy), teksty, komentarze1,
                komentarze2);
  WpiszTekstyDoPliku(teksty);

  TDateTime dataWystawienia = 0;
  bool jestDoZaplaty = false;
  if (!TrybUproszczony) {
    dataWystawienia = OdczytajDaty(fa);
    if (korekta) {
      Dane.PrzyczynaKorekty = fa.Wartosc("PrzyczynaKorekty");
    }
    OdczytajFakturyKorygowane(fa);
    jestDoZaplaty = OdczytajDoZaplaty(fa);
    if (TVLQXmlNode* platnosc = fa.Znajdz("Platnosc")) {
      OdczytajPlatnosc(platnosc, dataWystawienia);
    }
  }
  OdczytajAdnotacje(fa);
  OdczytajSprzedawce();
  OdczytajNabywce();
  OdczytajPodmioty3();
  if (!TrybUproszczony) OdczytajDaneDokumentu(fa, dataWystawienia);
  OdczytajStopke();
  if (!TrybUproszczony) {
    OdczytajKwoty(fa, jestDoZaplaty);
    WpiszNaglowekDokumentu(fa, dataWystawienia);
    WpiszPozycjeDoPliku(Dane.WierszePo, Dane.WierszePrzed, rozbieznosc,
                        zaliczka, komentarze1, komentarze2);
    WpiszPartieDoPliku();
    WpiszStawki();
  }
  OdczytajZamowienia(fa);
}

void TVLQKonwersjaKSeF::OdczytajRodzajFaktury(const TIndeksDzieci& fa,
                                              bool& zaliczka, bool& korekta) {
  const AnsiString& rodzaj = fa.Wartosc("RodzajFaktury");
  for (int r = rfVAT; r <= rfKOR_ROZ; ++r) {
    const auto kandydat = static_cast<TVLQKsefRodzajFaktury>(r);
    if (KsefTekstRodzajuFaktury(kandydat) == rodzaj) {
      Dane.RodzajFaktury = kandydat;
      break;
    }
  }
  zaliczka = rodzaj == "ZAL" || rodzaj == "KOR_ZAL";
  korekta = rodzaj == "KOR_ZAL" || rodzaj == "KOR" || rodzaj == "KOR_ROZ";
}

void TVLQKonwersjaKSeF::WpiszTypDokumentu(bool korekta, bool rozbieznosc) {
  if (!korekta) {
    Dane.TypDokumentu = 2;
    WpiszDoPliku("TypDok", "PZ", false);
  } else if (rozbieznosc) {
    Dane.TypDokumentu = 26;
    WpiszDoPliku("TypDok", "ROZB", false);
  } else {
    Dane.TypDokumentu = 4;
    WpiszDoPliku("TypDok", "ZD", false);
  }
}

// The issue date (returned) and the delivery date, which falls back to the
// end of the invoiced period and then to the issue date.
TDateTime TVLQKonwersjaKSeF::OdczytajDaty(const TIndeksDzieci& fa) {
  const TDateTime dataWystawienia = ParsujDateKSeF(fa.Wartosc("P_1"));
  if (const AnsiString& p6 = fa.Wartosc("P_6"); !p6.empty()) {
    Dane.DataDostawy = ParsujDateKSeF(p6);
  } else if (const AnsiString& koniecOkresu =
                 WartoscPola(fa.Znajdz("OkresFa"), "P_6_Do");
             !koniecOkresu.empty()) {
    Dane.DataDostawy = ParsujDateKSeF(koniecOkresu);
  }
  if (NumerDnia(Dane.DataDostawy) == 0) Dane.DataDostawy = dataWystawienia;
  return dataWystawienia;
}

void TVLQKonwersjaKSeF::OdczytajFakturyKorygowane(const TIndeksDzieci& fa) {
  for (TVLQXmlNode* korygowana : fa.Lista(TIndeksDzieci::kKorygowane)) {
    if (!Dane.NrFaKorygowanych.empty()) Dane.NrFaKorygowanych += ", ";
    if (!Dane.DatyFaKorygowanych.empty()) Dane.DatyFaKorygowanych += ',';
    if (!Dane.NrKSeFFaKorygowanych.empty()) Dane.NrKSeFFaKorygowanych += ", ";
    Dane.NrFaKorygowanych += WartoscPola(korygowana, "NrFaKorygowanej");
    const TDateTime data =
        ParsujDateKSeF(WartoscPola(korygowana, "DataWystFaKorygowanej"));
    Dane.DatyFaKorygowanych += TdtTools(data).ToString(13).substr(0, 8);
    Dane.NrKSeFFaKorygowanych += WartoscPola(korygowana, "NrKSeFFaKorygowanej");
  }
}

// The amount due of the settlement, else Fa/P_15; true when one was given.
bool TVLQKonwersjaKSeF::OdczytajDoZaplaty(const TIndeksDzieci& fa) {
  TVLQXmlNode* rozliczenie = fa.Znajdz("Rozliczenie");
  if (rozliczenie == nullptr) {
    return fa.Kwota("P_15", Dane.DoZaplaty);
  }
  if (OdczytajKwoteZPola(rozliczenie, "DoZaplaty", Dane.DoZaplaty)) {
    return true;
  }
  double doRozliczenia = 0;
  const bool jest =
      OdczytajKwoteZPola(rozliczenie, "DoRozliczenia", doRozliczenia);
  Dane.DoZaplaty = -doRozliczenia;
  return jest;
}

void TVLQKonwersjaKSeF::OdczytajPlatnosc(TVLQXmlNode* platnosc,
                                         TDateTime dataWystawienia) {
  OdczytajTerminPlatnosci(platnosc, dataWystawienia);
  WpiszDoPliku("SposobPlatn", OdczytajFormePlatnosci(platnosc), true);
  for (const auto& wezel : platnosc->Nodes) {
    if (wezel->Name != "RachunekBankowy"sv) continue;
    Dane.DodajKontoBankowe(WartoscPola(wezel.get(), "NrRB"),
                           WartoscPola(wezel.get(), "OpisRachunku"),
                           WartoscPola(wezel.get(), "NazwaBanku"));
  }
  if (WartoscPola(platnosc, "Zaplacono") == "1") {
    DodajPlatnosc(Dane.Platnosci, Dane.FormaPlatnosci, Dane.NazwaFormyPlatnosci,
                  ParsujDateKSeF(WartoscPola(platnosc, "DataZaplaty")),
                  Dane.DoZaplaty);
    return;
  }
  OdczytajZaplatyCzesciowe(platnosc);
}

// Days from the issue date to the payment term, else to the payment date;
// written only when not negative.
void TVLQKonwersjaKSeF::OdczytajTerminPlatnosci(TVLQXmlNode* platnosc,
                                                TDateTime dataWystawienia) {
  int dni = -1;
  const AnsiString& termin =
      WartoscPola(Wezel(platnosc, "TerminPlatnosci"), "Termin");
  if (!termin.empty()) {
    dni = NumerDnia(ParsujDateKSeF(termin)) - NumerDnia(dataWystawienia);
  }
  const AnsiString& dataZaplaty = WartoscPola(platnosc, "DataZaplaty");
  if (dni < 0 && !dataZaplaty.empty()) {
    dni = NumerDnia(ParsujDateKSeF(dataZaplaty)) - NumerDnia(dataWystawienia);
  }
  if (dni < 0) return;
  AnsiString tekst;
  DopiszLiczbe(tekst, dni);
  WpiszDoPliku("TerminPlatn", tekst, false);
  Dane.TerminPlatnosci = dni;
}

// Sets the payment form's code and name in Dane; returns its EDI symbol.
AnsiString TVLQKonwersjaKSeF::OdczytajFormePlatnosci(TVLQXmlNode* platnosc) {
  if (WartoscPola(platnosc, "PlatnoscInna") == "1") {
    Dane.NazwaFormyPlatnosci = WartoscPola(platnosc, "OpisPlatnosci");
    return AnsiString();
  }
  const AnsiString& forma = WartoscPola(platnosc, "FormaPlatnosci");
  if (forma.empty()) return AnsiString();
  Dane.FormaPlatnosci = StrToIntDef(forma, -1);
  const TFormaPlatnosci* opis = ZnajdzFormePlatnosci(forma);
  if (opis == nullptr) return AnsiString();
  Dane.NazwaFormyPlatnosci = AnsiString(opis->Nazwa);
  return AnsiString(opis->Symbol);
}

void TVLQKonwersjaKSeF::OdczytajZaplatyCzesciowe(TVLQXmlNode* platnosc) {
  const AnsiString& znacznik =
      WartoscPola(platnosc, "ZnacznikZaplatyCzesciowej");
  if (znacznik != "1" && znacznik != "2") return;
  for (const auto& wezel : platnosc->Nodes) {
    if (TxTools(wezel->Name).Compare("ZaplataCzesciowa", true) != 0) continue;
    TVLQXmlNode* zaplata = wezel.get();
    double kwota = 0;
    OdczytajKwoteZPola(zaplata, "KwotaZaplatyCzesciowej", kwota);
    const TDateTime data =
        ParsujDateKSeF(WartoscPola(zaplata, "DataZaplatyCzesciowej"));
    const AnsiString& forma = WartoscPola(zaplata, "FormaPlatnosci");
    AnsiString nazwa;
    if (WartoscPola(zaplata, "PlatnoscInna") == "1") {
      nazwa = WartoscPola(zaplata, "OpisPlatnosci");
    } else if (const TFormaPlatnosci* opis = ZnajdzFormePlatnosci(forma)) {
      nazwa = AnsiString(opis->Nazwa);
    }
    if (kwota != 0) {
      DodajPlatnosc(Dane.Platnosci, StrToIntDef(forma, -1), nazwa, data, kwota);
    }
  }
}

void TVLQKonwersjaKSeF::OdczytajAdnotacje(const TIndeksDzieci& fa) {
  TVLQXmlNode* adnotacje = fa.Znajdz("Adnotacje");
  if (adnotacje == nullptr) return;
  static constexpr struct {
    std::string_view Pole;
    int Kod;
  } kAdnotacje[] = {{"P_18A", 1}, {"P_18", 2},  {"P_19", 8},
                    {"P_16", 9},  {"P_17", 10}, {"P_23", 11}};
  bool ustalona = false;
  for (const auto& adnotacja : kAdnotacje) {
    if (WartoscPola(adnotacje, adnotacja.Pole) == "1") {
      Dane.Adnotacja = adnotacja.Kod;
      ustalona = true;
      break;
    }
  }
  TVLQXmlNode* marza = Wezel(adnotacje, "PMarzy");
  if (!ustalona && marza != nullptr && WartoscPola(marza, "P_PMarzyN") != "1") {
    Dane.Adnotacja = 12;
  }
  if (WartoscPola(Wezel(adnotacje, "NoweSrodkiTransportu"), "P_22") == "1") {
    Dane.NoweSrodkiTransportu = 2;
  }
}

void TVLQKonwersjaKSeF::OdczytajSprzedawce() {
  TVLQXmlNode* podmiot = Wezel(Faktura, "Podmiot1");
  if (podmiot == nullptr) return;
  Dane.NrEORI = WartoscPola(podmiot, "NrEORI");
  TVLQXmlNode* dane = Wezel(podmiot, "DaneIdentyfikacyjne");
  Dane.NazwaWystawcy = OdczytajTekstZPola(dane, "Nazwa", true);
  WpiszDoPliku("NazwaWystawcy", Dane.NazwaWystawcy, true);
  Dane.NIPWystawcy = WartoscPola(dane, "PrefiksPodatnika");
  Dane.NIPWystawcy += WartoscPola(dane, "NIP");
  WpiszDoPliku("NIPWystawcy", Dane.NIPWystawcy, true);
  TVLQXmlNode* adres = Wezel(podmiot, "Adres");
  WpiszDoPliku("KodKrajuWystawcy", WartoscPola(adres, "KodKraju"), true);
  Dane.AdresWystawcy = AdresPodmiotu(adres);
  WpiszDoPliku("AdresWystawcy", Dane.AdresWystawcy, true);
  WpiszDoPliku("TelefonWystawcy",
               WartoscPola(Wezel(podmiot, "DaneKontaktowe"), "Telefon"), true);
}

void TVLQKonwersjaKSeF::OdczytajNabywce() {
  TVLQXmlNode* podmiot = Wezel(Faktura, "Podmiot2");
  if (podmiot == nullptr) return;
  TVLQXmlNode* dane = Wezel(podmiot, "DaneIdentyfikacyjne");
  Dane.NazwaPlatnika = OdczytajTekstZPola(dane, "Nazwa", true);
  Dane.NIPPlatnika = IdentyfikatorPodmiotu(dane);
  WpiszDoPliku("NIPPlatnika", Dane.NIPPlatnika, true);
  TVLQXmlNode* adres = Wezel(podmiot, "Adres");
  WpiszDoPliku("KodKrajuPlatnika", WartoscPola(adres, "KodKraju"), true);
  Dane.AdresPlatnika = AdresPodmiotu(adres);
  WpiszDoPliku("AdresPlatnika", Dane.AdresPlatnika, true);
}

void TVLQKonwersjaKSeF::OdczytajPodmioty3() {
  for (const auto& wezel : Faktura->Nodes) {
    if (wezel->Name != "Podmiot3"sv) continue;
    TVLQXmlNode* dane = Wezel(wezel.get(), "DaneIdentyfikacyjne");
    TVLQPodmiot3 podmiot;
    podmiot.Nazwa = OdczytajTekstZPola(dane, "Nazwa", true);
    podmiot.Identyfikator = IdentyfikatorPodmiotu(dane);
    if (podmiot.Identyfikator.empty()) {
      podmiot.Identyfikator = WartoscPola(dane, "IDWew");
    }
    podmiot.Adres = AdresPodmiotu(Wezel(wezel.get(), "Adres"));
    podmiot.Rola = StrToIntDef(WartoscPola(wezel.get(), "Rola"), 0);
    const bool rolaZIdWew =
        podmiot.Rola == 2 || podmiot.Rola == 8 || podmiot.Rola == 10;
    if (rolaZIdWew && dane != nullptr) {
      Dane.IDWewPodmiotu3 = WartoscPola(dane, "IDWew");
    }
    Dane.Podmioty3.push_back(std::move(podmiot));
  }
}

void TVLQKonwersjaKSeF::OdczytajDaneDokumentu(const TIndeksDzieci& fa,
                                              TDateTime dataWystawienia) {
  Dane.KodWaluty = fa.Wartosc("KodWaluty");
  fa.Kwota("KursWalutyZ", Dane.KursWaluty);
  Dane.DataWystawienia = dataWystawienia;
  Dane.NrDok = fa.Wartosc("P_2");
  for (const TVLQXmlNode* wz : fa.Lista(TIndeksDzieci::kWZ)) {
    Dane.ListaWZ.push_back(wz->Value);
  }
}

void TVLQKonwersjaKSeF::OdczytajStopke() {
  TVLQXmlNode* stopka = Wezel(Faktura, "Stopka");
  if (stopka == nullptr) return;
  int numer = 0;
  for (const auto& wezel : stopka->Nodes) {
    if (wezel->Name != "Informacje"sv) continue;
    ++numer;
    AnsiString& cel =
        numer == 1 ? Dane.Stopka1 : (numer == 2 ? Dane.Stopka2 : Dane.Stopka3);
    cel = OdczytajTekstZPola(wezel.get(), "StopkaFaktury", true);
  }
}

void TVLQKonwersjaKSeF::OdczytajKwoty(const TIndeksDzieci& fa,
                                      bool jestDoZaplaty) {
  if (!jestDoZaplaty) fa.Kwota("P_15", Dane.DoZaplaty);
  fa.Kwota("P_13_1", Dane.Netto23);
  fa.Kwota("P_14_1", Dane.Vat23);
  fa.Kwota("P_13_2", Dane.Netto8);
  fa.Kwota("P_14_2", Dane.Vat8);
  fa.Kwota("P_13_3", Dane.Netto5);
  fa.Kwota("P_14_3", Dane.Vat5);
  fa.Kwota("P_13_4", Dane.Netto4);
  fa.Kwota("P_14_4", Dane.Vat4);
  double netto0 = 0;
  for (std::string_view pole : {"P_13_6_1", "P_13_6_2", "P_13_6_3"}) {
    double kwota = 0;
    if (fa.Kwota(pole, kwota)) {
      netto0 = ZaokraglijDo2(netto0 + kwota);
    }
  }
  Dane.Netto0 = netto0;
  fa.Kwota("P_13_7", Dane.NettoZW);
}

void TVLQKonwersjaKSeF::WpiszNaglowekDokumentu(const TIndeksDzieci& fa,
                                               TDateTime dataWystawienia) {
  WpiszDoPliku("WalutaKod", Dane.KodWaluty, true);
  WpiszDoPliku("WalutaKurs", fa.Wartosc("KursWalutyZ"), true);
  WpiszDoPliku("Data", TekstDatyDlaEdi(dataWystawienia), true);
  WpiszDoPliku("NrDok", Dane.NrDok, true);
  WpiszDoPliku("DoZaplaty", fa.Wartosc("P_15"), true);
  WpiszDoPliku("DotyczyDok", Dane.GetDotyczyDok(true), true);
  if (TekstyEDI != nullptr) {
    WpiszDoPliku("Stopka", TekstyEDI->Stopka, true);
  } else {
    WpiszDoPliku("Stopka", Dane.Stopka1, true);
  }
}

void TVLQKonwersjaKSeF::WpiszStawki() {
  auto wpisz = [this](std::string_view stawka, double netto,
                      std::string_view vat) {
    AnsiString wartosc = DopiszDoLinii("Vat", stawka, false);
    wartosc += DopiszDoLinii("SumaNet", TxfTools(netto).ToDBField(0, 2), false);
    wartosc += DopiszDoLinii("SumaVat", vat, false);
    WpiszDoPliku("Stawka", wartosc, true);
  };
  const auto sumaVat = [](double vat) { return TxfTools(vat).ToDBField(0, 2); };
  if (Dane.Netto23 != 0 || Dane.Vat23 != 0) {
    wpisz("23", Dane.Netto23, sumaVat(Dane.Vat23));
  }
  if (Dane.Netto8 != 0 || Dane.Vat8 != 0) {
    wpisz("8", Dane.Netto8, sumaVat(Dane.Vat8));
  }
  if (Dane.Netto5 != 0 || Dane.Vat5 != 0) {
    wpisz("5", Dane.Netto5, sumaVat(Dane.Vat5));
  }
  if (Dane.Netto4 != 0 || Dane.Vat4 != 0) {
    wpisz("4", Dane.Netto4, sumaVat(Dane.Vat4));
  }
  if (Dane.Netto0 != 0) wpisz("0", Dane.Netto0, "0.0");
  if (Dane.NettoZW != 0) wpisz("ZW", Dane.NettoZW, "0");
}

void TVLQKonwersjaKSeF::OdczytajZamowienia(const TIndeksDzieci& fa) {
  TVLQXmlNode* warunki = fa.Znajdz("WarunkiTransakcji");
  if (warunki == nullptr) return;
  AnsiString zamowienia;
  for (const auto& wezel : warunki->Nodes) {
    if (wezel->Name != "Zamowienia"sv) continue;
    const AnsiString& numer = WartoscPola(wezel.get(), "NrZamowienia");
    if (numer.empty()) continue;
    if (!zamowienia.empty()) zamowienia += ';';
    zamowienia += numer;
    if (const AnsiString& data = WartoscPola(wezel.get(), "DataZamowienia");
        !data.empty()) {
      zamowienia.append(1, ',').append(data);
    }
  }
  Dane.Zamowienia = std::move(zamowienia);
}

// ---------------------------------------------------------------------------
// TVLQKonwersjaKSeF: the lines

// The fields of one line element, each the first child of its name (letter
// case ignored, as GetNodeByName finds it), collected in one scan of the
// line's children so that reading a dozen fields costs one pass.
struct TVLQKonwersjaKSeF::TPolaWiersza {
  // Collects the fields before `ilePol` (in TPoleWiersza order).
  TPolaWiersza(const TVLQXmlNode* wiersz, const TOpisWiersza& opis,
               int ilePol = pwLiczbaPol) {
    for (const auto& dziecko : wiersz->Nodes) {
      const AnsiString& nazwa = dziecko->Name;
      if (nazwa.size() >= TOpisWiersza::kDlugosci) continue;
      TKluczNazwy klucz;
      const bool zKluczem = KluczNazwyDziecka(nazwa, klucz);
      for (const signed char pole : opis.PolaODlugosci[nazwa.size()]) {
        if (pole < 0) break;
        if (pole >= ilePol || Pola[pole] != nullptr) continue;
        if (zKluczem ? klucz == opis.Klucze[pole]
                     : AnsiSameText(nazwa, opis.Nazwy[pole])) {
          Pola[pole] = dziecko.get();
          break;
        }
      }
    }
  }

  const AnsiString& Tekst(TPoleWiersza pole) const {
    static const AnsiString kPusty;
    return Pola[pole] == nullptr ? kPusty : Pola[pole]->Value;
  }
  // The amount of a field: 0 when missing or empty; a malformed amount
  // raises EConvertError.
  double Kwota(TPoleWiersza pole) const {
    double kwota = 0;
    KwotaWezla(Pola[pole], kwota);
    return kwota;
  }

  std::array<const TVLQXmlNode*, pwLiczbaPol> Pola{};
};

void TVLQKonwersjaKSeF::OdczytajWierszeZXml(TVLQXmlNode* faktura,
                                            TMapaWierszy& po,
                                            TMapaWierszy& przed) {
  if (faktura == nullptr) return;
  TVLQXmlNode* fa = Wezel(faktura, "Fa");
  if (fa == nullptr) return;
  const AnsiString& rodzaj = WartoscPola(fa, "RodzajFaktury");
  const bool zaliczka = rodzaj == "ZAL" || rodzaj == "KOR_ZAL";
  PodzielWiesze(zaliczka ? Wezel(fa, "Zamowienie") : fa, po, przed);
}

void TVLQKonwersjaKSeF::PodzielWiesze(TVLQXmlNode* kontener, TMapaWierszy& po,
                                      TMapaWierszy& przed) {
  if (kontener == nullptr) return;
  int ostatniPo = 0;
  int ostatniPrzed = 0;
  for (const auto& wezel : kontener->Nodes) {
    const TOpisWiersza* opis = OpisWezla(*wezel);
    if (opis == nullptr) continue;
    // The marker and the number decide where the line goes.
    const TPolaWiersza wiersz(wezel.get(), *opis, pwNrWiersza + 1);
    const bool stanPrzed = wiersz.Tekst(pwStanPrzed) == "1";
    TMapaWierszy& mapa = stanPrzed ? przed : po;
    int& ostatni = stanPrzed ? ostatniPrzed : ostatniPo;
    const int nr =
        StrToIntDef(wiersz.Tekst(pwNrWiersza), PrzesunNumer(ostatni, 1));
    ostatni = nr;
    const auto [miejsce, dodany] = mapa.try_emplace(nr, wezel.get());
    if (dodany) continue;
    // A repeated number replaces the earlier line, except a line at an "np"
    // rate that repeats the earlier line's GTIN.
    const TPolaWiersza nowy(wezel.get(), *opis);
    const TPolaWiersza istniejacy(miejsce->second,
                                  *OpisWezla(*miejsce->second));
    const bool tenSamGTIN = istniejacy.Tekst(pwGTIN) == nowy.Tekst(pwGTIN);
    const bool stawkaNp =
        nowy.Tekst(pwStawkaVat).find("np") != AnsiString::npos;
    if (!(tenSamGTIN && stawkaNp)) miejsce->second = wezel.get();
  }
}

bool TVLQKonwersjaKSeF::SprawdzCzyBedzieRozbieznoscZDostawy(
    const TMapaWierszy& po, const TMapaWierszy& przed, bool zaliczka) {
  if (przed.empty()) return false;
  if (po.size() != przed.size()) return true;
  // Both maps are ordered and equally long: equal key sequences mean that
  // every number of each is in the other.
  auto wierszPrzed = przed.begin();
  for (const auto& [nr, wiersz] : po) {
    if (nr != wierszPrzed->first) return true;
    ++wierszPrzed;
  }
  wierszPrzed = przed.begin();
  for (const auto& [nr, wiersz] : po) {
    const TKwotyWiersza teraz = OdczytajKwotyWiersza(
        TPolaWiersza(wiersz, OpisWiersza(zaliczka), pwWartoscBrutto + 1),
        zaliczka);
    const TKwotyWiersza wczesniej = OdczytajKwotyWiersza(
        TPolaWiersza(wierszPrzed->second, OpisWiersza(zaliczka),
                     pwWartoscBrutto + 1),
        zaliczka);
    ++wierszPrzed;
    if (SprawdzCzyPozycjaBedziePrzezWartosc(teraz.Cena, wczesniej.Cena,
                                            teraz.Brutto, wczesniej.Brutto)) {
      return true;
    }
  }
  return false;
}

void TVLQKonwersjaKSeF::OdczytajIloscCeneIWartosc(TVLQXmlNode* wiersz,
                                                  double& ilosc, double& cena,
                                                  double& wartosc, bool& brutto,
                                                  bool zaliczka) {
  const TKwotyWiersza kwoty = OdczytajKwotyWiersza(
      TPolaWiersza(wiersz, OpisWiersza(zaliczka), pwWartoscBrutto + 1),
      zaliczka);
  ilosc = kwoty.Ilosc;
  cena = kwoty.Cena;
  wartosc = kwoty.Wartosc;
  brutto = kwoty.Brutto;
}

// Quantity, price and value of a line: gross when it has a gross price
// other than "0", net otherwise; an ordered item is always net.
TVLQKonwersjaKSeF::TKwotyWiersza TVLQKonwersjaKSeF::OdczytajKwotyWiersza(
    const TPolaWiersza& wiersz, bool zaliczka) {
  TKwotyWiersza kwoty;
  kwoty.Ilosc = wiersz.Kwota(pwIlosc);
  if (!zaliczka) {
    const AnsiString& cenaBrutto = wiersz.Tekst(pwCenaBrutto);
    kwoty.Brutto =
        !cenaBrutto.empty() && cenaBrutto != "0" && cenaBrutto != "0.0";
  }
  kwoty.Cena = wiersz.Kwota(kwoty.Brutto ? pwCenaBrutto : pwCenaNetto);
  kwoty.Wartosc = wiersz.Kwota(kwoty.Brutto ? pwWartoscBrutto : pwWartoscNetto);
  return kwoty;
}

int TVLQKonwersjaKSeF::PorownajDwieKwoty(double a, double b, int miejsca) {
  const double roznica =
      TxfTools(TxfTools(a).Round(miejsca) - TxfTools(b).Round(miejsca))
          .Round(miejsca + 1);
  if (roznica > 0) return 1;
  return roznica < 0 ? -1 : 0;
}

bool TVLQKonwersjaKSeF::SprawdzCzyPozycjaBedziePrzezWartosc(
    const double& cenaPo, const double& cenaPrzed, bool bruttoPo,
    bool bruttoPrzed) {
  return PorownajDwieKwoty(cenaPo, cenaPrzed, 4) != 0 ||
         bruttoPo != bruttoPrzed;
}

bool TVLQKonwersjaKSeF::WpiszPozycjeDoPliku(
    const TMapaWierszy& po, const TMapaWierszy& przed, bool rozbieznosc,
    bool zaliczka, const TMapaKomentarzy& komentarze1,
    const TMapaKomentarzy& komentarze2) {
  // The host's line comments, when it gave texts, take the invoice's place.
  const TMapaKomentarzy& uwagi1 =
      TekstyEDI != nullptr ? TekstyEDI->KomentarzePozycji[0] : komentarze1;
  const TMapaKomentarzy& uwagi2 =
      TekstyEDI != nullptr ? TekstyEDI->KomentarzePozycji[1] : komentarze2;
  bool innaNizNpI = false;
  for (const auto& [nr, wezel] : po) {
    const TPolaWiersza wiersz(wezel, OpisWiersza(zaliczka));
    WpiszPozycje(nr, wiersz, przed, rozbieznosc, zaliczka,
                 KomentarzLinii(uwagi1, nr), KomentarzLinii(uwagi2, nr));
    if (!AnsiSameText(wiersz.Tekst(pwStawkaVat), "np I")) {
      innaNizNpI = true;
    }
  }
  if (rozbieznosc) {
    WpiszUsunietePozycje(po, przed, zaliczka, komentarze1, komentarze2);
  }
  if (!po.empty() && !innaNizNpI && Dane.Adnotacja == 0) Dane.Adnotacja = 7;
  return true;
}

// A current line as it is, as its difference from the state before, or, when
// its price or gross/net mode changed, as the old line removed and the new
// one added.
void TVLQKonwersjaKSeF::WpiszPozycje(int nr, const TPolaWiersza& wiersz,
                                     const TMapaWierszy& przed,
                                     bool rozbieznosc, bool zaliczka,
                                     const AnsiString& komentarz1,
                                     const AnsiString& komentarz2) {
  const TKwotyWiersza teraz = OdczytajKwotyWiersza(wiersz, zaliczka);
  Dane.CenyBrutto = teraz.Brutto;
  const auto stary = przed.find(nr);
  if (stary == przed.end()) {
    DopiszPozycje(wiersz, nr, teraz, zaliczka, komentarz1, komentarz2, false,
                  0);
    return;
  }
  const TKwotyWiersza wczesniej = OdczytajKwotyWiersza(
      TPolaWiersza(stary->second, OpisWiersza(zaliczka), pwWartoscBrutto + 1),
      zaliczka);
  if (!SprawdzCzyPozycjaBedziePrzezWartosc(teraz.Cena, wczesniej.Cena,
                                           teraz.Brutto, wczesniej.Brutto)) {
    // A delivery return gives back what the correction took away.
    TKwotyWiersza roznica = teraz;
    roznica.Ilosc = rozbieznosc ? teraz.Ilosc - wczesniej.Ilosc
                                : wczesniej.Ilosc - teraz.Ilosc;
    roznica.Wartosc = rozbieznosc ? teraz.Wartosc - wczesniej.Wartosc
                                  : wczesniej.Wartosc - teraz.Wartosc;
    DopiszPozycje(wiersz, nr, roznica, zaliczka, komentarz1, komentarz2, false,
                  0);
    return;
  }
  TKwotyWiersza usuniety = wczesniej;
  usuniety.Ilosc = -wczesniej.Ilosc;
  usuniety.Wartosc = -wczesniej.Wartosc;
  DopiszPozycje(TPolaWiersza(stary->second, OpisWiersza(zaliczka)), nr,
                usuniety, zaliczka, komentarz1, komentarz2, true,
                wczesniej.Ilosc);
  DopiszPozycje(wiersz, nr, teraz, zaliczka, komentarz1, komentarz2, true, 0);
}

// The lines of the state before that the correction no longer has, each
// written as removed, with the invoice's own line comments.
void TVLQKonwersjaKSeF::WpiszUsunietePozycje(
    const TMapaWierszy& po, const TMapaWierszy& przed, bool zaliczka,
    const TMapaKomentarzy& komentarze1, const TMapaKomentarzy& komentarze2) {
  for (const auto& [nr, wezel] : przed) {
    if (po.count(nr) != 0) continue;
    const TPolaWiersza wiersz(wezel, OpisWiersza(zaliczka));
    TKwotyWiersza usuniety = OdczytajKwotyWiersza(wiersz, zaliczka);
    const double stanPoczatkowy = usuniety.Ilosc;
    usuniety.Ilosc = -usuniety.Ilosc;
    usuniety.Wartosc = -usuniety.Wartosc;
    DopiszPozycje(wiersz, nr, usuniety, zaliczka,
                  KomentarzLinii(komentarze1, nr),
                  KomentarzLinii(komentarze2, nr), true, stanPoczatkowy);
  }
}

void TVLQKonwersjaKSeF::DopiszJednaPozycjeDoPliku(
    TVLQXmlNode* wiersz, int nr, const double& ilosc, const double& cena,
    const double& wartosc, bool brutto, bool zaliczka,
    const AnsiString& komentarz1, const AnsiString& komentarz2, bool zeStanem,
    double stanPoczatkowy) {
  TKwotyWiersza kwoty;
  kwoty.Ilosc = ilosc;
  kwoty.Cena = cena;
  kwoty.Wartosc = wartosc;
  kwoty.Brutto = brutto;
  DopiszPozycje(TPolaWiersza(wiersz, OpisWiersza(zaliczka)), nr, kwoty,
                zaliczka, komentarz1, komentarz2, zeStanem, stanPoczatkowy);
}

void TVLQKonwersjaKSeF::DopiszPozycje(const TPolaWiersza& wiersz, int nr,
                                      const TKwotyWiersza& kwoty, bool zaliczka,
                                      const AnsiString& komentarz1,
                                      const AnsiString& komentarz2,
                                      bool zeStanem, double stanPoczatkowy) {
  AnsiString& p = pozycja_;
  p.clear();
  DopiszPoleJednaLinia(p, "Nazwa", wiersz.Tekst(pwNazwa));
  DopiszPole(p, "Kod", wiersz.Tekst(pwGTIN));
  DopiszPole(p, "PKWiU", wiersz.Tekst(pwPKWiU));
  DopiszPole(p, "IndeksKSeF", wiersz.Tekst(pwIndeks));
  DopiszPole(p, "KodCN", wiersz.Tekst(pwCN));
  DopiszPole(p, "Jm", wiersz.Tekst(pwJm));
  DopiszPole(p, "Ilosc", TxfTools(kwoty.Ilosc).ToDBField(0, 3));
  const char rodzajCeny = kwoty.Brutto ? 'b' : 'n';
  DopiszKwote(p, "Cena", rodzajCeny, kwoty.Cena);
  DopiszKwote(p, "Wartosc", rodzajCeny, kwoty.Wartosc);
  DopiszPole(p, "Vat", SymbolVat(wiersz.Tekst(pwStawkaVat)));
  if (wiersz.Tekst(pwMPP) == "1") DopiszPole(p, "PodlegaMPP", "1");
  DopiszPole(p, "GrupaGTU", wiersz.Tekst(pwGTU));
  if (zeStanem && !zaliczka) {
    DopiszPole(p, "StanPocz", TxfTools(stanPoczatkowy).ToDBField(0, 3));
  }
  AnsiString indeks;
  DopiszLiczbe(indeks, PrzesunNumer(nr, -1));
  DopiszPole(p, "IdxLinii", indeks);
  if (zaliczka && !wiersz.Tekst(pwAkcyza).empty() &&
      wiersz.Kwota(pwAkcyza) != 0) {
    Dane.Adnotacja = 13;
  }
  DopiszPole(p, "IleWOpak", "1");
  DopiszPole(p, "Komentarz1", komentarz1);
  DopiszPole(p, "Komentarz2", komentarz2);
  WpiszDoPliku("Linia", p, true);
}

// The EDI VAT symbol of a line's rate text; the zero rates of export and
// intra-Community supply also set the document's annotation.
std::string_view TVLQKonwersjaKSeF::SymbolVat(const AnsiString& stawka) {
  const auto jest = [&stawka](std::string_view wzor) {
    return AnsiSameText(stawka, wzor);
  };
  const std::string_view specjalny =
      SymbolVatSpecjalny.empty() ? std::string_view("0") : SymbolVatSpecjalny;
  if (jest("0 WDT")) {
    Dane.Adnotacja = 5;
    return specjalny;
  }
  if (jest("0 EX")) {
    Dane.Adnotacja = 6;
    return specjalny;
  }
  if (jest("np I")) return specjalny;
  if (stawka.empty() || jest("0 KR")) return "0";
  if (jest("np") || jest("oo") || jest("np II")) return specjalny;
  return stawka;
}

// ---------------------------------------------------------------------------
// TVLQKonwersjaKSeF: field readers

AnsiString TVLQKonwersjaKSeF::OdczytajTekstZPola(TVLQXmlNode* node,
                                                 std::string_view name,
                                                 bool jednaLinia) {
  const TVLQXmlNode* pole = Wezel(node, name);
  if (pole == nullptr) return AnsiString();
  return jednaLinia ? JednaLinia(pole->Value) : pole->Value;
}

bool TVLQKonwersjaKSeF::OdczytajKwoteZPola(TVLQXmlNode* node,
                                           std::string_view name,
                                           double& kwota) {
  return KwotaWezla(Wezel(node, name), kwota);
}

TDateTime TVLQKonwersjaKSeF::ParsujDateKSeF(std::string_view tekst) {
  if (tekst.size() < 10) return 0;
  const int rok = CzescDaty(tekst, 0, 4);
  const int miesiac = CzescDaty(tekst, 5, 2);
  const int dzien = CzescDaty(tekst, 8, 2);
  if (rok < 0 || miesiac < 0 || dzien < 0) {
    throw EConvertError("Invalid argument to date encode");
  }
  return EncodeDate(static_cast<unsigned short>(rok),
                    static_cast<unsigned short>(miesiac),
                    static_cast<unsigned short>(dzien));
}

}  // namespace druvo
