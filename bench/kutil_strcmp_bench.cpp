// Sorting 100,000 CP1250 names with the Polish comparison LkStrCmp next to a
// plain byte comparison of the same names.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "druvo/util/KUTIL.h"

namespace {

using druvo::AnsiString;

// Letters of names in CP1250: ASCII and the Polish letters in both cases.
constexpr std::string_view kUpper =
    "ABCDEFGHIJKLMNOPRSTUWZ\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF";
constexpr std::string_view kLower =
    "abcdefghijklmnoprstuwyz\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF";

AnsiString RandomWord(std::mt19937& random) {
  std::uniform_int_distribution<size_t> length(3, 12);
  std::uniform_int_distribution<size_t> upper(0, kUpper.size() - 1);
  std::uniform_int_distribution<size_t> lower(0, kLower.size() - 1);
  AnsiString word(1, kUpper[upper(random)]);
  for (size_t n = length(random); word.size() < n;) {
    word += kLower[lower(random)];
  }
  return word;
}

// Surname and first name, some of them sharing a surname.
const std::vector<AnsiString>& Names() {
  static const std::vector<AnsiString> names = [] {
    std::mt19937 random(20240305);
    std::vector<AnsiString> surnames;
    for (int i = 0; i < 20000; ++i) surnames.push_back(RandomWord(random));
    std::uniform_int_distribution<size_t> pick(0, surnames.size() - 1);
    std::vector<AnsiString> result;
    result.reserve(100000);
    for (int i = 0; i < 100000; ++i) {
      result.push_back(surnames[pick(random)] + ' ' + RandomWord(random));
    }
    return result;
  }();
  return names;
}

template <typename Less>
void SortNames(benchmark::State& state, Less less) {
  const std::vector<AnsiString>& names = Names();
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<AnsiString> copy = names;
    state.ResumeTiming();
    std::sort(copy.begin(), copy.end(), less);
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<int64_t>(names.size()));
}

void BM_SortByteCompare(benchmark::State& state) {
  SortNames(state,
            [](const AnsiString& a, const AnsiString& b) { return a < b; });
}

void BM_SortLkStrCmp(benchmark::State& state) {
  SortNames(state, [](const AnsiString& a, const AnsiString& b) {
    return druvo::LkStrCmp(a, b) < 0;
  });
}

BENCHMARK(BM_SortByteCompare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortLkStrCmp)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
