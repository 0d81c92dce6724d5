// The owning record buffer that the library's typed lists derive from.
//
// DataRecBase is the root of every record; records are made by the buffer's
// UtworzNowyRekord and destroyed through its virtual destructor.
//
// DataBufBase owns its records, in buffer order. Callers hand records in and
// get copies out (Podstaw), except CzytajRecPtr, which lends the buffer's own
// record. Czysc, UsunRec and the destructor free records; PodstawBuf copies
// every record deeply. A derived buffer supplies Porownaj (exactly -1, 0 or 1
// under a numbered key), Podstaw (copy one record onto another), optionally
// Dosumuj (merge one record into another, used by DodajRec when ScalajRowne is
// set) and UtworzNowyRekord. Records handed in must be of the derived buffer's
// record type.
//
// Sortuj sorts in place with the quick sort of QSORT.h (not stable) and
// records the key; Szukaj and SzukajNr search by halving under that key,
// sorting first when asked for another key. Adding, inserting, overwriting or
// deleting records keeps the recorded key: sort again before searching a
// changed buffer. Out-of-range indexes give false (CzytajRec, CzytajRecPtr)
// or change nothing (UsunRec, ZapiszRec); WstawRec, Sort, Compare and
// ExChange raise EListError("List index out of bounds (N)").
#pragma once

#include <memory>
#include <vector>

#include "druvo/platform/Export.h"

namespace druvo {

class DRUVO_API DataRecBase {
 public:
  DataRecBase() = default;
  DataRecBase(const DataRecBase&) = default;
  DataRecBase& operator=(const DataRecBase&) = default;
  virtual ~DataRecBase();
};

class DRUVO_API DataBufBase {
 public:
  DataBufBase();
  // Derived buffers copy through PodstawBuf.
  DataBufBase(const DataBufBase&) = delete;
  DataBufBase& operator=(const DataBufBase&) = delete;
  virtual ~DataBufBase();

  // Clears this buffer and copies the settings, the second counter and a
  // copy of every record of `zrodlo`; returns the number of records copied.
  // Copying a buffer onto itself (or from null) changes nothing.
  virtual int PodstawBuf(const DataBufBase* zrodlo);
  // -1 when a sorts before b under klucz, 1 after, 0 equal.
  virtual int Porownaj(int klucz, const DataRecBase* a,
                       const DataRecBase* b) = 0;
  virtual void Podstaw(DataRecBase* cel, const DataRecBase* zrodlo) = 0;
  // Merges zrodlo into cel; nothing here.
  virtual void Dosumuj(DataRecBase* cel, const DataRecBase* zrodlo);
  virtual DataRecBase* UtworzNowyRekord() = 0;

  // Frees every record; the count, the second counter and the sort key reset.
  void Czysc();
  // Appends a copy of rec, or with ScalajRowne merges rec into the first
  // record equal to it under key 0. A null rec is ignored.
  void DodajRec(const DataRecBase* rec);
  // Inserts a copy of rec at index i (0 <= i <= count); never merges.
  void WstawRec(int i, const DataRecBase* rec);
  void UsunRec(int i);
  // Copies record i onto rec; false (rec untouched) when i is out of range.
  bool CzytajRec(int i, DataRecBase* rec);
  // Lends record i, still owned by the buffer; false when out of range.
  bool CzytajRecPtr(int i, DataRecBase** rec);
  // Copies rec onto record i when i is in range.
  void ZapiszRec(int i, const DataRecBase* rec);
  int PodajIlosc() const { return static_cast<int>(Rekordy.size()); }

  // Sorts the whole buffer under klucz and records the key (and kierunek);
  // an empty buffer is left alone.
  void Sortuj(int klucz, int kierunek);
  // Sorts records od..do; returns 0.
  int Sort(int klucz, int od, int do_);
  int Compare(int klucz, int i, int j);
  void ExChange(int i, int j);

  // Finds a record equal to rec under klucz; among equal records the one the
  // halving meets first. Szukaj copies the found record onto rec; both set i
  // to its index. SzukajNr sets i to 0 first.
  bool Szukaj(int klucz, DataRecBase* rec, int& i);
  bool SzukajNr(int klucz, const DataRecBase* rec, int& i);

  void SDodajRec(const DataRecBase* rec) { DodajRec(rec); }
  void SUsunRec(int i) { UsunRec(i); }
  void SCzysc() { Czysc(); }

  // The key the records were last sorted by; -1 when not sorted.
  int PodajKluczSortowania() const { return KluczSortowania; }

  int IloscDodanych = 0;        // second counter, for derived buffers
  int KierunekSortowania = -1;  // kierunek of the last Sortuj
  bool ScalajRowne = false;     // DodajRec merges equal records
  int Pojemnosc = 64;           // capacity hint, copied by PodstawBuf

 private:
  std::unique_ptr<DataRecBase> NewRecord();
  bool Find(int klucz, const DataRecBase* rec, int& i);
  void CheckRange(int i, int count) const;

  std::vector<std::unique_ptr<DataRecBase>> Rekordy;
  int KluczSortowania = -1;
};

}  // namespace druvo
