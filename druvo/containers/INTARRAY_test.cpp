#include "druvo/containers/INTARRAY.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

std::vector<int> Values(IntArray& array) {
  std::vector<int> values;
  for (int i = 0; i < array.PodajIlosc(); ++i)
    values.push_back(array.getInt(i));
  return values;
}

TEST(IntArray, KeySignSortsIndexesRaiseCopiesShareNothing) {
  IntArray source, assigned;
  for (int i : {-1, 0}) {
    EXPECT_EQ(test::MessageOf([&] { source.getInt(i); }) +
                  test::MessageOf([&] { source.setInt(i, 5); }),
              "IntArray index out of boundsIntArray index out of bounds");
  }
  for (int v : {3, 1, 2, 1}) source.addInt(v);  // equal values stay apart
  EXPECT_EQ(test::MessageOf([&] { source.setInt(4, 5); }),
            "IntArray index out of bounds");
  source.Sortuj(-7, 0);
  EXPECT_EQ(Values(source), (std::vector<int>{3, 2, 1, 1}));
  source.Sortuj(5, 0);
  EXPECT_EQ(Values(source), (std::vector<int>{1, 1, 2, 3}));
  IntArray constructed(source);
  assigned.addInt(9);
  assigned = source;
  assigned.setInt(0, 70);
  constructed.setInt(3, 90);
  source.UsunRec(1);
  EXPECT_EQ(Values(source), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Values(assigned), (std::vector<int>{70, 1, 2, 3}));
  EXPECT_EQ(Values(constructed), (std::vector<int>{1, 1, 2, 90}));

  // A new array hints 16 records; comparisons say -1, 0 or 1; a copy onto
  // or from no record does nothing.
  EXPECT_EQ(IntArray().Pojemnosc, 16);
  IntArrayRec one(1), two(2);
  EXPECT_EQ(
      source.Porownaj(0, &one, &two) * 10 + source.Porownaj(-1, &one, &two),
      -9);
  source.Podstaw(nullptr, &one);
  source.Podstaw(&one, nullptr);
  EXPECT_EQ(one.Liczba, 1);
}

}  // namespace
}  // namespace druvo
