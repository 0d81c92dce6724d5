#include "druvo/containers/QSORT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/support/TestSupport.h"

namespace druvo {
namespace {

// Sorts (key, id) pairs, any non-negative key ascending; records progress.
struct PairSort : QuickSort {
  int PorownajElementy(int klucz, int i, int j) override {
    return (klucz >= 0 ? 1 : -1) * (items[i].first - items[j].first);
  }
  void ZamienElementy(int i, int j) override { std::swap(items[i], items[j]); }
  void SetNumDone(int numDone) override { done.push_back(numDone); }
  test::KeyIds items;
  std::vector<int> done;
};

TEST(QuickSort, ReportsProgressInTheRecursiveOrder) {
  for (const test::KeyIds& keys : test::SortInputs()) {
    for (int klucz : {3, -2}) {
      const int od = keys.size() > 3, do_ = static_cast<int>(keys.size()) - 1;
      PairSort sorter;
      sorter.items = keys;
      EXPECT_EQ(sorter.Sort(klucz, od, do_), 0);
      test::KeyIds expected = keys;
      std::vector<int> done;
      test::ReferenceSort(expected, od, do_, klucz >= 0 ? 1 : -1, done);
      ASSERT_EQ(sorter.items, expected) << keys.size();
      ASSERT_EQ(sorter.done, done) << keys.size();
      EXPECT_EQ(sorter.KluczSortowania, klucz);
    }
  }
  // An empty range sorts nothing, reports nothing and keeps the old key.
  PairSort empty;
  EXPECT_EQ(empty.Sort(4, 2, 1), 0);
  EXPECT_TRUE(empty.done.empty());
  EXPECT_NE(empty.KluczSortowania, 4);
}

// Sorts in both orders of work; checks the result and the ranges held.
void SortBoth(std::vector<int> v, std::size_t inOrder, std::size_t smaller) {
  std::vector<int> w = v;
  auto cmp = [](auto& x) { return [&x](int i, int j) { return x[i] - x[j]; }; };
  auto swap = [](auto& x) {
    return [&x](int i, int j) { std::swap(x[i], x[j]); };
  };
  const int last = static_cast<int>(v.size()) - 1;
  EXPECT_LE(qsort_detail::SortInOrder(0, last, cmp(v), swap(v), [](int) {}),
            inOrder);
  EXPECT_LE(qsort_detail::SortSmallerFirst(0, last, cmp(w), swap(w)), smaller);
  EXPECT_TRUE(std::is_sorted(v.begin(), v.end()) && v == w);
}

TEST(QuickSort, TenMillionOrderedValuesNeedFewPendingRanges) {
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
  const int n = 1'000'000;
#else
  const int n = 10'000'000;
#endif
  const auto depth = static_cast<std::size_t>(std::log2(n)) + 2;
  std::vector<int> sorted(n), reversed(n);
  for (int i = 0; i < n; ++i) sorted[i] = reversed[n - 1 - i] = i;
  SortBoth(sorted, 2 * depth, depth);
  SortBoth(reversed, 2 * depth, depth);
  SortBoth(std::vector<int>(n, 3), 2 * depth, depth);
  // Rising then falling values peel one element per pass: a recursion m
  // deep, held on the heap; the smaller-first order stays shallow.
  const int m = 10'000;
  std::vector<int> pipe(m);
  for (int i = 0; i < m; ++i) pipe[i] = std::min(i, m - i);
  SortBoth(pipe, m, 2);
}

}  // namespace
}  // namespace druvo
