// Sorting and searching the record containers next to std::sort:
// DataBufBase::Sortuj of an IntArray of 1,000,000 records (random and
// already sorted) against std::sort of a std::vector<int*> comparing through
// a virtual call; SzukajNr of every value after the sort (at 100,000 and
// 1,000,000 records, to show the logarithmic growth per search); QuickSort
// over a std::vector<int> through its two virtual operations against
// std::sort of the same vector (plain, and comparing through a virtual
// call); and Sortuj of 10,000,000 records already
// sorted, reversed and all equal. After the runs the program prints the
// ratios.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/recording_reporter.h"
#include "druvo/containers/INTARRAY.h"
#include "druvo/containers/QSORT.h"

namespace {

using druvo::IntArray;
using druvo::IntArrayRec;

constexpr int kMillion = 1'000'000;

const std::vector<int>& Values(bool sorted) {
  static const std::vector<int> random = [] {
    std::mt19937 engine(20261206);
    std::vector<int> values(kMillion);
    for (int& v : values) v = static_cast<int>(engine() % 2'000'000'000);
    return values;
  }();
  static const std::vector<int> ordered = [] {
    std::vector<int> values = random;
    std::sort(values.begin(), values.end());
    return values;
  }();
  return sorted ? ordered : random;
}

IntArray MakeArray(const std::vector<int>& values) {
  IntArray array;
  for (int v : values) array.addInt(v);
  return array;
}

// The comparison of the baseline, called through a virtual function as the
// buffer calls Porownaj.
struct IntComparer {
  virtual ~IntComparer() = default;
  virtual int Porownaj(const int* a, const int* b) const {
    return (*a > *b) - (*a < *b);
  }
};

void BM_Sortuj(benchmark::State& state, bool sorted) {
  const IntArray master = MakeArray(Values(sorted));
  for (auto _ : state) {
    state.PauseTiming();
    IntArray array = master;
    state.ResumeTiming();
    array.Sortuj(0, 1);
  }
}

void BM_StdSortPointers(benchmark::State& state, bool sorted) {
  std::vector<std::unique_ptr<int>> owned;
  std::vector<int*> master;
  for (int v : Values(sorted)) {
    owned.push_back(std::make_unique<int>(v));
    master.push_back(owned.back().get());
  }
  IntComparer comparer;
  const IntComparer* compare = &comparer;
  benchmark::DoNotOptimize(compare);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<int*> pointers = master;
    state.ResumeTiming();
    std::sort(pointers.begin(), pointers.end(), [compare](int* a, int* b) {
      return compare->Porownaj(a, b) < 0;
    });
    benchmark::DoNotOptimize(pointers.data());
  }
}

// Counts the comparisons of the searches.
class CountingArray : public IntArray {
 public:
  int Porownaj(int klucz, const druvo::DataRecBase* a,
               const druvo::DataRecBase* b) override {
    ++compares;
    return IntArray::Porownaj(klucz, a, b);
  }
  long long compares = 0;
};

void BM_SzukajEach(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<int> values(Values(false).begin(), Values(false).begin() + n);
  CountingArray array;
  for (int v : values) array.addInt(v);
  array.Sortuj(0, 1);
  array.compares = 0;
  for (auto _ : state) {
    int found = 0;
    for (int v : values) {
      IntArrayRec probe(v);
      int i = 0;
      found += array.SzukajNr(0, &probe, i);
    }
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations() * n);
  state.counters["compares_per_search"] =
      static_cast<double>(array.compares) / (state.iterations() * n);
}

class VectorSort : public druvo::QuickSort {
 public:
  explicit VectorSort(std::vector<int>& values) : values_(values) {}
  int PorownajElementy(int /*klucz*/, int i, int j) override {
    return (values_[i] > values_[j]) - (values_[i] < values_[j]);
  }
  void ZamienElementy(int i, int j) override {
    std::swap(values_[i], values_[j]);
  }

 private:
  std::vector<int>& values_;
};

void BM_QuickSort(benchmark::State& state, bool sorted) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<int> values = Values(sorted);
    VectorSort sorter(values);
    state.ResumeTiming();
    sorter.Sort(0, 0, kMillion - 1);
  }
}

void BM_StdSortVectorVirtual(benchmark::State& state, bool sorted) {
  IntComparer comparer;
  const IntComparer* compare = &comparer;
  benchmark::DoNotOptimize(compare);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<int> values = Values(sorted);
    state.ResumeTiming();
    std::sort(values.begin(), values.end(), [compare](int& a, int& b) {
      return compare->Porownaj(&a, &b) < 0;
    });
    benchmark::DoNotOptimize(values.data());
  }
}

void BM_StdSortVector(benchmark::State& state, bool sorted) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<int> values = Values(sorted);
    state.ResumeTiming();
    std::sort(values.begin(), values.end());
    benchmark::DoNotOptimize(values.data());
  }
}

// Ten million records in orders that defeat a naive quick sort's stack.
void BM_Sortuj10M(benchmark::State& state) {
  const int n = 10'000'000;
  const int shape = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    IntArray array;
    for (int i = 0; i < n; ++i)
      array.addInt(shape == 0 ? i : shape == 1 ? n - i : 5);
    state.ResumeTiming();
    array.Sortuj(0, 1);
    state.PauseTiming();
    array.Czysc();
    state.ResumeTiming();
  }
}

void RegisterAll() {
  for (bool sorted : {false, true}) {
    const char* suffix = sorted ? "Sorted" : "Random";
    auto add = [&](const char* name, void (*run)(benchmark::State&, bool)) {
      benchmark::RegisterBenchmark((std::string(name) + suffix).c_str(), run,
                                   sorted)
          ->Arg(kMillion)
          ->Unit(benchmark::kMillisecond);
    };
    add("Sortuj", BM_Sortuj);
    add("StdSortPointers", BM_StdSortPointers);
    add("QuickSort", BM_QuickSort);
    add("StdSortVectorVirtual", BM_StdSortVectorVirtual);
    add("StdSortVector", BM_StdSortVector);
  }
  benchmark::RegisterBenchmark("SzukajEach", BM_SzukajEach)
      ->Arg(100'000)
      ->Arg(kMillion)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Sortuj10M", BM_Sortuj10M)
      ->DenseRange(0, 2)
      ->Iterations(1)
      ->Unit(benchmark::kMillisecond);
}

// Keeps the fastest CPU time of each run as well: on a shared machine the
// real time measures the neighbours too.
class CpuRecordingReporter : public druvo::bench::RecordingReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate) continue;
      const double time = run.GetAdjustedCPUTime();
      const auto [slot, added] = cpu_.emplace(run.run_name.str(), time);
      if (!added) slot->second = std::min(slot->second, time);
    }
    RecordingReporter::ReportRuns(runs);
  }
  double Cpu(const std::string& name, int size) const {
    const auto found = cpu_.find(name + "/" + std::to_string(size));
    return found == cpu_.end() ? -1 : found->second;
  }

 private:
  std::map<std::string, double> cpu_;
};

void PrintRatios(const CpuRecordingReporter& times) {
  std::printf("\nRatios at %d elements, real time (CPU time):\n", kMillion);
  auto ratio = [&](const std::string& a, const std::string& b) {
    const double real = times.Time(a, kMillion) / times.Time(b, kMillion);
    const double cpu = times.Cpu(a, kMillion) / times.Cpu(b, kMillion);
    if (times.Time(a, kMillion) < 0 || times.Time(b, kMillion) < 0) {
      std::printf("(not run)");
    } else {
      std::printf("%.2f (%.2f)", real, cpu);
    }
  };
  for (const std::string s : {"Random", "Sorted"}) {
    std::printf("  %s: Sortuj / std::sort(int*, virtual) ", s.c_str());
    ratio("Sortuj" + s, "StdSortPointers" + s);
    std::printf("\n    QuickSort / std::sort(int, virtual) ");
    ratio("QuickSort" + s, "StdSortVectorVirtual" + s);
    std::printf("; QuickSort / std::sort(int) ");
    ratio("QuickSort" + s, "StdSortVector" + s);
    std::printf("\n");
  }
  const double small = times.Cpu("SzukajEach", 100'000) / 100'000;
  const double large = times.Cpu("SzukajEach", kMillion) / kMillion;
  if (small < 0 || large < 0) return;
  std::printf(
      "  SzukajNr per search, CPU: %.0f ns at 100,000, %.0f ns at "
      "1,000,000 records (see compares_per_search)\n",
      small * 1e6, large * 1e6);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAll();
  CpuRecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintRatios(reporter);
  benchmark::Shutdown();
  return 0;
}
