// Data of the Shoper shop platform: the sub-page of its payments resource,
// its error answer, the payment methods imported from it, the access data,
// the mapping of a shop's payment methods to the system's, and the test of
// whether a payment method is paid online.
//
// TVLQShoperError is the root of the Shoper records and has a virtual
// destructor. Records reset to their defaults on construction and copy by
// value; TVLQShoperFPlatnosci::Czysc() resets the error fields too. The static
// list and map operations accept null lists, maps and items; a map holds its
// TVLQMapaFPlatnosci objects and WyczyscMape destroys them.
#pragma once

#include <map>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TList.h"

namespace druvo {

// The Shoper resources.
enum TVLQTypImportuShoper : int {
  tisFormyPlatnosci = 1,
};

// "webapi/rest/payments" for tisFormyPlatnosci, "" for any other value.
DRUVO_API AnsiString NazwaPodstronySerwisu(TVLQTypImportuShoper typ);

// Whether the name of a payment method names an online payment: it holds,
// ignoring letter case, one of the words of the online payment operators
// ("DotPay", "PayU", "Przelew", "tpay", ...). A name of blanks only is not.
DRUVO_API bool CzyFormaPlatnosciOnline(const AnsiString& nazwa);

// An error answer of the Shoper platform.
class DRUVO_API TVLQShoperError {
 public:
  TVLQShoperError();
  TVLQShoperError(const TVLQShoperError&) = default;
  TVLQShoperError& operator=(const TVLQShoperError&) = default;
  virtual ~TVLQShoperError();

  void Czysc();

  AnsiString BladTekst1;
  AnsiString BladTekst2;
  int BladLiczba = 0;
  bool BladZnacznik = false;
};

// A payment method of the Shoper platform.
class DRUVO_API TVLQShoperFPlatnosci : public TVLQShoperError {
 public:
  TVLQShoperFPlatnosci();

  // Every field, the error fields included.
  void Czysc();
  // The first non-null payment method of `lista` whose Id equals `id`.
  static TVLQShoperFPlatnosci* ZnajdzFPlatnosciWgId(TList* lista, int id);
  static void WyczyscListe(TList* lista);

  int Id = -1;
  int Liczba1 = -1;
  int Liczba2 = -1;
  int Liczba3 = 0;
  int Liczba4 = -1;
  AnsiString Tekst1;
  AnsiString Tekst2;
  bool Znacznik1 = true;
  bool Znacznik2 = false;
};

// Access data of a Shoper shop.
class DRUVO_API TVLQShoperLogin {
 public:
  TVLQShoperLogin();

  void Czysc();

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
  int Liczba = 0;
};

class TVLQMapaFPlatnosci;

// The mappings of a shop's payment methods, by the shop's key; the map owns
// the mapped objects.
using TVLQMapaFormPlatnosci = std::map<int, TVLQMapaFPlatnosci*>;

// The system's payment method for one payment method of a shop.
class DRUVO_API TVLQMapaFPlatnosci {
 public:
  TVLQMapaFPlatnosci();

  void Czysc();

  // Liczba1 of the mapping of `klucz`, with `flaga` set to its Znacznik and
  // `drugi` to its Liczba2; without a (non-null) mapping -1, false and -1.
  static int ZnajdzMapowanieFormyPlatnosci(const TVLQMapaFormPlatnosci* mapa,
                                           int klucz, bool& flaga, int& drugi);
  // Destroys every mapped object and empties the map.
  static void WyczyscMape(TVLQMapaFormPlatnosci* mapa);

  int Liczba1 = -1;
  int Liczba2 = -1;
  AnsiString Tekst;
  bool Znacznik = false;
};

}  // namespace druvo
