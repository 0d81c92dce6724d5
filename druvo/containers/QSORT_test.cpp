#include "druvo/containers/QSORT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace druvo {
namespace {

using Pairs = std::vector<std::pair<int, int>>;  // (key, id)

// Sorts pairs by key (klucz >= 0 ascending, else descending) and records
// the progress reports.
class PairSort : public QuickSort {
 public:
  explicit PairSort(Pairs data) : items(std::move(data)) {}
  int PorownajElementy(int klucz, int i, int j) override {
    const int c = items[i].first - items[j].first;  // any sign will do
    return klucz >= 0 ? c : -c;
  }
  void ZamienElementy(int i, int j) override { std::swap(items[i], items[j]); }
  void SetNumDone(int numDone) override { done.push_back(numDone); }
  Pairs items;
  std::vector<int> done;
};

// The recursive partition as the system describes it.
void Reference(Pairs& a, std::vector<int>& done, int od, int do_, int sign) {
  auto cmp = [&](int i, int j) { return sign * (a[i].first - a[j].first); };
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
  if (od < j) Reference(a, done, od, j, sign);
  if (i < do_) Reference(a, done, i, do_, sign);
  done.push_back(do_);
}

TEST(QuickSort, ReportsProgressInTheRecursiveOrder) {
  std::mt19937 random(11);
  std::vector<std::vector<int>> inputs = {{1, 1}, {2, 1, 3}, {3, 3, 1, 1, 2}};
  for (int n : {40, 333}) {
    std::vector<int> few(n), sorted(n), pipe(n), equal(n, 1);
    for (int i = 0; i < n; ++i) {
      few[i] = static_cast<int>(random() % 4);
      sorted[i] = i / 2;
      pipe[i] = i < n / 2 ? i : n - i;
    }
    inputs.insert(inputs.end(), {few, sorted, pipe, equal});
  }
  for (const std::vector<int>& keys : inputs) {
    Pairs pairs;
    for (int k : keys) pairs.emplace_back(k, static_cast<int>(pairs.size()));
    for (int klucz : {3, -2}) {
      // A sub-range of the data, as callers may sort part of a collection.
      const int od = keys.size() > 3 ? 1 : 0;
      const int do_ = static_cast<int>(keys.size()) - 1;
      PairSort sorter(pairs);
      EXPECT_EQ(sorter.Sort(klucz, od, do_), 0);
      Pairs expected = pairs;
      std::vector<int> expectedDone;
      Reference(expected, expectedDone, od, do_, klucz >= 0 ? 1 : -1);
      ASSERT_EQ(sorter.items, expected) << keys.size();
      ASSERT_EQ(sorter.done, expectedDone) << keys.size();
      EXPECT_EQ(sorter.KluczSortowania, klucz);
    }
  }
}

TEST(QuickSort, OneElementReportsOnceEmptyRangeNothing) {
  PairSort sorter({{5, 0}, {4, 1}});
  sorter.Sort(9, 0, 0);
  EXPECT_EQ(sorter.done, std::vector<int>{0});
  EXPECT_EQ(sorter.KluczSortowania, 9);
  sorter.Sort(4, 1, 0);
  EXPECT_EQ(sorter.done, std::vector<int>{0});
  EXPECT_EQ(sorter.KluczSortowania, 9);
  EXPECT_EQ(sorter.items, (Pairs{{5, 0}, {4, 1}}));
}

// Sorts `values` with both orders of work and checks the result and the
// ranges held at once.
void SortBoth(std::vector<int> values, std::size_t inOrderLimit,
              std::size_t smallerFirstLimit) {
  const int n = static_cast<int>(values.size());
  std::vector<int> copy = values;
  auto cmpOf = [](std::vector<int>& v) {
    return [&v](int i, int j) { return v[i] < v[j] ? -1 : (v[i] > v[j]); };
  };
  auto swapOf = [](std::vector<int>& v) {
    return [&v](int i, int j) { std::swap(v[i], v[j]); };
  };
  long reports = 0;
  const std::size_t inOrder = qsort_detail::SortInOrder(
      0, n - 1, cmpOf(values), swapOf(values), [&](int) { ++reports; });
  const std::size_t smallerFirst =
      qsort_detail::SortSmallerFirst(0, n - 1, cmpOf(copy), swapOf(copy));
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  EXPECT_EQ(values, copy);  // the same arrangement either way
  EXPECT_LE(inOrder, inOrderLimit);
  EXPECT_LE(smallerFirst, smallerFirstLimit);
  EXPECT_GT(reports, 0);
}

TEST(QuickSort, DeepOrderedInputsNeedFewPendingRanges) {
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
  const int n = 1'000'000;
#else
  const int n = 10'000'000;
#endif
  const std::size_t depth = static_cast<std::size_t>(std::log2(n)) + 2;
  std::vector<int> sorted(n), reversed(n), equal(n, 3);
  for (int i = 0; i < n; ++i) {
    sorted[i] = i;
    reversed[i] = n - i;
  }
  SortBoth(std::move(sorted), 2 * depth, depth);
  SortBoth(std::move(reversed), 2 * depth, depth);
  SortBoth(std::move(equal), 2 * depth, depth);
  // Rising then falling values peel one element per pass: the recursion
  // would be n deep, the smaller-first order stays shallow.
  const int m = 10'000;
  std::vector<int> pipe(m);
  for (int i = 0; i < m; ++i) pipe[i] = i < m / 2 ? i : m - i;
  SortBoth(std::move(pipe), static_cast<std::size_t>(m), 2);
}

}  // namespace
}  // namespace druvo
