// Margin calculation and an owning string list.
//
// TLkMarzaProc::WyliczMarze computes the margin in percent of a price
// difference (selling minus purchase) over the purchase price (mpOdZakupu) or
// over the selling price (mpOdSprzedazy), always with the sign of the price
// difference. A zero divisor sets Blad and leaves Wynik as it was; a
// convention outside the two clears Blad and changes nothing else.
//
// TLkStringList owns the string list Lista for its whole life. Assignment
// copies the line texts (not the objects attached to lines); += appends them.
// NamesAsText lists each line's name (the whole line when the name is blank),
// each followed by CR LF.
#pragma once

#include <memory>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TStringList.h"

namespace druvo {

enum TLkTypMarzyProc : int {
  mpOdZakupu = 0,     // mark-up: the divisor is the purchase price
  mpOdSprzedazy = 1,  // margin: the divisor is the selling price
};

class DRUVO_API TLkMarzaProc {
 public:
  void WyliczMarze(double cenaSprzedazy, double cenaZakupu,
                   TLkTypMarzyProc typ);

  bool Blad = false;  // the last calculation met a zero divisor
  double Wynik = 0;   // the margin in percent of the last good calculation
};

class DRUVO_API TLkStringList {
 public:
  TLkStringList();
  TLkStringList(const TLkStringList& zrodlo);
  ~TLkStringList();

  // Clears this list and adds every line of zrodlo; assigning a list to
  // itself keeps it as it is.
  TLkStringList& operator=(const TLkStringList& zrodlo);
  // Appends every line of zrodlo (a list appended to itself doubles).
  TLkStringList& operator+=(const TLkStringList& zrodlo);
  AnsiString NamesAsText() const;

 private:
  std::unique_ptr<TStringList> owned_;

 public:
  TStringList* const Lista;  // owned: lives as long as this object
};

}  // namespace druvo
