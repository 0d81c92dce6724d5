// IntArray: a record buffer of ints with bounds-tested index access.
//
// Each record (IntArrayRec) holds one int. Any key >= 0 sorts and searches
// ascending, any negative key descending; equal values never merge. getInt
// and setInt raise Exception("IntArray index out of bounds") for an index
// outside 0..PodajIlosc() - 1 and then change nothing. Copies (copy
// construction, operator=) copy every value into records of their own.
#pragma once

#include "druvo/containers/DBBUFBAS.h"
#include "druvo/platform/Export.h"

namespace druvo {

class DRUVO_API IntArrayRec : public DataRecBase {
 public:
  IntArrayRec() = default;
  explicit IntArrayRec(int liczba) : Liczba(liczba) {}
  ~IntArrayRec() override;

  int Liczba = 0;
};

class DRUVO_API IntArray : public DataBufBase {
 public:
  IntArray();
  IntArray(const IntArray& zrodlo);
  IntArray& operator=(const IntArray& zrodlo);
  ~IntArray() override;

  int Porownaj(int klucz, const DataRecBase* a, const DataRecBase* b) override;
  void Podstaw(DataRecBase* cel, const DataRecBase* zrodlo) override;
  void Dosumuj(DataRecBase* cel, const DataRecBase* zrodlo) override;
  DataRecBase* UtworzNowyRekord() override;

  void addInt(int v);
  int getInt(int i);
  void setInt(int i, int v);

 private:
  void CheckIndex(int i) const;
};

}  // namespace druvo
