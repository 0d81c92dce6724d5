// The contractor letter-case rules on register data: 100,000 contractor
// records with every field filled, and single texts of 10 kB to 10 MB in each
// mode of the pass, in three shapes (register words, runs of single letters,
// one quotation that never closes). After the runs the growth of the CPU time
// per 10x of text is printed (CPU time, as the machine may be shared); linear
// cost keeps it near 10x.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "druvo/contractors/UVlqIDK.h"

namespace {

// Prints as usual and keeps the fastest CPU time of each benchmark by name.
class CpuTimeReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const double time = run.GetAdjustedCPUTime();
      const auto [slot, added] = times_.emplace(run.run_name.str(), time);
      if (!added) slot->second = std::min(slot->second, time);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Time(const std::string& name, int size) const {
    const auto found = times_.find(name + "/" + std::to_string(size));
    return found == times_.end() ? -1 : found->second;
  }

 private:
  std::map<std::string, double> times_;
};

using druvo::AnsiString;
using druvo::TVLQDaneImpKontrahenta;

constexpr std::string_view kUpper =
    "ABCDEFGHIJKLMNOPRSTUWZ\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF";
constexpr std::string_view kWords[] = {
    "UL.",  "GEN.",   "ALEJE",        "SP.",    "Z",         "O.O.",
    "I",    "W",      "\x84NOVA\x94", "S.C.",   "PPHU",      "-",
    "12/4", "\x8CW.", "OSIEDLE",      "POWIAT", "WARSZAWSKI"};
constexpr int kModes = 3;  // plain, address, name
constexpr int kShapes = 3;
constexpr const char* kShapeNames[] = {"words", "letters", "quote"};
constexpr int kSizes[] = {10000, 100000, 1000000, 10000000};  // bytes

AnsiString RandomWord(std::mt19937& random) {
  std::uniform_int_distribution<int> pick(0, 3);
  if (pick(random) == 0) {
    std::uniform_int_distribution<size_t> word(0, std::size(kWords) - 1);
    return AnsiString(kWords[word(random)]);
  }
  std::uniform_int_distribution<size_t> length(2, 12);
  std::uniform_int_distribution<size_t> letter(0, kUpper.size() - 1);
  AnsiString word;
  for (size_t n = length(random); word.size() < n;) {
    word += kUpper[letter(random)];
  }
  return word;
}

// A text of `size` bytes in the given shape.
AnsiString MakeText(int shape, int size) {
  std::mt19937 random(20261206);
  AnsiString text;
  if (shape == 2) text = "FIRMA \"";
  while (static_cast<int>(text.size()) < size) {
    text += shape == 1 ? AnsiString(1, kUpper[text.size() % 22])
                       : RandomWord(random);
    text += ' ';
  }
  text.resize(static_cast<size_t>(size));
  return text;
}

void BM_Text(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  const int shape = static_cast<int>(state.range(1));
  const AnsiString text = MakeText(shape, static_cast<int>(state.range(2)));
  for (auto _ : state) {
    AnsiString result = TVLQDaneImpKontrahenta::ZmianaWielkosciLiter(
        text, mode == 1, mode == 2);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(text.size()));
}

// A register line of two to six words.
AnsiString RandomLine(std::mt19937& random) {
  std::uniform_int_distribution<int> count(2, 6);
  AnsiString line;
  for (int n = count(random); n > 0; --n) line += RandomWord(random) + ' ';
  return line;
}

void BM_Records(benchmark::State& state) {
  std::mt19937 random(20261206);
  std::vector<AnsiString> lines;
  for (int i = 0; i < 20011; ++i) lines.push_back(RandomLine(random));
  std::vector<TVLQDaneImpKontrahenta> records(100000);
  for (auto _ : state) {
    for (size_t r = 0; r < records.size(); ++r) {
      TVLQDaneImpKontrahenta& k = records[r];
      AnsiString* fields[] = {&k.Tekst1,  &k.Tekst2,  &k.Tekst3,  &k.Tekst4,
                              &k.Tekst5,  &k.Tekst6,  &k.Tekst7,  &k.Tekst8,
                              &k.Tekst9,  &k.Tekst10, &k.Tekst11, &k.Tekst12,
                              &k.Tekst13, &k.Tekst14, &k.Tekst15, &k.Tekst16,
                              &k.Tekst17, &k.Tekst18, &k.Tekst19, &k.Tekst20,
                              &k.Tekst21, &k.Tekst22, &k.Tekst23};
      for (size_t i = 0; i < 23; ++i) {
        *fields[i] = lines[(r * 23 + i) % lines.size()];
      }
      k.UstawDanePierwszaDuzaLitera();
    }
    benchmark::DoNotOptimize(records.data());
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<int64_t>(records.size()));
}

std::string TextName(int mode, int shape) {
  return "BM_Text/" + std::to_string(mode) + "/" + std::to_string(shape);
}

void PrintGrowth(const CpuTimeReporter& times) {
  std::printf(
      "\nmode     shape     10kB->100kB  100kB->1MB  1MB->10MB  (linear: "
      "10x)\n");
  for (int mode = 0; mode < kModes; ++mode) {
    for (int shape = 0; shape < kShapes; ++shape) {
      double t[4];
      for (int i = 0; i < 4; ++i) {
        t[i] = times.Time(TextName(mode, shape), kSizes[i]);
      }
      if (t[0] <= 0 || t[1] <= 0 || t[2] <= 0 || t[3] <= 0) continue;
      std::printf("%-8s %-9s %10.2fx %10.2fx %9.2fx\n",
                  mode == 0   ? "plain"
                  : mode == 1 ? "address"
                              : "name",
                  kShapeNames[shape], t[1] / t[0], t[2] / t[1], t[3] / t[2]);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  for (int mode = 0; mode < kModes; ++mode) {
    for (int shape = 0; shape < kShapes; ++shape) {
      for (int size : kSizes) {
        benchmark::RegisterBenchmark("BM_Text", BM_Text)
            ->Args({mode, shape, size})
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
  benchmark::RegisterBenchmark("BM_Records", BM_Records)
      ->Unit(benchmark::kMillisecond);
  CpuTimeReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintGrowth(reporter);
  benchmark::Shutdown();
  return 0;
}
