#include "druvo/containers/KSKLADN.h"

#include <string>
#include <unordered_map>

#include "druvo/util/KorbLib.h"

namespace druvo {

namespace {

const char* const kSection = "Druvo_KSKLADN";

const TLkSkladnikRec& AsRec(const DataRecBase* record) {
  return *static_cast<const TLkSkladnikRec*>(record);
}

AnsiString Translated(const char* key, const char16_t* fallback) {
  return WideToAnsi(TMLgTools::GetString(kSection, key, 0, fallback));
}

}  // namespace

// ---- TLkSkladnikRec ----

TLkSkladnikRec::~TLkSkladnikRec() = default;

void TLkSkladnikRec::Czysc() { *this = TLkSkladnikRec(); }

// ---- TLkSkladnikBuf ----

TLkSkladnikBuf::TLkSkladnikBuf() { Pojemnosc = 16; }

TLkSkladnikBuf::TLkSkladnikBuf(const TLkSkladnikBuf& zrodlo)
    : TLkSkladnikBuf() {
  PodstawBuf(&zrodlo);
}

TLkSkladnikBuf& TLkSkladnikBuf::operator=(const TLkSkladnikBuf& zrodlo) {
  PodstawBuf(&zrodlo);
  return *this;
}

TLkSkladnikBuf::~TLkSkladnikBuf() = default;

int TLkSkladnikBuf::Porownaj(int klucz, const DataRecBase* a,
                             const DataRecBase* b) {
  if (klucz != 1 && klucz != -1) return 0;
  const int x = AsRec(a).Kolejnosc;
  const int y = AsRec(b).Kolejnosc;
  const int c = (x < y) ? -1 : (x > y ? 1 : 0);
  return klucz == 1 ? c : -c;
}

void TLkSkladnikBuf::Podstaw(DataRecBase* cel, const DataRecBase* zrodlo) {
  auto* target = dynamic_cast<TLkSkladnikRec*>(cel);
  const auto* source = dynamic_cast<const TLkSkladnikRec*>(zrodlo);
  if (target != nullptr && source != nullptr) *target = *source;
}

DataRecBase* TLkSkladnikBuf::UtworzNowyRekord() { return new TLkSkladnikRec(); }

TLkSkladnikRec* TLkSkladnikBuf::Rekord(int i) {
  DataRecBase* record = nullptr;
  if (!CzytajRecPtr(i, &record)) return nullptr;
  return static_cast<TLkSkladnikRec*>(record);
}

// ---- TLkSkladniki ----

TLkSkladniki::TLkSkladniki() = default;

TLkSkladniki::TLkSkladniki(const TLkSkladniki& zrodlo) { *this = zrodlo; }

TLkSkladniki& TLkSkladniki::operator=(const TLkSkladniki& zrodlo) {
  if (&zrodlo == this) return *this;
  PrefixNazwy = zrodlo.PrefixNazwy;
  Caption = zrodlo.Caption;
  NullWart = zrodlo.NullWart;
  Pozycje = zrodlo.Pozycje;
  Skladniki = zrodlo.Skladniki;
  Liczba1 = zrodlo.Liczba1;
  Znacznik1 = zrodlo.Znacznik1;
  Znacznik2 = zrodlo.Znacznik2;
  Znacznik3 = zrodlo.Znacznik3;
  Liczba2 = zrodlo.Liczba2;
  return *this;
}

TLkSkladniki::~TLkSkladniki() = default;

void TLkSkladniki::Czysc() {
  Pozycje.Czysc();
  Skladniki.Czysc();
  NullWart = 0;
  PrefixNazwy.clear();
  Caption.clear();
  Liczba1 = 0;
  Znacznik1 = Znacznik2 = Znacznik3 = false;
  Liczba2 = -1;
}

TLkSkladnikRec* TLkSkladniki::SkladnikNr(int numer) {
  for (int i = 0; i < Skladniki.PodajIlosc(); ++i) {
    TLkSkladnikRec* rec = Skladniki.Rekord(i);
    if (rec->Numer == numer) return rec;
  }
  return nullptr;
}

TLkSkladnikRec* TLkSkladniki::SkladnikNazwa(const AnsiString& nazwa) {
  for (int i = 0; i < Skladniki.PodajIlosc(); ++i) {
    TLkSkladnikRec* rec = Skladniki.Rekord(i);
    if (rec->Nazwa == nazwa) return rec;
  }
  return nullptr;
}

// ---- Values ----

void TLkSkladniki::DodajPozycje(int rola, const AnsiString& tytul,
                                const AnsiString& nazwa) {
  TLkSkladnikRec rec;
  rec.Rola = rola;
  rec.Tytul = tytul;
  rec.Nazwa = nazwa.empty() ? tytul : nazwa;
  Pozycje.DodajRec(&rec);
}

int TLkSkladniki::getIloscPozycji() const { return Pozycje.PodajIlosc(); }

AnsiString TLkSkladniki::getTytulPozycji(int i) {
  const TLkSkladnikRec* rec = Pozycje.Rekord(i);
  return rec != nullptr ? rec->Tytul : AnsiString();
}

AnsiString TLkSkladniki::getNazwaPozycji(int i) {
  const TLkSkladnikRec* rec = Pozycje.Rekord(i);
  return rec != nullptr ? rec->Nazwa : AnsiString();
}

int TLkSkladniki::getRolaPozycji(int i) {
  const TLkSkladnikRec* rec = Pozycje.Rekord(i);
  return rec != nullptr ? rec->Rola : 0;
}

int TLkSkladniki::getRolaPozycji(const AnsiString& nazwa) {
  for (int i = 0; i < Pozycje.PodajIlosc(); ++i) {
    const TLkSkladnikRec* rec = Pozycje.Rekord(i);
    if (rec->Nazwa == nazwa) return rec->Rola;
  }
  return -1;
}

void TLkSkladniki::clearListaWartosci() { Pozycje.Czysc(); }

// ---- Components ----

void TLkSkladniki::DodajSkladnik(int numer, int rola, int domyslnaRola,
                                 const AnsiString& nazwa,
                                 const AnsiString& tytul) {
  TLkSkladnikRec rec;
  rec.Numer = numer;
  rec.Rola = rola;
  rec.RolaDomyslna = domyslnaRola;
  rec.Nazwa = nazwa;
  rec.Tytul = tytul;
  Skladniki.DodajRec(&rec);
}

int TLkSkladniki::getIloscSkladnikow() const { return Skladniki.PodajIlosc(); }

int TLkSkladniki::getIloscSkladnikowZRola(int rola) {
  int count = 0;
  for (int i = 0; i < Skladniki.PodajIlosc(); ++i) {
    if (Skladniki.Rekord(i)->Rola == rola) ++count;
  }
  return count;
}

int TLkSkladniki::getSkladnikByIndeks(int i) {
  const TLkSkladnikRec* rec = Skladniki.Rekord(i);
  return rec != nullptr ? rec->Numer : -1;
}

int TLkSkladniki::getRolaSkladnika(int numer) {
  const TLkSkladnikRec* rec = SkladnikNr(numer);
  return rec != nullptr ? rec->Rola : NullWart;
}

int TLkSkladniki::getRolaSkladnika(const AnsiString& nazwa) {
  const TLkSkladnikRec* rec = SkladnikNazwa(nazwa);
  return rec != nullptr ? rec->Rola : NullWart;
}

void TLkSkladniki::setRolaSkladnika(int numer, int rola) {
  if (TLkSkladnikRec* rec = SkladnikNr(numer)) rec->Rola = rola;
}

void TLkSkladniki::setRolaSkladnika(const AnsiString& nazwa, int rola) {
  if (TLkSkladnikRec* rec = SkladnikNazwa(nazwa)) rec->Rola = rola;
}

int TLkSkladniki::getDomyslnaRolaSkladnika(int numer) {
  const TLkSkladnikRec* rec = SkladnikNr(numer);
  return rec != nullptr ? rec->RolaDomyslna : 0;
}

int TLkSkladniki::getDomyslnaRolaSkladnika(const AnsiString& nazwa) {
  const TLkSkladnikRec* rec = SkladnikNazwa(nazwa);
  return rec != nullptr ? rec->RolaDomyslna : 0;
}

void TLkSkladniki::PrzywrocDomyslneRole() {
  for (int i = 0; i < Skladniki.PodajIlosc(); ++i) {
    TLkSkladnikRec* rec = Skladniki.Rekord(i);
    rec->Rola = rec->RolaDomyslna;
  }
}

AnsiString TLkSkladniki::getNazwaSkladnika(int numer) {
  const TLkSkladnikRec* rec = SkladnikNr(numer);
  return rec != nullptr ? rec->Nazwa : AnsiString();
}

AnsiString TLkSkladniki::getTytulSkladnika(int numer) {
  const TLkSkladnikRec* rec = SkladnikNr(numer);
  return rec != nullptr ? rec->Tytul : AnsiString();
}

void TLkSkladniki::setKolejnoscSkladnika(int numer, int kolejnosc) {
  if (TLkSkladnikRec* rec = SkladnikNr(numer)) rec->Kolejnosc = kolejnosc;
}

void TLkSkladniki::setKolejnoscSkladnika(const AnsiString& nazwa,
                                         int kolejnosc) {
  if (TLkSkladnikRec* rec = SkladnikNazwa(nazwa)) rec->Kolejnosc = kolejnosc;
}

int TLkSkladniki::getKolejnoscSkladnika(int numer) {
  const TLkSkladnikRec* rec = SkladnikNr(numer);
  return rec != nullptr ? rec->Kolejnosc : 0;
}

void TLkSkladniki::SortujSkladnikiWgKolejnosci() { Skladniki.Sortuj(1, -1); }

void TLkSkladniki::getSkladn(bool& jest, bool& zaznaczony, AnsiString& tytul,
                             int i) {
  jest = false;
  zaznaczony = false;
  tytul.clear();
  if (i < 0 || i >= getIloscSkladnikow()) return;
  jest = true;
  // By number, as the callers' lists do: the first component of that number.
  const int numer = getSkladnikByIndeks(i);
  zaznaczony = getRolaSkladnika(numer) != 0;
  tytul = getTytulSkladnika(numer);
}

void TLkSkladniki::markSkladn(bool zaznacz, int i) {
  if (TLkSkladnikRec* rec = Skladniki.Rekord(i)) rec->Rola = zaznacz ? 1 : 0;
}

AnsiString TLkSkladniki::getTitlesAsText() {
  // The first title of each number, found once instead of once per line.
  std::unordered_map<int, const AnsiString*> titles;
  const int count = getIloscSkladnikow();
  for (int i = 0; i < count; ++i) {
    const TLkSkladnikRec* rec = Skladniki.Rekord(i);
    titles.emplace(rec->Numer, &rec->Tytul);
  }
  AnsiString text;
  for (int n = 0; n < count; ++n) {
    const auto found = titles.find(n);
    if (found != titles.end()) text += *found->second;
    text += "\r\n";
  }
  return text;
}

AnsiString TLkSkladniki::getOpis() {
  const int count = getIloscSkladnikow();
  const int selected = count - getIloscSkladnikowZRola(NullWart);
  return Translated("str", u"wybranych: ") + std::to_string(selected) +
         Translated("str_00001", u" z ") + std::to_string(count);
}

}  // namespace druvo
