#include "druvo/containers/DBBUFBAS.h"

#include <string>
#include <utility>

#include "druvo/containers/QSORT.h"
#include "druvo/platform/Exceptions.h"

namespace druvo {

namespace {

using RecordPtr = std::unique_ptr<DataRecBase>;

// The sign of a comparison result as -1, 0 or 1, so that a derived buffer
// returning other values cannot stall the search.
int Sign(int c) { return (c > 0) - (c < 0); }

}  // namespace

DataRecBase::~DataRecBase() = default;

DataBufBase::DataBufBase() = default;

DataBufBase::~DataBufBase() = default;

std::unique_ptr<DataRecBase> DataBufBase::NewRecord() {
  std::unique_ptr<DataRecBase> record(UtworzNowyRekord());
  if (!record) throw Exception("DataBufBase: UtworzNowyRekord made no record");
  return record;
}

void DataBufBase::CheckRange(int i, int count) const {
  if (i < 0 || i >= count) {
    throw EListError("List index out of bounds (" + std::to_string(i) + ")");
  }
}

int DataBufBase::PodstawBuf(const DataBufBase* zrodlo) {
  if (zrodlo == nullptr) return 0;
  if (zrodlo == this) return PodajIlosc();
  Czysc();
  ScalajRowne = zrodlo->ScalajRowne;
  Pojemnosc = zrodlo->Pojemnosc;
  IloscDodanych = zrodlo->IloscDodanych;
  Rekordy.reserve(zrodlo->Rekordy.size());
  for (const RecordPtr& source : zrodlo->Rekordy) {
    RecordPtr copy = NewRecord();
    Podstaw(copy.get(), source.get());
    Rekordy.push_back(std::move(copy));
  }
  return PodajIlosc();
}

void DataBufBase::Dosumuj(DataRecBase* /*cel*/, const DataRecBase* /*zrodlo*/) {
}

void DataBufBase::Czysc() {
  Rekordy.clear();
  IloscDodanych = 0;
  KluczSortowania = -1;
}

void DataBufBase::DodajRec(const DataRecBase* rec) {
  if (rec == nullptr) return;
  if (ScalajRowne) {
    for (const RecordPtr& record : Rekordy) {
      if (Porownaj(0, record.get(), rec) == 0) {
        Dosumuj(record.get(), rec);
        return;
      }
    }
  }
  RecordPtr copy = NewRecord();
  Podstaw(copy.get(), rec);
  Rekordy.push_back(std::move(copy));
}

void DataBufBase::WstawRec(int i, const DataRecBase* rec) {
  CheckRange(i, PodajIlosc() + 1);
  if (rec == nullptr) return;
  RecordPtr copy = NewRecord();
  Podstaw(copy.get(), rec);
  Rekordy.insert(Rekordy.begin() + i, std::move(copy));
}

void DataBufBase::UsunRec(int i) {
  if (i < 0 || i >= PodajIlosc()) return;
  Rekordy.erase(Rekordy.begin() + i);
}

bool DataBufBase::CzytajRec(int i, DataRecBase* rec) {
  if (i < 0 || i >= PodajIlosc() || rec == nullptr) return false;
  Podstaw(rec, Rekordy[i].get());
  return true;
}

bool DataBufBase::CzytajRecPtr(int i, DataRecBase** rec) {
  if (i < 0 || i >= PodajIlosc() || rec == nullptr) return false;
  *rec = Rekordy[i].get();
  return true;
}

void DataBufBase::ZapiszRec(int i, const DataRecBase* rec) {
  if (i < 0 || i >= PodajIlosc() || rec == nullptr) return;
  Podstaw(Rekordy[i].get(), rec);
}

void DataBufBase::Sortuj(int klucz, int kierunek) {
  if (Rekordy.empty()) return;
  KierunekSortowania = kierunek;
  Sort(klucz, 0, PodajIlosc() - 1);
  KluczSortowania = klucz;
}

int DataBufBase::Sort(int klucz, int od, int do_) {
  if (od >= do_) return 0;
  CheckRange(od, PodajIlosc());
  CheckRange(do_, PodajIlosc());
  RecordPtr* records = Rekordy.data();
  qsort_detail::SortSmallerFirst(
      od, do_,
      [&](int i, int j) {
        return Porownaj(klucz, records[i].get(), records[j].get());
      },
      [records](int i, int j) { records[i].swap(records[j]); });
  return 0;
}

int DataBufBase::Compare(int klucz, int i, int j) {
  CheckRange(i, PodajIlosc());
  CheckRange(j, PodajIlosc());
  return Porownaj(klucz, Rekordy[i].get(), Rekordy[j].get());
}

void DataBufBase::ExChange(int i, int j) {
  CheckRange(i, PodajIlosc());
  CheckRange(j, PodajIlosc());
  Rekordy[i].swap(Rekordy[j]);
}

bool DataBufBase::Find(int klucz, const DataRecBase* rec, int& i) {
  if (Rekordy.empty() || rec == nullptr) return false;
  if (klucz != KluczSortowania) Sortuj(klucz, -1);
  int lo = 0;
  int hi = PodajIlosc() - 1;
  while (lo != hi) {
    const int m = lo + (hi - lo) / 2;
    const int c = Sign(Porownaj(klucz, rec, Rekordy[m].get()));
    if (c == 0) {
      i = m;
      return true;
    }
    if (c > 0) {
      lo = (lo == m) ? m + 1 : m;
    } else {
      hi = m;
    }
  }
  if (Porownaj(klucz, rec, Rekordy[hi].get()) != 0) return false;
  i = hi;
  return true;
}

bool DataBufBase::Szukaj(int klucz, DataRecBase* rec, int& i) {
  if (!Find(klucz, rec, i)) return false;
  Podstaw(rec, Rekordy[i].get());
  return true;
}

bool DataBufBase::SzukajNr(int klucz, const DataRecBase* rec, int& i) {
  i = 0;
  return Find(klucz, rec, i);
}

}  // namespace druvo
