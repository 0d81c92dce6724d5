// The WiseBase text readers and the deep copy of a WiseBase goods record on
// growing inputs: hex to text and back over 1 KB to 1 MB, splitting a
// category path of 10 to 100,000 items, and copying a record with 10 to
// 100,000 packages. After the runs the program prints the growth of each from
// the second-largest to the largest size (10 means linear).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/recording_reporter.h"
#include "druvo/goods/UVlqWBTw.h"

namespace {

using druvo::AnsiString;
using druvo::TVLQWiseBaseTools;

constexpr int kSizes[] = {10, 100, 1000, 10000, 100000};

AnsiString Bytes(int count) {
  AnsiString text;
  for (int i = 0; i < count; ++i) text += static_cast<char>(i * 131 % 256);
  return text;
}

void BM_StringToHex(benchmark::State& state) {
  const AnsiString text = Bytes(static_cast<int>(state.range(0)) * 10);
  for (auto _ : state) {
    benchmark::DoNotOptimize(TVLQWiseBaseTools::StringToHex(text));
  }
  state.SetBytesProcessed(state.iterations() * state.range(0) * 10);
}

void BM_HexToString(benchmark::State& state) {
  const AnsiString hex = TVLQWiseBaseTools::StringToHex(
      Bytes(static_cast<int>(state.range(0)) * 10));
  for (auto _ : state) {
    benchmark::DoNotOptimize(TVLQWiseBaseTools::HexToString(hex));
  }
  state.SetBytesProcessed(state.iterations() * state.range(0) * 10);
}

void BM_ParsePath(benchmark::State& state) {
  AnsiString path;
  for (int i = 0; i < state.range(0); ++i)
    path +=
        "Ogr\xF3"
        "d \"a/b\"/";
  for (auto _ : state) {
    druvo::TVLQWiseBaseCategory category;
    category.Sciezka = path;
    category.Separator = "/";
    benchmark::DoNotOptimize(category.GetPathCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_CopyGoodsRecord(benchmark::State& state) {
  druvo::TVLQWiseBaseDaneTowaru record;
  for (int i = 0; i < state.range(0); ++i) {
    auto* package = new druvo::TVLQWiseBasePackage();
    package->AddPackageEAN("5900000000001");
    package->AddPackageParam(
        new druvo::TVLQWiseBasePackageParam("waga", "kg", "", i));
    package->AddPackageParamMultipleValue(0, 0.5f);
    record.DodajPackage(package);
  }
  for (auto _ : state) {
    druvo::TVLQWiseBaseDaneTowaru copy(record);
    benchmark::DoNotOptimize(copy.Opakowania.Count());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void AddSizes(benchmark::internal::Benchmark* benchmark) {
  for (int size : kSizes) benchmark->Arg(size);
  benchmark->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_StringToHex)->Apply(AddSizes);
BENCHMARK(BM_HexToString)->Apply(AddSizes);
BENCHMARK(BM_ParsePath)->Apply(AddSizes);
BENCHMARK(BM_CopyGoodsRecord)->Apply(AddSizes);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  druvo::bench::RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  for (const char* name : {"BM_StringToHex", "BM_HexToString", "BM_ParsePath",
                           "BM_CopyGoodsRecord"}) {
    const double small = reporter.Time(name, 10000);
    const double large = reporter.Time(name, 100000);
    if (small > 0 && large > 0) {
      std::printf("%-20s growth 10,000 -> 100,000: %.1fx\n", name,
                  large / small);
    }
  }
  return 0;
}
