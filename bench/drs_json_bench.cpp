// The JSON body of a DRS package of 10 to 100,000 fractions, five EANs each,
// and of a coupon confirmation of as many coupons: the time per byte must stay
// flat as the message grows.
#include <benchmark/benchmark.h>

#include <string>

#include "druvo/drs/UVlqCDRS.h"

namespace {

using druvo::AnsiString;

void PackageJson(benchmark::State& state) {
  const int fractions = static_cast<int>(state.range(0));
  druvo::TVLQCompDRSPackage package("W-2026-000123", "S-998877",
                                    "\"2026-12-05T10:15:00\"", "Kasjer 7");
  for (int i = 0; i < fractions; ++i) {
    const int index = package.DodajPackageContent(i % 2 ? "PET" : "ALU");
    for (int e = 0; e < 5; ++e) {
      package.DodajFractionContentDoPackageContent(
          index, "59000000" + std::to_string(10000 + i % 90000), e + 1);
    }
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    const AnsiString json = package.GetJSON();
    bytes = json.size();
    benchmark::DoNotOptimize(json.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.SetComplexityN(fractions);
}

void CouponConfirmJson(benchmark::State& state) {
  const int coupons = static_cast<int>(state.range(0));
  druvo::TVLQCompDRSCouponConfirm confirm;
  for (int i = 0; i < coupons; ++i) {
    confirm.DodajCoupon("K" + std::to_string(i), "P" + std::to_string(i),
                        50 + i % 1000, "Kasjer", i % 3 ? "" : "karta");
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    const AnsiString json = confirm.GetJSON();
    bytes = json.size();
    benchmark::DoNotOptimize(json.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.SetComplexityN(coupons);
}

}  // namespace

BENCHMARK(PackageJson)->RangeMultiplier(10)->Range(10, 100000)->Complexity();
BENCHMARK(CouponConfirmJson)
    ->RangeMultiplier(10)
    ->Range(10, 100000)
    ->Complexity();

BENCHMARK_MAIN();
