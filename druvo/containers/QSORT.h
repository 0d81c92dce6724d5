// The quick sort shared by the record buffers, and QuickSort, a sorter of any
// indexable data.
//
// The partition is Hoare's with the pivot tracked by index: the pivot is the
// element at (od + do) / 2, i scans up while element i sorts before the pivot,
// j scans down while the pivot sorts before element j, i <= j swaps the two
// (the pivot index follows a swapped pivot), then od..j and i..do are sorted.
// Which of several equal elements ends where is therefore fixed by the input.
// The sub-ranges are kept on an explicit stack instead of the call stack, so
// no input can exhaust the stack; a comparison that is not a consistent order
// cannot make the scans leave od..do.
//
// QuickSort: a derived class supplies PorownajElementy and ZamienElementy.
// Sort(klucz, od, do) sorts elements od..do (inclusive), calls SetNumDone(do)
// after each sub-range in the order of the recursive algorithm (left part,
// right part, then the range itself) and records klucz in KluczSortowania.
// An empty range (od > do) does nothing.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "druvo/platform/Export.h"

namespace druvo {

namespace qsort_detail {

// One partition pass over od..do; on return od..j and i..do remain to sort.
template <typename Compare, typename Exchange>
inline void Partition(int od, int do_, int& i, int& j, Compare& compare,
                      Exchange& exchange) {
  i = od;
  j = do_;
  int p = static_cast<int>((static_cast<std::int64_t>(od) + do_) / 2);
  do {
    // The bounds only matter for an inconsistent comparison: a consistent one
    // stops both scans at the pivot or at a swapped element.
    while (i < do_ && compare(i, p) < 0) ++i;
    while (j > od && compare(p, j) < 0) --j;
    if (i <= j) {
      if (p == i) {
        p = j;
      } else if (p == j) {
        p = i;
      }
      exchange(i, j);
      ++i;
      --j;
    }
  } while (i <= j);
}

struct Task {
  int od;
  int do_;
  bool onlyDone;  // the sub-ranges are sorted: report do_
};

// Sorts od..do calling done(do) after each sub-range in the order of the
// recursive algorithm. Returns the most tasks pending at once (twice the depth
// of the recursion it replaces, at most).
template <typename Compare, typename Exchange, typename Done>
std::size_t SortInOrder(int od, int do_, Compare compare, Exchange exchange,
                        Done done) {
  std::vector<Task> pending;
  pending.reserve(64);
  pending.push_back({od, do_, false});
  std::size_t peak = 1;
  while (!pending.empty()) {
    const Task task = pending.back();
    pending.pop_back();
    if (task.onlyDone) {
      done(task.do_);
      continue;
    }
    int i = 0;
    int j = 0;
    Partition(task.od, task.do_, i, j, compare, exchange);
    pending.push_back({task.od, task.do_, true});
    if (i < task.do_) pending.push_back({i, task.do_, false});
    if (task.od < j) pending.push_back({task.od, j, false});
    peak = std::max(peak, pending.size());
  }
  return peak;
}

// The same arrangement without a progress report: the two sub-ranges are
// independent, so the smaller is sorted first and at most log2(n) + 1 ranges
// wait. Returns the most ranges pending at once.
template <typename Compare, typename Exchange>
std::size_t SortSmallerFirst(int od, int do_, Compare compare,
                             Exchange exchange) {
  std::vector<Task> pending;
  pending.reserve(64);
  std::size_t peak = 0;
  for (;;) {
    while (od < do_) {
      int i = 0;
      int j = 0;
      Partition(od, do_, i, j, compare, exchange);
      // Left od..j and right i..do; keep the larger, continue with the other.
      const bool leftSmaller = (j - od) < (do_ - i);
      Task larger = leftSmaller ? Task{i, do_, false} : Task{od, j, false};
      if (larger.od < larger.do_) pending.push_back(larger);
      peak = std::max(peak, pending.size());
      if (leftSmaller) {
        do_ = j;
      } else {
        od = i;
      }
    }
    if (pending.empty()) break;
    od = pending.back().od;
    do_ = pending.back().do_;
    pending.pop_back();
  }
  return peak;
}

}  // namespace qsort_detail

class DRUVO_API QuickSort {
 public:
  QuickSort();
  QuickSort(const QuickSort&) = default;
  QuickSort& operator=(const QuickSort&) = default;
  virtual ~QuickSort();

  // Progress hook, called with the upper index of each sorted sub-range.
  virtual void SetNumDone(int numDone);
  // Negative when element i sorts before element j under klucz, 0 when
  // equal, positive after.
  virtual int PorownajElementy(int klucz, int i, int j) = 0;
  virtual void ZamienElementy(int i, int j) = 0;

  // Sorts elements od..do; returns 0.
  int Sort(int klucz, int od, int do_);

  int KluczSortowania = -1;  // key of the last completed sort
};

}  // namespace druvo
