// The whole KSeF conversion on generated invoices of 10 to 100,000 lines:
// TVLQXmlNode::XmlParse alone, TVLQKonwersjaKSeF::
// KonwertujDaneZXmlNaVelquant5DoTekstu alone on a parsed tree, and both
// together, for a plain invoice and for a correction whose every line has a
// state before (so each line is read twice and compared). After the runs the
// program prints, per size, the conversion's time over the parse's and the
// growth of parse plus conversion from 10,000 to 100,000 lines.
//
// Run with a warm heap, as `make bench` does: GLIBC_TUNABLES set to
// glibc.malloc.trim_threshold=4294967295:glibc.malloc.mmap_threshold=33554432
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "bench/ksef_invoice_generator.h"
#include "bench/recording_reporter.h"
#include "druvo/ksef/UVlqKoKs.h"
#include "druvo/xml/UVlqXml.h"

namespace {

constexpr int kSizes[] = {10, 100, 1000, 10000, 100000};

// The generated invoice turned into a correction: every FaWiersz is preceded
// by a copy of itself marked as the state before, with one more piece.
std::string MakeCorrection(const std::string& invoice) {
  const std::string_view source = invoice;
  const std::string_view open = "<FaWiersz>", close = "</FaWiersz>";
  std::string text;
  text.reserve(invoice.size() * 2 + 64);
  std::size_t done = 0;
  for (;;) {
    const std::size_t start = source.find(open, done);
    if (start == std::string_view::npos) break;
    const std::size_t closing = source.find(close, start);
    const std::size_t end = closing + close.size();
    const std::size_t quantity = source.find("<P_8B>", start) + 6;
    text.append(source.substr(done, start - done));
    text.append(source.substr(start, quantity - start)).append("1");
    text.append(source.substr(quantity, closing - quantity));
    text.append("<StanPrzed>1</StanPrzed>").append(close);
    text.append(source.substr(start, end - start));
    done = end;
  }
  text.append(source.substr(done));
  const std::string kind = "<RodzajFaktury>VAT<";
  text.replace(text.find(kind), kind.size(), "<RodzajFaktury>KOR<");
  return text;
}

const std::string& Invoice(int lines, bool correction) {
  static std::map<std::pair<int, bool>, std::string> cache;
  std::string& text = cache[{lines, correction}];
  if (text.empty()) {
    text = druvo::bench::GenerateKsefInvoice(lines);
    if (correction) text = MakeCorrection(text);
  }
  return text;
}

std::size_t Convert(druvo::TVLQXmlNode& root) {
  druvo::AnsiString edi;
  druvo::TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(
      &root, edi, nullptr, nullptr, "");
  return edi.size();
}

void Parse(benchmark::State& state, bool correction) {
  const std::string& text =
      Invoice(static_cast<int>(state.range(0)), correction);
  druvo::TVLQXmlNode root;
  for (auto _ : state) {
    root.XmlParse(text, true, true);
    benchmark::DoNotOptimize(root.Nodes.data());
  }
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                          static_cast<long long>(text.size()));
}

void ConvertOnly(benchmark::State& state, bool correction) {
  const std::string& text =
      Invoice(static_cast<int>(state.range(0)), correction);
  druvo::TVLQXmlNode root;
  root.XmlParse(text, true, true);
  for (auto _ : state) benchmark::DoNotOptimize(Convert(root));
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                          static_cast<long long>(text.size()));
}

void ParseConvert(benchmark::State& state, bool correction) {
  const std::string& text =
      Invoice(static_cast<int>(state.range(0)), correction);
  druvo::TVLQXmlNode root;
  for (auto _ : state) {
    root.XmlParse(text, true, true);
    benchmark::DoNotOptimize(Convert(root));
  }
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                          static_cast<long long>(text.size()));
}

void RegisterAll() {
  const auto add = [](const std::string& name, bool correction,
                      void (*function)(benchmark::State&, bool)) {
    auto* bench = benchmark::RegisterBenchmark(
        name.c_str(), [function, correction](benchmark::State& state) {
          function(state, correction);
        });
    for (const int lines : kSizes) bench->Arg(lines);
    bench->Unit(benchmark::kMillisecond);
    // With --benchmark_repetitions the summary uses the fastest run.
    bench->ComputeStatistics("min", [](const std::vector<double>& times) {
      return *std::min_element(times.begin(), times.end());
    });
  };
  for (const bool correction : {false, true}) {
    const std::string kind = correction ? "Correction" : "Invoice";
    add(kind + "Parse", correction, Parse);
    add(kind + "Convert", correction, ConvertOnly);
    add(kind + "ParseConvert", correction, ParseConvert);
  }
}

using druvo::bench::RecordingReporter;

void PrintSummary(const RecordingReporter& times, const std::string& kind) {
  std::printf("\n%s\n%8s %10s %12s %12s %14s %16s\n", kind.c_str(), "lines",
              "MB", "parse ms", "convert ms", "convert/parse",
              "parse+convert ms");
  for (const int lines : kSizes) {
    const double parse = times.Time(kind + "Parse", lines);
    const double convert = times.Time(kind + "Convert", lines);
    const double both = times.Time(kind + "ParseConvert", lines);
    if (parse < 0 || convert < 0 || both < 0) continue;
    std::printf(
        "%8d %10.2f %12.3f %12.3f %14.2f %16.3f\n", lines,
        static_cast<double>(Invoice(lines, kind == "Correction").size()) / 1e6,
        parse, convert, convert / parse, both);
  }
  const double small = times.Time(kind + "ParseConvert", 10000);
  const double large = times.Time(kind + "ParseConvert", 100000);
  if (small > 0 && large > 0) {
    std::printf("parse+convert, 100,000 lines over 10,000 lines: %.2fx\n",
                large / small);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAll();
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintSummary(reporter, "Invoice");
  PrintSummary(reporter, "Correction");
  benchmark::Shutdown();
  return 0;
}
