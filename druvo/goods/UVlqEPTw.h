// Goods data taken over from the EuroPlatform product base.
//
// TVLQEuroPlatformDaneTowaru is a goods record (import switches from
// TVLQDaneImpTowaruBase) grouped into small component records. The library
// only holds the values; their meaning belongs to the callers. Its Czysc()
// resets the own fields and components and destroys the additional codes,
// but leaves Tekst7 and the base's fields as they are. The record owns its
// additional codes (KodyDodatkowe) and copies them deeply.
#pragma once

#include "druvo/goods/UVlqIDT.h"
#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Export.h"

namespace druvo {

class DRUVO_API TVLQGramatura {
 public:
  void Czysc();

  double Wartosc = 0.0;
  AnsiString Tekst;
};

class DRUVO_API TVLQCena {
 public:
  void Czysc();

  double Wartosc1 = 0.0;
  double Wartosc2 = 0.0;
  double Wartosc3 = 0.0;
};

class DRUVO_API TVLQAsortyment {
 public:
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
};

class DRUVO_API TVLQKategoryzacja {
 public:
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
};

class DRUVO_API TVLQKodDodatkowy {
 public:
  void Czysc();

  int Liczba1 = -1;
  int Liczba2 = 1;
  AnsiString Tekst;
  double Wartosc1 = 0.0;
  double Wartosc2 = 0.0;
};

class DRUVO_API TVLQKryteriaTowaru {
 public:
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
};

class DRUVO_API TVLQPolaTekstowe {
 public:
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
  AnsiString Tekst5;
};

class DRUVO_API TVLQMagazyn {
 public:
  void Czysc();

  double Wartosc1 = 0.0;
  bool Znacznik = true;
  double Wartosc2 = 0.0;
  double Wartosc3 = 0.0;
  double Wartosc4 = 0.0;
};

class DRUVO_API TVLQEuroPlatformDaneTowaru : public TVLQDaneImpTowaruBase {
 public:
  TVLQEuroPlatformDaneTowaru();
  TVLQEuroPlatformDaneTowaru(const TVLQEuroPlatformDaneTowaru&) = default;
  TVLQEuroPlatformDaneTowaru& operator=(const TVLQEuroPlatformDaneTowaru&) =
      default;
  ~TVLQEuroPlatformDaneTowaru() override;

  // Own fields and components to their defaults (Tekst7 kept), additional
  // codes destroyed; the base's fields are not touched.
  void Czysc();
  void CzyscKodyDodatkowe();
  // Appends a new code with the five values in order.
  void DodajKodDodatkowy(int liczba1, int liczba2, AnsiString tekst,
                         long double wartosc1, long double wartosc2);
  int GetIleKodowDod() const;
  // The code at `i`, still owned by the record; null outside the list.
  TVLQKodDodatkowy* PobierzKodDodatkowyByIdx(int i) const;

  TVLQGramatura Gramatura;
  TVLQCena Cena;
  TVLQAsortyment Asortyment;
  TVLQKategoryzacja Kategoryzacja;
  TOwnedList<TVLQKodDodatkowy> KodyDodatkowe;
  TVLQKryteriaTowaru KryteriaTowaru;
  TVLQPolaTekstowe PolaTekstowe;
  TVLQMagazyn Magazyn;
  int Liczba1 = -1;
  int Liczba2 = -1;
  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
  AnsiString Tekst5;
  int Liczba3 = 0;
  int Liczba4 = 0;
  AnsiString Tekst6;
  int Liczba5 = 1;
  AnsiString Tekst7;
  int Liczba6 = 1;
  double Wartosc1 = 1.0;
  AnsiString Tekst8;
  int Liczba7 = 30;
  int Liczba8 = 0;
  TDateTime Data1 = 0;
};

}  // namespace druvo
