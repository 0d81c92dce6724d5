// Goods data taken over from the WiseBase product base, and a hex text tool.
//
// TVLQWiseBaseDaneTowaru is a goods record (import switches from
// TVLQDaneImpTowaruBase) with a category, a producer and owned lists of
// packages, photos and parameters; a package owns its parameters. The
// library only holds the values; their meaning belongs to the callers.
// Objects handed to an adder belong to the record (or package) from then on;
// copies are deep.
//
// A category splits its path (Sciezka) at the first character of Separator
// by the runtime's delimited-text rules: blanks (codes 1 to 32) also end an
// item and are skipped around delimiters, a double-quoted item may hold the
// delimiter and doubled quotes, a delimiter at the very end adds an empty
// item. With an empty Separator the whole path is one item. A photo reads its
// file name and type by splitting its path and type at "/" the same way.
//
// TVLQWiseBaseTools converts texts to upper-case hex and back; HexToString
// raises Exception for an odd number of characters.
#pragma once

#include "druvo/goods/UVlqIDT.h"
#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TList.h"
#include "druvo/platform/TStringList.h"

namespace druvo {

class DRUVO_API TVLQWiseBaseAdress {
 public:
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
  AnsiString Tekst5;
  AnsiString Tekst6;
  AnsiString Tekst7;
  AnsiString Tekst8;
  AnsiString Tekst9;
  AnsiString Tekst10;
  bool Znacznik = false;
};

class DRUVO_API TVLQWiseBaseBrand {
 public:
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
};

class DRUVO_API TVLQWiseBaseProducent {
 public:
  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  TVLQWiseBaseBrand Marka;
  TVLQWiseBaseAdress Adres1;
  TVLQWiseBaseAdress Adres2;
};

// A category with a path split on demand into ElementySciezki. Once split
// (Podzielona), the items stay until Czysc(), even if Sciezka changes.
class DRUVO_API TVLQWiseBaseCategory {
 public:
  // Empties the items and the texts; the next lookup splits again.
  void Czysc();
  // Appends the items of Sciezka to ElementySciezki (without emptying it)
  // and sets Podzielona.
  void ParsePath();
  // Split first while Podzielona is false.
  int GetPathCount();
  // Item `i`, or "" outside the items.
  AnsiString GetPathItem(int i);

  bool Podzielona = false;
  TStringList ElementySciezki;
  AnsiString Tekst1;
  AnsiString Sciezka;
  AnsiString Separator;
  AnsiString Tekst2;
  AnsiString Tekst3;
};

// A parameter of a package with its numeric values as texts.
class DRUVO_API TVLQWiseBasePackageParam {
 public:
  TVLQWiseBasePackageParam() = default;
  TVLQWiseBasePackageParam(AnsiString a, AnsiString b, AnsiString c, int d);
  void Czysc();
  // Appends `v` widened to double in the runtime's FloatToStr form (0.5 gives
  // "0.5", the float nearest 0.1 gives "0.100000001490116").
  void AddMultipleValue(float v);
  // Destroys every TVLQWiseBasePackageParam in `lista` and empties it.
  static void CzyscVectorParams(TList* lista);

  AnsiString Tekst1;
  AnsiString Tekst2;
  TStringList Wartosci;
  AnsiString Tekst3;
  int Liczba1 = -1;
};

// A package with its EANs; it owns its parameters.
class DRUVO_API TVLQWiseBasePackage {
 public:
  // Defaults restored and the parameters destroyed.
  void Czysc();
  void AddPackageEAN(AnsiString ean);
  // Appends `param` and takes it over; returns its index, -1 for null.
  int AddPackageParam(TVLQWiseBasePackageParam* param);
  // AddMultipleValue(v) on parameter `i`; nothing for an invalid index.
  void AddPackageParamMultipleValue(int i, float v);
  // Destroys every TVLQWiseBasePackage in `lista` and empties it.
  static void CzyscVectorPackages(TList* lista);

  int Liczba1 = 0;
  TStringList Eany;
  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  float Wartosc1 = 0;
  AnsiString Tekst4;
  float Wartosc2 = 0;
  float Wartosc3 = 0;
  float Wartosc4 = 0;
  AnsiString Tekst5;
  TOwnedList<TVLQWiseBasePackageParam> Parametry;
};

class DRUVO_API TVLQWiseBasePhoto {
 public:
  TVLQWiseBasePhoto() = default;
  TVLQWiseBasePhoto(int n, AnsiString typ, AnsiString sciezka);
  // Typ and Sciezka emptied; Liczba1 kept.
  void Czysc();
  // The file name of the last "/" item of Sciezka (the text after its last
  // backslash or colon); Sciezka unchanged when it has fewer than two items.
  AnsiString OdczytajNazwe() const;
  // The last "/" item of Typ ("image/jpeg" gives "jpeg"); with fewer than
  // two items the translated default, "png" unless translated.
  AnsiString OdczytajTyp() const;
  // Destroys every TVLQWiseBasePhoto in `lista` and empties it.
  static void CzyscVectorPhotos(TList* lista);

  int Liczba1 = 0;
  AnsiString Typ;
  AnsiString Sciezka;
};

class DRUVO_API TVLQWiseBaseParam {
 public:
  TVLQWiseBaseParam() = default;
  TVLQWiseBaseParam(AnsiString t1, AnsiString t2, AnsiString t3, AnsiString t4,
                    AnsiString t5, int liczba1);
  void Czysc();
  void AddMultipleValue(AnsiString wartosc);
  // Destroys every TVLQWiseBaseParam in `lista` and empties it.
  static void CzyscVectorParam(TList* lista);

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
  AnsiString Tekst5;
  int Liczba1 = -1;
  TStringList Wartosci;
};

class DRUVO_API TVLQWiseBaseDaneTowaru : public TVLQDaneImpTowaruBase {
 public:
  TVLQWiseBaseDaneTowaru();
  TVLQWiseBaseDaneTowaru(const TVLQWiseBaseDaneTowaru&) = default;
  TVLQWiseBaseDaneTowaru& operator=(const TVLQWiseBaseDaneTowaru&) = default;
  ~TVLQWiseBaseDaneTowaru() override;

  // The base's Czysc() and ImpTekst2 emptied, the own texts, category and
  // producer cleared, packages, photos and parameters destroyed.
  void Czysc();
  // The adders take the object over; a null one is not added (-1).
  void DodajZdjecie(TVLQWiseBasePhoto* zdjecie);
  int DodajParametr(TVLQWiseBaseParam* parametr);
  int DodajPackage(TVLQWiseBasePackage* opakowanie);
  // Lent items; null when `i` is outside the list.
  TVLQWiseBaseParam* PobierzParametrByIdx(int i) const;
  TVLQWiseBasePackage* PobierzPackageByIdx(int i) const;

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  TVLQWiseBaseCategory Kategoria;
  TVLQWiseBaseProducent Producent;
  TOwnedList<TVLQWiseBasePackage> Opakowania;
  TOwnedList<TVLQWiseBasePhoto> Zdjecia;
  TOwnedList<TVLQWiseBaseParam> Parametry;
};

class DRUVO_API TVLQWiseBaseTools {
 public:
  // Two upper-case hex digits per byte ("Ab" gives "4162").
  static AnsiString StringToHex(const AnsiString& s);
  // One byte per pair of characters; a pair not starting with a hex digit
  // gives 0, one whose second character is not a hex digit the value of the
  // first. Raises Exception for an odd number of characters.
  static AnsiString HexToString(const AnsiString& s);
};

}  // namespace druvo
