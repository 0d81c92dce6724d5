#include "druvo/containers/DBBUFBAS.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <utility>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::MessageOf;
using Pairs = std::vector<std::pair<int, int>>;  // (key, id)

// A record with a sort key, an identity that tells equal keys apart, a sum
// for merging, and a count of live records to catch leaks and double frees.
struct Rec : DataRecBase {
  Rec(int k = 0, int n = 0) : Klucz(k), Id(n) { ++live; }
  Rec(const Rec& other) : DataRecBase(other), Klucz(other.Klucz), Id(other.Id) {
    ++live;
  }
  Rec& operator=(const Rec&) = default;
  ~Rec() override { --live; }
  int Klucz;
  int Id;
  int Suma = 0;
  static inline int live = 0;
};

// Key 0 and 1 order by Klucz ascending, -1 descending; Porownaj calls are
// counted.
class Buf : public DataBufBase {
 public:
  int Porownaj(int klucz, const DataRecBase* a, const DataRecBase* b) override {
    ++compares;
    const int x = static_cast<const Rec*>(a)->Klucz;
    const int y = static_cast<const Rec*>(b)->Klucz;
    const int c = x < y ? -1 : (x > y ? 1 : 0);
    return klucz < 0 ? -c : c;
  }
  void Podstaw(DataRecBase* cel, const DataRecBase* zrodlo) override {
    *static_cast<Rec*>(cel) = *static_cast<const Rec*>(zrodlo);
  }
  void Dosumuj(DataRecBase* cel, const DataRecBase* zrodlo) override {
    static_cast<Rec*>(cel)->Suma += static_cast<const Rec*>(zrodlo)->Id;
  }
  DataRecBase* UtworzNowyRekord() override { return new Rec(); }

  void Fill(const Pairs& pairs) {
    for (const auto& [k, n] : pairs) {
      const Rec rec(k, n);
      DodajRec(&rec);
    }
  }
  Pairs Contents() {
    Pairs pairs;
    for (int i = 0; i < PodajIlosc(); ++i) {
      DataRecBase* rec = nullptr;
      EXPECT_TRUE(CzytajRecPtr(i, &rec));
      pairs.emplace_back(static_cast<Rec*>(rec)->Klucz,
                         static_cast<Rec*>(rec)->Id);
    }
    return pairs;
  }
  int compares = 0;
};

// The partition as the system describes it, recursive, on plain pairs.
void ReferenceSort(Pairs& a, int od, int do_, int sign) {
  auto cmp = [&](int i, int j) {
    const int c = a[i].first < a[j].first ? -1 : a[i].first > a[j].first;
    return sign * c;
  };
  int i = od, j = do_, p = (od + do_) / 2;
  do {
    while (cmp(i, p) < 0) ++i;
    while (cmp(p, j) < 0) --j;
    if (i <= j) {
      if (p == i) {
        p = j;
      } else if (p == j) {
        p = i;
      }
      std::swap(a[i], a[j]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (od < j) ReferenceSort(a, od, j, sign);
  if (i < do_) ReferenceSort(a, i, do_, sign);
}

Pairs Numbered(const std::vector<int>& keys) {
  Pairs pairs;
  for (int k : keys) pairs.emplace_back(k, static_cast<int>(pairs.size()));
  return pairs;
}

TEST(DataBufBase, SortPlacesEqualKeysAsThePartitionDoes) {
  std::mt19937 random(7);
  std::vector<std::vector<int>> inputs = {
      {5}, {2, 1}, {1, 1}, {3, 1, 2}, {2, 2, 1, 1, 2}, {1, 2, 3, 3, 2, 1}};
  for (int n : {50, 257, 1000}) {
    std::vector<int> few(n), sorted(n), reversed(n), equal(n, 4), pipe(n);
    for (int i = 0; i < n; ++i) {
      few[i] = static_cast<int>(random() % 5);
      sorted[i] = i / 3;
      reversed[i] = (n - i) / 3;
      pipe[i] = i < n / 2 ? i : n - i;
    }
    inputs.insert(inputs.end(), {few, sorted, reversed, equal, pipe});
  }
  for (const std::vector<int>& keys : inputs) {
    for (int klucz : {0, -1}) {
      Buf buf;
      buf.Fill(Numbered(keys));
      buf.Sortuj(klucz, 7);
      Pairs expected = Numbered(keys);
      ReferenceSort(expected, 0, static_cast<int>(keys.size()) - 1,
                    klucz < 0 ? -1 : 1);
      ASSERT_EQ(buf.Contents(), expected) << keys.size() << " key " << klucz;
      EXPECT_EQ(buf.PodajKluczSortowania(), klucz);
      EXPECT_EQ(buf.KierunekSortowania, 7);
    }
  }
}

TEST(DataBufBase, SearchReturnsTheEqualRecordTheHalvingMeets) {
  Buf buf;
  buf.Fill({{1, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {3, 5}, {4, 6}});
  buf.Sortuj(0, 1);
  struct Case {
    int key;
    bool found;
    int index;
  };
  for (const Case& c :
       {Case{2, true, 3}, Case{4, true, 6}, Case{1, true, 0}, Case{3, true, 5},
        Case{0, false, -9}, Case{5, false, -9}}) {
    Rec rec(c.key, -1);
    int i = -9;
    EXPECT_EQ(buf.Szukaj(0, &rec, i), c.found) << c.key;
    EXPECT_EQ(i, c.index) << c.key;
    // Szukaj copies the found record back; SzukajNr only reports it.
    EXPECT_EQ(rec.Id, c.found ? buf.Contents()[c.index].second : -1);
    Rec probe(c.key, -1);
    i = -9;
    EXPECT_EQ(buf.SzukajNr(0, &probe, i), c.found);
    EXPECT_EQ(i, c.found ? c.index : 0);
    EXPECT_EQ(probe.Id, -1);
  }
  // Eight equal records: the first probe, index 3, is the answer.
  Buf same;
  same.Fill(Numbered(std::vector<int>(8, 2)));
  same.Sortuj(0, 1);
  Rec two(2);
  int i = -1;
  ASSERT_TRUE(same.Szukaj(0, &two, i));
  EXPECT_EQ(i, 3);
  EXPECT_EQ(two.Id, same.Contents()[3].second);
}

TEST(DataBufBase, SearchSortsOnlyWhenTheKeyDiffers) {
  Buf empty;
  Rec rec(1);
  int i = 5;
  EXPECT_FALSE(empty.Szukaj(0, &rec, i));
  EXPECT_EQ(i, 5);
  EXPECT_FALSE(empty.SzukajNr(0, &rec, i));
  EXPECT_EQ(i, 0);
  EXPECT_EQ(empty.PodajKluczSortowania(), -1);
  EXPECT_EQ(empty.compares, 0);
  empty.Sortuj(3, 3);
  EXPECT_EQ(empty.PodajKluczSortowania(), -1);
  EXPECT_EQ(empty.KierunekSortowania, -1);

  Buf one;
  one.Fill({{1, 0}});
  one.Sortuj(0, 1);
  one.compares = 0;
  EXPECT_TRUE(one.Szukaj(0, &rec, i));
  EXPECT_EQ(one.compares, 1);

  Buf buf;
  buf.Fill({{3, 0}, {1, 1}, {2, 2}});
  buf.Sortuj(0, 1);
  Rec three(3);
  ASSERT_TRUE(buf.Szukaj(-1, &three, i));  // another key: sorted descending
  EXPECT_EQ(i, 0);
  EXPECT_EQ(buf.PodajKluczSortowania(), -1);
  EXPECT_EQ(buf.KierunekSortowania, -1);
  EXPECT_EQ(buf.Contents(), (Pairs{{3, 0}, {2, 2}, {1, 1}}));
  // Changes keep the recorded key: the search trusts the old order.
  buf.Sortuj(0, 1);
  const Rec late(0, 9);
  buf.DodajRec(&late);
  EXPECT_EQ(buf.PodajKluczSortowania(), 0);
  Rec zero(0);
  EXPECT_FALSE(buf.Szukaj(0, &zero, i));
  buf.Sortuj(0, 1);
  EXPECT_TRUE(buf.Szukaj(0, &zero, i));
  EXPECT_EQ(i, 0);

  // Every value of a large sorted buffer is found, in logarithmic steps.
  Buf big;
  std::vector<int> keys(10000);
  for (int k = 0; k < 10000; ++k) keys[k] = (k * 7919) % 10000;
  big.Fill(Numbered(keys));
  big.Sortuj(0, 1);
  big.compares = 0;
  for (int k = 0; k < 10000; ++k) {
    Rec probe(k);
    ASSERT_TRUE(big.SzukajNr(0, &probe, i));
    ASSERT_EQ(i, k);
  }
  EXPECT_LE(big.compares, 10000 * 16);
}

TEST(DataBufBase, MergeEqualSumsIntoTheFirstEqualRecord) {
  Buf buf;
  buf.ScalajRowne = true;
  buf.Fill({{1, 10}, {2, 20}, {1, 30}});
  const Rec inserted(2, 40);
  buf.WstawRec(0, &inserted);  // never merges
  buf.Fill({{2, 5}});
  EXPECT_EQ(buf.Contents(), (Pairs{{2, 40}, {1, 10}, {2, 20}}));
  DataRecBase* first = nullptr;
  ASSERT_TRUE(buf.CzytajRecPtr(0, &first));
  EXPECT_EQ(static_cast<Rec*>(first)->Suma, 5);
  DataRecBase* second = nullptr;
  ASSERT_TRUE(buf.CzytajRecPtr(1, &second));
  EXPECT_EQ(static_cast<Rec*>(second)->Suma, 30);
  buf.ScalajRowne = false;
  buf.Fill({{1, 50}});
  EXPECT_EQ(buf.PodajIlosc(), 4);
}

TEST(DataBufBase, CopiesOwnTheirRecords) {
  {
    Buf source;
    source.Fill({{3, 0}, {1, 1}, {2, 2}});
    source.Sortuj(0, 1);
    source.ScalajRowne = true;
    source.Pojemnosc = 16;
    source.IloscDodanych = 7;
    Buf copy;
    copy.Fill({{9, 9}});
    copy.Sortuj(0, 1);
    EXPECT_EQ(copy.PodstawBuf(&source), 3);
    EXPECT_EQ(copy.Contents(), source.Contents());
    EXPECT_EQ(copy.PodajKluczSortowania(), -1);
    EXPECT_TRUE(copy.ScalajRowne);
    EXPECT_EQ(copy.Pojemnosc, 16);
    EXPECT_EQ(copy.IloscDodanych, 7);
    EXPECT_EQ(Rec::live, 6);
    const Rec changed(8, 8);
    copy.ZapiszRec(0, &changed);
    EXPECT_EQ(source.Contents()[0], std::make_pair(1, 1));
    EXPECT_EQ(copy.PodstawBuf(&copy), 3);  // onto itself: unchanged
    EXPECT_EQ(copy.PodstawBuf(nullptr), 0);
    EXPECT_EQ(copy.Contents()[0], std::make_pair(8, 8));
    source.Czysc();
    EXPECT_EQ(source.PodajIlosc(), 0);
    EXPECT_EQ(source.IloscDodanych, 0);
    EXPECT_EQ(source.PodajKluczSortowania(), -1);
    EXPECT_EQ(Rec::live, 4);  // three in the copy, `changed`
    copy.UsunRec(1);
    EXPECT_EQ(Rec::live, 3);
  }
  EXPECT_EQ(Rec::live, 0);
}

TEST(DataBufBase, IndexesOutOfRangeChangeNothing) {
  Buf buf;
  buf.Fill({{1, 0}, {2, 1}, {3, 2}});
  const Pairs before = buf.Contents();
  buf.UsunRec(-1);
  buf.UsunRec(3);
  const Rec rec(7, 7);
  buf.ZapiszRec(3, &rec);
  buf.ZapiszRec(-1, &rec);
  EXPECT_EQ(buf.Contents(), before);
  Rec out(5, 5);
  EXPECT_FALSE(buf.CzytajRec(3, &out));
  EXPECT_FALSE(buf.CzytajRec(-1, &out));
  EXPECT_EQ(out.Klucz, 5);
  DataRecBase* ptr = &out;
  EXPECT_FALSE(buf.CzytajRecPtr(3, &ptr));
  EXPECT_EQ(ptr, &out);
  EXPECT_TRUE(buf.CzytajRec(2, &out));
  EXPECT_EQ(out.Id, 2);
  const std::pair<std::function<void()>, const char*> raising[] = {
      {[&] { buf.WstawRec(4, &rec); }, "List index out of bounds (4)"},
      {[&] { buf.WstawRec(-1, &rec); }, "List index out of bounds (-1)"},
      {[&] { buf.ExChange(0, 3); }, "List index out of bounds (3)"},
      {[&] { buf.Compare(0, -2, 0); }, "List index out of bounds (-2)"},
      {[&] { buf.Sort(0, 1, 3); }, "List index out of bounds (3)"},
  };
  for (const auto& [call, message] : raising) {
    EXPECT_EQ(MessageOf<EListError>(call), message);
  }
  EXPECT_EQ(buf.Contents(), before);
  buf.WstawRec(3, &rec);
  EXPECT_EQ(buf.Contents().back(), std::make_pair(7, 7));
  EXPECT_EQ(Rec::live, 6);  // four in the buffer, `rec`, `out`
}

}  // namespace
}  // namespace druvo
