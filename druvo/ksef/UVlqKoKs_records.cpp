// KSeF invoice records: parties, payments, texts, the extracted invoice and
// its summary.
#include "druvo/ksef/UVlqKoKs.h"

#include <deque>
#include <memory>
#include <string_view>

#include "druvo/ksef/UVlqKoKs_internal.h"

namespace druvo {

using namespace koks_detail;

namespace {

// "a, b": appends `tekst` to `wynik` with `separator` before it unless
// `wynik` is empty.
void DopiszZSeparatorem(AnsiString& wynik, std::string_view separator,
                        std::string_view tekst) {
  if (!wynik.empty()) wynik.append(separator);
  wynik.append(tekst);
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

}  // namespace druvo
