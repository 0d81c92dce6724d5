#include "druvo/goods/UVlqMaTw.h"

namespace druvo {

TVLQMakroDaneTowaru::TVLQMakroDaneTowaru() { Czysc(); }

TVLQMakroDaneTowaru::~TVLQMakroDaneTowaru() = default;

void TVLQMakroDaneTowaru::Czysc() {
  Eany.Clear();
  KodyDodatkowe.DeleteAll();
  Tekst1 = Tekst2 = Tekst3 = Tekst4 = Tekst5 = "";
  Wartosc1 = 0.0;
  Wartosc2 = 1.0;
  Tekst6 = "";
  Liczba1 = 0;
  Tekst7 = "";
}

void TVLQMakroDaneTowaru::DodajKodDod(TVLQMakroKodDod* kod) {
  if (kod != nullptr) KodyDodatkowe.Adopt(kod);
}

int TVLQMakroDaneTowaru::GetIleKodowDod() const {
  return KodyDodatkowe.Count();
}

TVLQMakroKodDod* TVLQMakroDaneTowaru::GetKodDod(int i) const {
  return KodyDodatkowe.Item(i);
}

void TVLQMakroDaneTowaru::DodajEan(AnsiString ean) {
  Eany.Add(AnsiToWide(ean));
}

int TVLQMakroDaneTowaru::GetIleEanow() const { return Eany.Count(); }

AnsiString TVLQMakroDaneTowaru::GetEan(int i) const {
  if (i < 0 || i >= Eany.Count()) return "0";
  return WideToAnsi(Eany.Strings(i));
}

}  // namespace druvo
