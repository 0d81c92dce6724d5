#include "druvo/containers/INTARRAY.h"

#include "druvo/platform/Exceptions.h"

namespace druvo {

namespace {

// Records of this buffer are always IntArrayRec: it makes them itself and
// callers hand in records of its type.
int ValueOf(const DataRecBase* record) {
  return static_cast<const IntArrayRec*>(record)->Liczba;
}

}  // namespace

IntArrayRec::~IntArrayRec() = default;

IntArray::IntArray() {
  Czysc();
  Pojemnosc = 16;
}

IntArray::IntArray(const IntArray& zrodlo) : IntArray() { PodstawBuf(&zrodlo); }

IntArray& IntArray::operator=(const IntArray& zrodlo) {
  PodstawBuf(&zrodlo);
  return *this;
}

IntArray::~IntArray() = default;

int IntArray::Porownaj(int klucz, const DataRecBase* a, const DataRecBase* b) {
  const int x = ValueOf(a);
  const int y = ValueOf(b);
  const int c = (x < y) ? -1 : (x > y ? 1 : 0);
  return klucz >= 0 ? c : -c;
}

void IntArray::Podstaw(DataRecBase* cel, const DataRecBase* zrodlo) {
  auto* target = dynamic_cast<IntArrayRec*>(cel);
  const auto* source = dynamic_cast<const IntArrayRec*>(zrodlo);
  if (target != nullptr && source != nullptr) target->Liczba = source->Liczba;
}

void IntArray::Dosumuj(DataRecBase* /*cel*/, const DataRecBase* /*zrodlo*/) {}

DataRecBase* IntArray::UtworzNowyRekord() { return new IntArrayRec(); }

void IntArray::CheckIndex(int i) const {
  if (i < 0 || i >= PodajIlosc()) {
    throw Exception("IntArray index out of bounds");
  }
}

void IntArray::addInt(int v) {
  const IntArrayRec record(v);
  DodajRec(&record);
}

int IntArray::getInt(int i) {
  CheckIndex(i);
  IntArrayRec record;
  CzytajRec(i, &record);
  return record.Liczba;
}

void IntArray::setInt(int i, int v) {
  CheckIndex(i);
  const IntArrayRec record(v);
  ZapiszRec(i, &record);
}

}  // namespace druvo
