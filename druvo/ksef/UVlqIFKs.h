// Invoice kinds of the KSeF FA structure, their texts, and the records the
// host uses when it searches the KSeF service and lists what it found.
//
// TVLQKsefRodzajFaktury numbers the kinds 0 to 6 in the order of the FA
// schema's RodzajFaktury values; KsefTekstRodzajuFaktury gives the text the
// invoice carries for a kind ("VAT" for any value outside 0 to 6).
//
// TVLQDaneSzukanaFakturyWKSeF and TVLQFakturaZKSeF are plain holders whose
// fields belong to the host: the library fixes only their types, order and
// initial values. They copy by value. TVLQListaFakturZKSeF owns the invoices
// added to it and destroys them in Czysc() and its destructor; it cannot be
// copied.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Export.h"
#include "druvo/util/KorbLib.h"

namespace druvo {

enum TVLQKsefRodzajFaktury : int {
  rfVAT = 0,
  rfKOR = 1,
  rfZAL = 2,
  rfROZ = 3,
  rfUPR = 4,
  rfKOR_ZAL = 5,
  rfKOR_ROZ = 6,
};

// The RodzajFaktury text of `rodzaj`; "VAT" for a value outside the kinds.
DRUVO_API AnsiString KsefTekstRodzajuFaktury(TVLQKsefRodzajFaktury rodzaj);

// Criteria of an invoice search in the KSeF service (the host's meaning).
class DRUVO_API TVLQDaneSzukanaFakturyWKSeF {
 public:
  bool Opcja1 = true;
  bool Opcja2 = true;
  TDateTime DataOd = 0;
  TDateTime DataDo = 0;
  int Liczba1 = 0;
  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
  AnsiString Tekst5;
  AnsiString Tekst6;
  AnsiString Tekst7;
  AnsiString Tekst8;
  TMacSetOfIntegers Zbior{100};
  AnsiString Tekst9;
  double KwotaOd = 0;
  double KwotaDo = 0;
  bool Opcja3 = false;
  bool Opcja4 = false;
  int Liczba2 = 0;
};

// One invoice header found in the KSeF service (the host's meaning).
class DRUVO_API TVLQFakturaZKSeF {
 public:
  AnsiString Tekst1;
  AnsiString Tekst2;
  TDateTime Data1 = 0;
  TDateTime Data2 = 0;
  AnsiString Tekst3;
  AnsiString Tekst4;
  AnsiString Tekst5;
  AnsiString Tekst6;
  AnsiString Tekst7;
  AnsiString Tekst8;
  double Kwota1 = 0;
  double Kwota2 = 0;
  double Kwota3 = 0;
  AnsiString Tekst9;
  std::int64_t Liczba = 0;
  AnsiString Tekst10;
};

// An owning list of invoice headers. Entries added with DodajFakture belong
// to the list; GetFaktura lends them.
class DRUVO_API TVLQListaFakturZKSeF {
 public:
  TVLQListaFakturZKSeF();
  ~TVLQListaFakturZKSeF();
  TVLQListaFakturZKSeF(const TVLQListaFakturZKSeF&) = delete;
  TVLQListaFakturZKSeF& operator=(const TVLQListaFakturZKSeF&) = delete;

  // Destroys every invoice (null entries skipped) and empties the list.
  void Czysc();
  int GetIleFaktur() const;
  // Entry `i` (0-based); null when `i` is outside the list.
  TVLQFakturaZKSeF* GetFaktura(int i) const;
  // Appends `faktura`, taking ownership, and returns its index.
  // Should the list fail to grow, `faktura` is destroyed before the error
  // propagates, so it never leaks.
  int DodajFakture(TVLQFakturaZKSeF* faktura);

 private:
  std::vector<std::unique_ptr<TVLQFakturaZKSeF>> faktury_;
};

}  // namespace druvo
