// Data of the SM sales service: the paths of its resources, the names of its
// price types, its error answer, the records imported from it and the rule
// that tells when an opened session has expired.
//
// TVLQSMError is the root of the SM records and has a virtual destructor:
// TVLQSMError::WyczyscListe destroys a list of any SM records through it.
// Records reset to their defaults on construction and copy by value; the
// Czysc() of an import record resets only its own fields. The static list
// operations accept null lists and null items.
#pragma once

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TList.h"

namespace druvo {

// The SM resources.
enum TVLQTypDanychSM : int {
  tdsmOtworzSesje = 1,
  tdsmZamknijSesje = 2,
  tdsmInformacjaOSesji = 3,
  tdsmMagazyny = 4,
  tdsmFormyPlatnosci = 5,
  tdsmKatalogiProduktow = 6,
  tdsmProdukty = 7,
  tdsmStanyMagazynowe = 8,
  tdsmFiltrDokumentowMagazynowych = 9,
  tdsmDokumentyMagazynowe = 10,
  tdsmKontrahenci = 11,
  tdsmDzialy = 12,
  tdsmRejestryPlatnosci = 13,
  tdsmNowyRozchod = 14,
  tdsmRozchodWBuforze = 15,
  tdsmRozchodMMPlus = 16,
  tdsmNowaSprzedaz = 17,
  tdsmSprzedazWBuforze = 18,
  tdsmSprzedazWZ = 19,
  tdsmNowaKorekta = 20,
  tdsmSprzedaz = 21,
  tdsmNowyKontrahent = 22,
  tdsmZmianyStanow = 23,
  tdsmWystawKP = 24,
  tdsmPlatnosc = 25,
};

// The SM price types: 0, A to D (1..4) and E to T (16..31).
enum TVLQTypCenySpSM : int {
  tcsmNiezdefiniowany = 0,
  tcsmCenaA = 1,
  tcsmCenaB,
  tcsmCenaC,
  tcsmCenaD,
  tcsmCenaE = 16,
  tcsmCenaF,
  tcsmCenaG,
  tcsmCenaH,
  tcsmCenaI,
  tcsmCenaJ,
  tcsmCenaK,
  tcsmCenaL,
  tcsmCenaM,
  tcsmCenaN,
  tcsmCenaO,
  tcsmCenaP,
  tcsmCenaQ,
  tcsmCenaR,
  tcsmCenaS,
  tcsmCenaT,
};

// The path of `typ` relative to the service's address; "" for a value outside
// the resources. Only tdsmPlatnosc begins with a slash.
DRUVO_API AnsiString GetNazwePodstrony(TVLQTypDanychSM typ);
// The translated name of a price type (section "Druvo_UVlqISm"); "" for a
// value outside the types.
DRUVO_API AnsiString GetNazweTypuCenySpSM(TVLQTypCenySpSM typ);

// An error answer of the SM service.
class DRUVO_API TVLQSMError {
 public:
  TVLQSMError();
  TVLQSMError(const TVLQSMError&) = default;
  TVLQSMError& operator=(const TVLQSMError&) = default;
  virtual ~TVLQSMError();

  void Czysc();
  // Destroys the records of `lista` (any SM records) from the last.
  static void WyczyscListe(TList* lista);

  AnsiString BladTekst1;
  AnsiString BladTekst2;
  int BladLiczba = 0;
  bool BladZnacznik = false;
};

// A session opened on the SM service.
class DRUVO_API TVLQSMOtwacieSesji : public TVLQSMError {
 public:
  TVLQSMOtwacieSesji();

  void Czysc();
  // True when the session has no identifier (after trimming), its expiry is
  // not later than the current local time to the second, or it is inactive.
  bool CzySesjaWygasla() const;
  // The same against the moment `teraz`.
  bool CzySesjaWygasla(TDateTime teraz) const;
  // 1, -1 or 0 as `a` is later than, earlier than or in the same second as
  // `b`, compared by calendar and clock fields (milliseconds ignored).
  static int DateTimeCompare(TDateTime a, TDateTime b);
  static void WyczyscListe(TList* lista);

  AnsiString IdSesji;
  AnsiString Tekst;
  bool Aktywna = false;
  TDateTime DataWygasniecia = 0;
};

// A department of the SM service.
class DRUVO_API TVLQSMDepartment : public TVLQSMError {
 public:
  TVLQSMDepartment();

  void Czysc();
  static void WyczyscListe(TList* lista);

  int Liczba = -1;
  AnsiString Tekst1;
  AnsiString Tekst2;
};

// A payment register of the SM service.
class DRUVO_API TVLQSMRejestrPlat : public TVLQSMError {
 public:
  TVLQSMRejestrPlat();

  void Czysc();
  static void WyczyscListe(TList* lista);

  AnsiString Tekst1;
  int Liczba1 = -1;
  int Liczba2 = -1;
  int Liczba3 = -1;
  AnsiString Tekst2;
};

// An assortment of the SM service.
class DRUVO_API TVLQSMAsortymenty : public TVLQSMError {
 public:
  TVLQSMAsortymenty();

  void Czysc();
  static void WyczyscListe(TList* lista);

  int Liczba = -1;
  AnsiString Tekst;
};

}  // namespace druvo
