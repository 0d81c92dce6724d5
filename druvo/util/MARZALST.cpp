#include "druvo/util/MARZALST.h"

namespace druvo {

void TLkMarzaProc::WyliczMarze(double cenaSprzedazy, double cenaZakupu,
                               TLkTypMarzyProc typ) {
  Blad = false;
  const double roznica = cenaSprzedazy - cenaZakupu;
  double dzielnik = 0;
  if (typ == mpOdZakupu) {
    dzielnik = cenaZakupu;
  } else if (typ == mpOdSprzedazy) {
    dzielnik = cenaSprzedazy;
  } else {
    return;
  }
  if (dzielnik == 0) {
    Blad = true;
    return;
  }
  Wynik = 100 * roznica / dzielnik;
  // A negative divisor would turn the sign; the margin follows the difference.
  if (Wynik * roznica < 0) Wynik = -Wynik;
}

TLkStringList::TLkStringList()
    : owned_(std::make_unique<TStringList>()), Lista(owned_.get()) {}

TLkStringList::TLkStringList(const TLkStringList& zrodlo) : TLkStringList() {
  *this += zrodlo;
}

TLkStringList::~TLkStringList() = default;

TLkStringList& TLkStringList::operator=(const TLkStringList& zrodlo) {
  if (&zrodlo == this) return *this;
  Lista->Clear();
  return *this += zrodlo;
}

TLkStringList& TLkStringList::operator+=(const TLkStringList& zrodlo) {
  const int count = zrodlo.Lista->Count();
  for (int i = 0; i < count; ++i) {
    const WideString line = zrodlo.Lista->Strings(i);  // zrodlo may be *this
    Lista->Add(line);
  }
  return *this;
}

AnsiString TLkStringList::NamesAsText() const {
  AnsiString text;
  for (int i = 0; i < Lista->Count(); ++i) {
    AnsiString taken = WideToAnsi(Lista->Names(i));
    if (Trim(taken).empty()) taken = WideToAnsi(Lista->Strings(i));
    text += taken;
    text += "\r\n";
  }
  return text;
}

}  // namespace druvo
