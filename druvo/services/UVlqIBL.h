// Objects imported from the BL sales service (warehouses, order statuses,
// price groups), the tree-list row that shows one of them, the output
// interface of such a service, and the names of order-status actions.
//
// TDaneSerwisuImportObject is the root of the imported objects; it has a
// virtual destructor so that lists of mixed objects can be destroyed through
// it. Every record resets to its defaults in Czysc() (a price group leaves the
// root's fields alone) and copies by value; a warehouse owns its string list,
// its set and its child warehouses and copies all of them deeply.
// TDaneSerwisuObject only points to its object.
//
// The static list operations take the runtime's TList of owned items: the
// WyczyscListe family destroys the items as the class they belong to, the
// finders return the first non-null item that matches, or null. A null list is
// treated as an empty one.
#pragma once

#include <memory>
#include <vector>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TList.h"
#include "druvo/platform/TStringList.h"
#include "druvo/util/KorbLib.h"

namespace druvo {

// What the system does with orders in a given status.
enum TVLQAkcjaStatusu : int {
  asBrak = 0,
  asImport = 1,
  asRealizacja = 2,
  asImportIRealizacja = 3,
};

// The kind of an imported BL object; values other than 1 are the callers'.
enum TBLTypObiektu : int {
  btoMagazyn = 1,
};

// The translated name of `akcja` (section "Druvo_UVlqIBL"); a value outside
// 1..3 gives the name of asBrak.
DRUVO_API AnsiString NazwaAkcjiStatusu(TVLQAkcjaStatusu akcja);

class TDaneSerwisuImportObject;

// Where a service import reports to; the calling modules implement it and the
// library never calls it.
class DRUVO_API IDaneSerwisuOutput {
 public:
  virtual ~IDaneSerwisuOutput();

  // An import of the data named `opis` begins.
  virtual void Rozpocznij(const AnsiString& opis) = 0;
  // The import ends; `powodzenie` tells whether it succeeded.
  virtual void Zakoncz(bool powodzenie) = 0;
  virtual void Komunikat(const AnsiString& tekst) = 0;
  virtual void Blad(const AnsiString& tekst) = 0;
  // `pozycja` of `ilosc` items done.
  virtual void Postep(int pozycja, int ilosc) = 0;
  // Whether the user asked to stop.
  virtual bool CzyPrzerwano() = 0;
  // One imported object has been read (lent for the call).
  virtual void Obiekt(TDaneSerwisuImportObject* obiekt) = 0;
};

// The root of every imported object.
class DRUVO_API TDaneSerwisuImportObject {
 public:
  TDaneSerwisuImportObject();
  TDaneSerwisuImportObject(const TDaneSerwisuImportObject&) = default;
  TDaneSerwisuImportObject& operator=(const TDaneSerwisuImportObject&) =
      default;
  virtual ~TDaneSerwisuImportObject();

  void Czysc();
  // Whether the object has children in the tree; none here.
  virtual bool GetMaDzieci() const;

  AnsiString ObiektTekst1;
  AnsiString ObiektTekst2;
  int ObiektLiczba = -1;
  bool ObiektZnacznik = false;
  bool Zwiniety = false;  // the branch is collapsed in the tree list
};

// One row of the tree list of imported objects; `Obiekt` is not owned, so
// rows are destroyed (CzyscListeObiektow) independently of their objects.
class DRUVO_API TDaneSerwisuObject {
 public:
  TDaneSerwisuObject(int liczba1, int liczba2, TDaneSerwisuImportObject* obiekt,
                     const AnsiString& tekst);

  // True without an object; the object's Zwiniety when it has children;
  // false otherwise.
  bool GetZwiniety() const;
  // Stores `zwiniety` in the object; nothing without one.
  void SetZwiniety(bool zwiniety);
  bool GetMaDzieci() const;

  // Destroys every non-null row of `lista`, then empties it.
  static void CzyscListeObiektow(TList* lista);

  int Liczba1;
  int Liczba2;
  TDaneSerwisuImportObject* Obiekt;
  AnsiString Tekst;
};

// A warehouse of the BL service; warehouses form a tree through Dzieci.
// Destroying, clearing and copying work without recursion, so a tree of any
// depth is safe.
class DRUVO_API TVLQBLImportMagazyn : public TDaneSerwisuImportObject {
 public:
  TVLQBLImportMagazyn();
  // Czysc(), then the arguments; the set is copied. Liczba2 stays 2.
  TVLQBLImportMagazyn(TBLTypObiektu typ, const AnsiString& id,
                      const AnsiString& tekst2, const TMacSetOfIntegers& zbior,
                      bool znacznik, int liczba1, const AnsiString& tekst3,
                      const AnsiString& tekst4);
  TVLQBLImportMagazyn(const TVLQBLImportMagazyn& other);
  TVLQBLImportMagazyn& operator=(const TVLQBLImportMagazyn& other);
  ~TVLQBLImportMagazyn() override;

  // Every field to its default, the root's included; children destroyed.
  void Czysc();
  // Destroys every child (and theirs) and empties Dzieci.
  void CzyscDane();
  bool GetMaDzieci() const override;

  // The first non-null warehouse of `lista` (not its children) whose Id
  // equals `id` exactly; null when none.
  static TVLQBLImportMagazyn* ZnajdzMagazynWgId(TList* lista,
                                                const AnsiString& id);
  // Destroys the warehouses of `lista` from the last, then empties it.
  static void WyczyscListe(TList* lista);

  TStringList Lista;
  AnsiString Id;
  AnsiString Tekst2;
  TMacSetOfIntegers Zbior{100};
  bool Znacznik = false;
  int Liczba1 = -1;
  AnsiString Tekst3;
  int Liczba2 = 2;
  AnsiString Tekst4;
  std::vector<std::unique_ptr<TVLQBLImportMagazyn>> Dzieci;
  TBLTypObiektu Typ = btoMagazyn;

 private:
  using Children = std::vector<std::unique_ptr<TVLQBLImportMagazyn>>;
  // Every field but the root's and the children.
  void CopyOwnFields(const TVLQBLImportMagazyn& other);
  // Deep copies of the children of `other` and all their descendants.
  static Children CopyChildren(const TVLQBLImportMagazyn& other);
};

// An order status of the BL service and the action chosen for it.
class DRUVO_API TVLQBLImportStatusowZamowien : public TDaneSerwisuImportObject {
 public:
  TVLQBLImportStatusowZamowien();

  // The root's fields, then the own ones.
  void Czysc();

  // Whether a non-null status of `lista` has an action that imports orders
  // (asImport or asImportIRealizacja).
  static bool CzyAkcjaStatususUstawiona(TList* lista);
  static void WyczyscListe(TList* lista);

  int Liczba1 = -1;
  AnsiString Tekst1;
  AnsiString Tekst2;
  int Liczba2 = -1;
  int Liczba3 = -1;
  TVLQAkcjaStatusu Akcja = asBrak;
};

// A price group of the BL service.
class DRUVO_API TVLQBLImportGrupCenowych : public TDaneSerwisuImportObject {
 public:
  TVLQBLImportGrupCenowych();

  // The own five fields only; the root's keep their values.
  void Czysc();

  static TVLQBLImportGrupCenowych* ZnajdzGrupeCenowaPoId(TList* lista, int id);
  static void WyczyscListe(TList* lista);

  int Id = -1;
  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  bool Znacznik = false;
};

}  // namespace druvo
