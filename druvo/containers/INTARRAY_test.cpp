#include "druvo/containers/INTARRAY.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

using test::MessageOf;

std::vector<int> Values(IntArray& array) {
  std::vector<int> values;
  for (int i = 0; i < array.PodajIlosc(); ++i)
    values.push_back(array.getInt(i));
  return values;
}

TEST(IntArray, AnyNonNegativeKeySortsAscendingAnyNegativeDescending) {
  const std::pair<int, std::vector<int>> cases[] = {
      {0, {1, 2, 3}}, {5, {1, 2, 3}}, {-1, {3, 2, 1}}, {-7, {3, 2, 1}}};
  for (const auto& [klucz, expected] : cases) {
    IntArray array;
    for (int v : {3, 1, 2}) array.addInt(v);
    array.Sortuj(klucz, 0);
    EXPECT_EQ(Values(array), expected) << klucz;
  }
  IntArray array;
  for (int v : {5, -2, 5, 0, -2}) array.addInt(v);  // equal values never merge
  array.Sortuj(0, 1);
  EXPECT_EQ(Values(array), (std::vector<int>{-2, -2, 0, 5, 5}));
  IntArrayRec probe(0);
  int i = -1;
  EXPECT_TRUE(array.Szukaj(0, &probe, i));
  EXPECT_EQ(i, 2);
  probe.Liczba = 4;
  EXPECT_FALSE(array.SzukajNr(0, &probe, i));
}

TEST(IntArray, IndexOutsideRaisesAndChangesNothing) {
  IntArray array;
  const std::function<void()> calls[] = {[&] { array.getInt(0); },
                                         [&] { array.setInt(-1, 5); },
                                         [&] { array.setInt(0, 5); }};
  for (const auto& call : calls) {
    EXPECT_EQ(MessageOf(call), "IntArray index out of bounds");
  }
  array.addInt(4);
  array.setInt(0, 9);
  EXPECT_EQ(MessageOf([&] { array.getInt(1); }),
            "IntArray index out of bounds");
  EXPECT_EQ(MessageOf([&] { array.setInt(1, 1); }),
            "IntArray index out of bounds");
  EXPECT_EQ(Values(array), std::vector<int>{9});
  EXPECT_EQ(array.Pojemnosc, 16);
  EXPECT_FALSE(array.ScalajRowne);
}

TEST(IntArray, CopiesShareNoRecords) {
  IntArray source;
  for (int v : {7, 8, 9}) source.addInt(v);
  IntArray assigned;
  assigned.addInt(1);
  assigned = source;
  IntArray constructed(source);
  assigned.setInt(0, 70);
  constructed.setInt(2, 90);
  source.UsunRec(1);
  EXPECT_EQ(Values(source), (std::vector<int>{7, 9}));
  EXPECT_EQ(Values(assigned), (std::vector<int>{70, 8, 9}));
  EXPECT_EQ(Values(constructed), (std::vector<int>{7, 8, 90}));
  DataRecBase* a = nullptr;
  DataRecBase* b = nullptr;
  ASSERT_TRUE(assigned.CzytajRecPtr(1, &a));
  ASSERT_TRUE(constructed.CzytajRecPtr(1, &b));
  EXPECT_NE(a, b);
  const IntArray& self = assigned;
  assigned = self;
  EXPECT_EQ(Values(assigned), (std::vector<int>{70, 8, 9}));
}

}  // namespace
}  // namespace druvo
