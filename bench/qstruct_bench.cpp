// Structure definitions and arrays of structures.
//
// - QXmlParse and TQStruct::initialize of definitions with 1,000 to 1,000,000
//   fields (names in shuffled order, all four scalar kinds); after the runs the
//   program prints the growth per tenfold size, which must stay under 12x.
// - TQArray::Sort of 100,000 rows by one integer key and by a text key then
//   an integer key, next to std::sort of the same rows (a vector of the rows'
//   cells) with a comparison that reads the same cells the same way.
// - TQStruct::getFieldByName over every field of structures of 50 and 5,000
//   fields: the cost per lookup grows with the logarithm of the field count.
//
// Run with a warm heap, as `make bench` does.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/recording_reporter.h"
#include "druvo/qstruct/QSTRUCT.h"
#include "druvo/qstruct/QXML.h"
#include "druvo/util/KUTIL.h"

namespace {

using druvo::AnsiString;
using druvo::TQArray;
using druvo::TQInteger;
using druvo::TQString;
using druvo::TQStruct;
using druvo::TQXmlNode;

constexpr int kFieldCounts[] = {1000, 10000, 100000, 1000000};
constexpr int kRows = 100000;

// Field names f0 .. f<n-1> in a shuffled order.
std::vector<std::string> FieldNames(int count) {
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    names.push_back(std::to_string(i));
    names.back().insert(names.back().begin(), 'f');
  }
  std::shuffle(names.begin(), names.end(), std::mt19937(11));
  return names;
}

const std::string& Definition(int fields) {
  static std::map<int, std::string> cache;
  std::string& text = cache[fields];
  if (!text.empty()) return text;
  static const char* const kinds[] = {"qdtInteger", "qdtDouble", "qdtString",
                                      "qdtDateTime"};
  text = "<TQStruct>\n<Type>Generated</Type>\n<Fields>\n";
  int k = 0;
  for (const std::string& name : FieldNames(fields)) {
    text += "  <TQStructField><FieldName>" + name + "</FieldName><FieldType>" +
            kinds[k++ % 4] + "</FieldType></TQStructField>\n";
  }
  text += "</Fields>\n</TQStruct>\n";
  return text;
}

void ParseDefinition(benchmark::State& state) {
  const std::string& text = Definition(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TQXmlNode root;
    AnsiString rest = text;
    root.QXmlParse(rest);
    benchmark::DoNotOptimize(root.getCount());
  }
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                          static_cast<long long>(text.size()));
}

void InitializeStruct(benchmark::State& state) {
  const std::string& text = Definition(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TQStruct structure;
    structure.initialize(text);
    benchmark::DoNotOptimize(structure.getFieldCount());
  }
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                          static_cast<long long>(text.size()));
}

// 100,000 people with surnames from a pool of 5,000 (so that the second key
// matters) and ages 0..99, in random order.
const TQArray& People() {
  static const std::unique_ptr<TQArray> people = [] {
    auto array = std::make_unique<TQArray>();
    array->initialize(
        "<TQArray><Type>Osoby</Type><ArrayFields><TQStruct><Type>Osoba</Type>"
        "<Fields><TQStructField><FieldName>Nazwisko</FieldName><FieldType>"
        "qdtString</FieldType></TQStructField><TQStructField><FieldName>Wiek"
        "</FieldName><FieldType>qdtInteger</FieldType></TQStructField>"
        "</Fields></TQStruct></ArrayFields></TQArray>");
    TQStruct row;
    array->createCompatibleStruct(&row);
    std::mt19937 random(20240305);
    std::uniform_int_distribution<int> surname(0, 4999);
    std::uniform_int_distribution<int> age(0, 99);
    for (int i = 0; i < kRows; ++i) {
      row.setValueAsString("Nazwisko",
                           "Nazwisko" + std::to_string(surname(random)));
      row.setValueAsInteger("Wiek", age(random));
      array->addRow(&row);
    }
    return array;
  }();
  return *people;
}

// range(0): 1 sorts by Wiek, 2 by Nazwisko then Wiek.
void ArraySort(benchmark::State& state) {
  const char* keys = state.range(0) == 1 ? "Wiek" : "Nazwisko\nWiek";
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<TQArray> copy(static_cast<TQArray*>(People().duplicate()));
    state.ResumeTiming();
    copy->Sort(keys, true);
    state.PauseTiming();
    copy.reset();
    state.ResumeTiming();
  }
}

// The same rows for std::sort: each row's two cells.
struct RowCells {
  const TQString* nazwisko;
  const TQInteger* wiek;
};

void StdSort(benchmark::State& state) {
  const bool twoKeys = state.range(0) == 2;
  const TQArray& people = People();
  std::vector<RowCells> rows;
  for (int i = 0; i < people.getRowCount(); ++i) {
    rows.push_back(
        {static_cast<const TQString*>(people.getFieldByName(i, "Nazwisko")),
         static_cast<const TQInteger*>(people.getFieldByName(i, "Wiek"))});
  }
  const auto byAge = [](const RowCells& a, const RowCells& b) {
    return a.wiek->getAsInteger() < b.wiek->getAsInteger();
  };
  const auto byNameAge = [](const RowCells& a, const RowCells& b) {
    const int c =
        druvo::LkStrCmp(a.nazwisko->getAsString(), b.nazwisko->getAsString());
    if (c != 0) return c < 0;
    return a.wiek->getAsInteger() < b.wiek->getAsInteger();
  };
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<RowCells> copy = rows;
    state.ResumeTiming();
    if (twoKeys) {
      std::sort(copy.begin(), copy.end(), byNameAge);
    } else {
      std::sort(copy.begin(), copy.end(), byAge);
    }
    benchmark::DoNotOptimize(copy.data());
  }
}

void FieldLookup(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TQStruct structure;
  structure.initialize(Definition(count));
  const std::vector<std::string> names = FieldNames(count);
  for (auto _ : state) {
    for (const std::string& name : names) {
      benchmark::DoNotOptimize(structure.getFieldByName(name));
    }
  }
  state.SetItemsProcessed(static_cast<long long>(state.iterations()) * count);
}

void RegisterAll() {
  const auto min = [](benchmark::internal::Benchmark* bench) {
    bench->Unit(benchmark::kMillisecond);
    bench->ComputeStatistics("min", [](const std::vector<double>& times) {
      return *std::min_element(times.begin(), times.end());
    });
  };
  for (auto* bench :
       {benchmark::RegisterBenchmark("ParseDefinition", ParseDefinition),
        benchmark::RegisterBenchmark("InitializeStruct", InitializeStruct)}) {
    for (const int fields : kFieldCounts) bench->Arg(fields);
    min(bench);
  }
  min(benchmark::RegisterBenchmark("ArraySort", ArraySort)->Arg(1)->Arg(2));
  min(benchmark::RegisterBenchmark("StdSort", StdSort)->Arg(1)->Arg(2));
  benchmark::RegisterBenchmark("GetFieldByName", FieldLookup)
      ->Arg(50)
      ->Arg(5000)
      ->Unit(benchmark::kNanosecond);
}

using druvo::bench::RecordingReporter;

void PrintGrowth(const RecordingReporter& times, const char* name) {
  std::printf("%s growth per 10x fields:", name);
  for (std::size_t i = 1; i < std::size(kFieldCounts); ++i) {
    const double small = times.Time(name, kFieldCounts[i - 1]);
    const double large = times.Time(name, kFieldCounts[i]);
    if (small > 0 && large > 0) {
      std::printf("  %d->%d: %.2fx", kFieldCounts[i - 1], kFieldCounts[i],
                  large / small);
    }
  }
  std::printf("\n");
}

void PrintSortRatio(const RecordingReporter& times, int keys) {
  const double array = times.Time("ArraySort", keys);
  const double standard = times.Time("StdSort", keys);
  if (array > 0 && standard > 0) {
    std::printf(
        "Sort of %d rows by %s: TQArray::Sort %.1f ms, std::sort "
        "%.1f ms, ratio %.2fx\n",
        kRows, keys == 1 ? "Wiek" : "Nazwisko, Wiek", array, standard,
        array / standard);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAll();
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  PrintGrowth(reporter, "ParseDefinition");
  PrintGrowth(reporter, "InitializeStruct");
  PrintSortRatio(reporter, 1);
  PrintSortRatio(reporter, 2);
  benchmark::Shutdown();
  return 0;
}
