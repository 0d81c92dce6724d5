#include "druvo/containers/DBBUFBAS.h"

#include <gtest/gtest.h>

#include "druvo/platform/Exceptions.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::KeyIds;

struct Rec : DataRecBase {
  Rec(int k = 0, int n = 0) : Klucz(k), Id(n) {}
  int Klucz, Id, Suma = 0;
};
const Rec& R(const Rec& rec) { return rec; }  // a temporary's address

// Key >= 0 orders by Klucz ascending, < 0 descending; Dosumuj sums the ids.
class Buf : public DataBufBase {
 public:
  explicit Buf(const KeyIds& pairs = {}) {
    for (const auto& [k, n] : pairs) DodajRec(&R(Rec(k, n)));
  }
  int Porownaj(int klucz, const DataRecBase* a, const DataRecBase* b) override {
    ++compares;
    const int x = At(a).Klucz, y = At(b).Klucz;
    return (klucz < 0 ? -1 : 1) * ((x > y) - (x < y));
  }
  void Podstaw(DataRecBase* cel, const DataRecBase* zrodlo) override {
    *static_cast<Rec*>(cel) = At(zrodlo);
  }
  void Dosumuj(DataRecBase* cel, const DataRecBase* zrodlo) override {
    static_cast<Rec*>(cel)->Suma += At(zrodlo).Id;
  }
  DataRecBase* UtworzNowyRekord() override { return new Rec(); }
  static const Rec& At(const DataRecBase* rec) {
    return *static_cast<const Rec*>(rec);
  }
  KeyIds Contents() {
    KeyIds pairs;
    DataRecBase* rec = nullptr;
    for (int i = 0; CzytajRecPtr(i, &rec); ++i)
      pairs.emplace_back(At(rec).Klucz, At(rec).Id + 100 * At(rec).Suma);
    return pairs;
  }
  int compares = 0;
};

TEST(DataBufBase, SortPlacesEqualKeysAsThePartitionDoes) {
  for (const KeyIds& keys : test::SortInputs()) {
    for (int klucz : {0, -1}) {
      Buf buf(keys);
      buf.Sortuj(klucz, 7);
      KeyIds expected = keys;
      std::vector<int> done;
      test::ReferenceSort(expected, 0, static_cast<int>(keys.size()) - 1,
                          klucz < 0 ? -1 : 1, done);
      ASSERT_EQ(buf.Contents(), expected) << keys.size() << " key " << klucz;
      EXPECT_TRUE(buf.PodajKluczSortowania() == klucz &&
                  buf.KierunekSortowania == 7);
    }
  }
}

TEST(DataBufBase, SearchReturnsTheEqualRecordTheHalvingMeets) {
  Buf buf({{1, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {3, 5}, {4, 6}});
  buf.Sortuj(-1, 1);  // the search sorts again under its own key
  for (const auto& [key, index] :
       KeyIds{{2, 3}, {4, 6}, {1, 0}, {3, 5}, {0, -1}, {5, -1}}) {
    Rec rec(key, -1), nr(key, -1);
    int at = -9, atNr = -9;
    EXPECT_EQ(buf.Szukaj(0, &rec, at), index >= 0) << key;
    EXPECT_EQ(buf.SzukajNr(0, &nr, atNr), index >= 0) << key;
    EXPECT_EQ(at, index >= 0 ? index : -9);  // Szukaj keeps i on a miss
    EXPECT_EQ(atNr, index >= 0 ? index : 0);
    EXPECT_EQ(rec.Id, index >= 0 ? buf.Contents()[index].second : -1);
    EXPECT_EQ(nr.Id + buf.KierunekSortowania, -2);  // not copied back
  }
  // An added record keeps the key: the search trusts the old order.
  buf.DodajRec(&R(Rec(0, 9)));
  Rec probe(0);
  int i = 0;
  EXPECT_FALSE(buf.Szukaj(0, &probe, i));
  Buf empty, one({{1, 0}});
  one.Sortuj(0, 1);
  one.compares = 0;
  EXPECT_FALSE(empty.Szukaj(0, &probe, i) || one.Szukaj(0, &probe, i));
  EXPECT_EQ(one.compares, 1);
  empty.Sortuj(3, 3);  // no records: nothing sorted, nothing recorded
  EXPECT_EQ(empty.compares + empty.PodajKluczSortowania(), -1);
}

TEST(DataBufBase, MergesCopiesAndIgnoresBadIndexes) {
  Buf source, copy({{9, 9}});
  source.ScalajRowne = true;
  for (const auto& [k, n] : KeyIds{{1, 1}, {2, 2}, {1, 3}})
    source.DodajRec(&R(Rec(k, n)));   // merged into the first equal record
  source.WstawRec(0, &R(Rec(3, 0)));  // never merges
  source.IloscDodanych = 7;
  source.Pojemnosc = 5;
  copy.Sortuj(0, 1);
  EXPECT_EQ(copy.PodstawBuf(&source), 3);
  EXPECT_EQ(copy.PodstawBuf(&copy) + copy.PodstawBuf(nullptr), 3);
  EXPECT_TRUE(copy.PodajKluczSortowania() == -1 && copy.ScalajRowne &&
              copy.IloscDodanych == 7 && copy.Pojemnosc == 5);
  Rec out(8, 8);
  for (int i : {3, -1, 0}) {
    copy.ZapiszRec(i, &out);
    if (i != 0) copy.UsunRec(i);
  }
  EXPECT_EQ(source.Contents(), (KeyIds{{3, 0}, {1, 301}, {2, 2}}));
  EXPECT_EQ(copy.Contents(), (KeyIds{{8, 8}, {1, 301}, {2, 2}}));
  DataRecBase* ptr = &out;
  EXPECT_FALSE(copy.CzytajRec(3, &out) || copy.CzytajRec(-1, &out) ||
               copy.CzytajRecPtr(3, &ptr) || ptr != &out);
  EXPECT_EQ(test::MessageOf<EListError>([&] { copy.WstawRec(4, &out); }),
            "List index out of bounds (4)");
  EXPECT_EQ(test::MessageOf<EListError>([&] { copy.Sort(0, -1, 1); }),
            "List index out of bounds (-1)");
  source.Czysc();
  EXPECT_EQ(source.PodajIlosc() + source.IloscDodanych, 0);
}

}  // namespace
}  // namespace druvo
