// Data of the GC sales service: the sub-pages of its resources, its error
// answer and the order statuses and units of measure imported from it.
//
// TVLQGCError is the root of the GC records and has a virtual destructor so
// that they can be destroyed through it. Every record resets to its defaults
// on construction and copies by value; the Czysc() of an import record resets
// only its own fields, not the error fields. WyczyscListe destroys the items
// of a TList (null items and a null list are allowed) as its own class.
#pragma once

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TList.h"

namespace druvo {

// The GC resources.
enum TVLQTypDanychGC : int {
  tdgcStatusyZamowien = 1,
  tdgcJednostkiMiary = 2,
  tdgcImportProduktow = 3,
  tdgcZamowienia = 4,
  tdgcFormyPlatnosci = 5,
};

// The relative address of `typ` (translatable, section "Druvo_UVlqIGc"); ""
// for a value outside the resources.
DRUVO_API AnsiString GetNazwePodstrony(TVLQTypDanychGC typ);

// An error answer of the GC service.
class DRUVO_API TVLQGCError {
 public:
  TVLQGCError();
  TVLQGCError(const TVLQGCError&) = default;
  TVLQGCError& operator=(const TVLQGCError&) = default;
  virtual ~TVLQGCError();

  void Czysc();

  AnsiString BladTekst1;
  AnsiString BladTekst2;
  int BladLiczba = 0;
  bool BladZnacznik = false;
};

// An order status of the GC service.
class DRUVO_API TVLQGCImportStatusowZamowien : public TVLQGCError {
 public:
  TVLQGCImportStatusowZamowien();

  void Czysc();
  static void WyczyscListe(TList* lista);

  AnsiString Tekst1;
  AnsiString Tekst2;
  AnsiString Tekst3;
  AnsiString Tekst4;
};

// A unit of measure of the GC service.
class DRUVO_API TVLQGCImportJednostekMiary : public TVLQGCError {
 public:
  TVLQGCImportJednostekMiary();

  void Czysc();
  static void WyczyscListe(TList* lista);

  int Liczba = -1;
  AnsiString Tekst1;
  AnsiString Tekst2;
};

}  // namespace druvo
