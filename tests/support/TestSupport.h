// Small helpers shared by the unit tests.
#pragma once

#include <algorithm>
#include <clocale>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "druvo/platform/TStringList.h"

namespace druvo::test {

// The message of the `ExceptionType` that `call` raises, or "(no exception)".
template <typename ExceptionType = Exception, typename Call>
std::string MessageOf(Call call) {
  try {
    call();
  } catch (const ExceptionType& error) {
    return error.Message;
  }
  return "(no exception)";
}

inline std::vector<WideString> Lines(const TStrings& list) {
  std::vector<WideString> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

// The whole file as bytes; "" when it cannot be read.
inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Switches the C locale to one with a decimal comma for its lifetime, when
// the machine has one (CI generates pl_PL.UTF-8); active() tells.
class CommaLocale {
 public:
  CommaLocale() : saved_(std::setlocale(LC_ALL, nullptr)) {
    // Windows names its locales differently.
    for (const char* name : {"pl_PL.UTF-8", "pl_PL.utf8", "de_DE.UTF-8",
                             "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                             "Polish_Poland.1250", "German_Germany.1252"}) {
      if (std::setlocale(LC_ALL, name) != nullptr &&
          std::string(std::localeconv()->decimal_point) == ",") {
        active_ = true;
        return;
      }
    }
    std::setlocale(LC_ALL, saved_.c_str());
  }
  ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  bool active() const { return active_; }

 private:
  std::string saved_;
  bool active_ = false;
};

// The containers' quick sort written plainly and recursively, as a reference.
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
