// Goods data taken over from the Makro product base.
//
// TVLQMakroDaneTowaru is a goods record (import switches from
// TVLQDaneImpTowaruBase) with a list of EAN codes and an owned list of
// additional codes. The library only holds the values; their meaning belongs
// to the callers. Czysc() resets the own fields, empties both lists and
// destroys the codes, leaving the base's fields as they are. Copies are deep.
#pragma once

#include <cstdint>

#include "druvo/goods/UVlqIDT.h"
#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TStringList.h"

namespace druvo {

// One additional code of a Makro product (no Czysc()).
class DRUVO_API TVLQMakroKodDod {
 public:
  double Wartosc = 1.0;
  AnsiString Tekst1;
  AnsiString Tekst2;
};

class DRUVO_API TVLQMakroDaneTowaru : public TVLQDaneImpTowaruBase {
 public:
  TVLQMakroDaneTowaru();
  TVLQMakroDaneTowaru(const TVLQMakroDaneTowaru&) = default;
  TVLQMakroDaneTowaru& operator=(const TVLQMakroDaneTowaru&) = default;
  ~TVLQMakroDaneTowaru() override;

  void Czysc();
  // Appends `kod` and takes it over; a null code is not added.
  void DodajKodDod(TVLQMakroKodDod* kod);
  int GetIleKodowDod() const;
  // The code at `i`, still owned by the record; null outside the list.
  TVLQMakroKodDod* GetKodDod(int i) const;
  void DodajEan(AnsiString ean);
  int GetIleEanow() const;
  // The EAN at `i`; the text "0" outside the list.
  AnsiString GetEan(int i) const;

  TStringList Eany;
  TOwnedList<TVLQMakroKodDod> KodyDodatkowe;
  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
  AnsiString Tekst5;
  double Wartosc1 = 0.0;
  double Wartosc2 = 1.0;
  AnsiString Tekst6;
  std::int16_t Liczba1 = 0;
  AnsiString Tekst7;
};

}  // namespace druvo
