#include "druvo/containers/QSORT.h"

namespace druvo {

QuickSort::QuickSort() = default;

QuickSort::~QuickSort() = default;

void QuickSort::SetNumDone(int /*numDone*/) {}

int QuickSort::Sort(int klucz, int od, int do_) {
  if (od > do_) return 0;
  qsort_detail::SortInOrder(
      od, do_, [&](int i, int j) { return PorownajElementy(klucz, i, j); },
      [&](int i, int j) { ZamienElementy(i, j); },
      [&](int upper) { SetNumDone(upper); });
  KluczSortowania = klucz;
  return 0;
}

}  // namespace druvo
