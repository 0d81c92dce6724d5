// The containers' quick sort written plainly and recursively, as a reference.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

namespace druvo::test {

using KeyIds = std::vector<std::pair<int, int>>;  // (key, identity)

// Sorts a[od..do] by key (sign -1: descending); `done` gets each range's do.
inline void ReferenceSort(KeyIds& a, int od, int do_, int sign,
                          std::vector<int>& done) {
  auto cmp = [&](int x, int y) {
    return sign * ((a[x].first > a[y].first) - (a[x].first < a[y].first));
  };
  int i = od, j = do_, p = (od + do_) / 2;
  do {
    while (cmp(i, p) < 0) ++i;
    while (cmp(p, j) < 0) --j;
    if (i <= j) {
      p = p == i ? j : (p == j ? i : p);
      std::swap(a[i++], a[j--]);
    }
  } while (i <= j);
  if (od < j) ReferenceSort(a, od, j, sign, done);
  if (i < do_) ReferenceSort(a, i, do_, sign, done);
  done.push_back(do_);
}

// Keys of the shapes that matter to a quick sort (few distinct, rising,
// falling, equal, rising then falling), numbered in input order.
inline std::vector<KeyIds> SortInputs() {
  std::vector<KeyIds> inputs;
  for (int n : {1, 2, 3, 5, 50, 257}) {
    for (int shape = 0; shape < 5; ++shape) {
      KeyIds keys;
      for (int i = 0; i < n; ++i) {
        const int key[] = {i * 7919 % 61 % 4, i / 3, (n - i) / 3, 1,
                           std::min(i, n - i)};
        keys.emplace_back(key[shape], i);
      }
      inputs.push_back(keys);
    }
  }
  return inputs;
}

}  // namespace druvo::test
