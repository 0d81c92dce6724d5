// TVLQXmlNode::XmlParse on generated KSeF invoices of 10 to 100,000 lines:
// the parse alone, and the parse plus a walk that reads P_7, P_8B and P_9A of
// every FaWiersz. With pugixml the same documents are parsed by load_buffer
// and walked the same way. After the runs the program prints our time over
// pugixml's per size, the growth from 10,000 to 100,000 lines, and the peak
// heap of one parse (counted by a replaced operator new and, for pugixml, by
// its allocation hooks) relative to the document's size.
//
// Run with a warm heap, as `make bench` does: GLIBC_TUNABLES set to
// glibc.malloc.trim_threshold=4294967295:glibc.malloc.mmap_threshold=33554432
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "bench/ksef_invoice_generator.h"
#include "bench/recording_reporter.h"
#include "druvo/xml/UVlqXml.h"

#ifdef DRUVO_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

namespace {

// Heap accounting, switched on only while a memory figure is taken.
bool g_counting = false;
long long g_current = 0;
long long g_peak = 0;

void CountAllocation(void* p) {
  if (!g_counting || p == nullptr) return;
  g_current += static_cast<long long>(malloc_usable_size(p));
  g_peak = std::max(g_peak, g_current);
}

void CountRelease(void* p) {
  if (g_counting && p != nullptr) {
    g_current -= static_cast<long long>(malloc_usable_size(p));
  }
}

void* CountingMalloc(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  CountAllocation(p);
  return p;
}

void CountingFree(void* p) {
  CountRelease(p);
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) {
  void* p = CountingMalloc(size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { CountingFree(p); }
void operator delete[](void* p) noexcept { CountingFree(p); }
void operator delete(void* p, std::size_t) noexcept { CountingFree(p); }
void operator delete[](void* p, std::size_t) noexcept { CountingFree(p); }

namespace {

constexpr int kSizes[] = {10, 100, 1000, 10000, 100000};

const std::string& Invoice(int lines) {
  static std::map<int, std::string> cache;
  std::string& text = cache[lines];
  if (text.empty()) text = druvo::bench::GenerateKsefInvoice(lines);
  return text;
}

std::size_t WalkDruvo(const druvo::TVLQXmlNode& root) {
  std::size_t bytes = 0;
  const druvo::TVLQXmlNode* fa = root.GetNodeByName("Fa");
  for (const auto& line : fa->Nodes) {
    if (line->Name != "FaWiersz") continue;
    for (const char* field : {"P_7", "P_8B", "P_9A"}) {
      if (const druvo::TVLQXmlNode* node = line->GetNodeByName(field)) {
        bytes += node->Value.size();
      }
    }
  }
  return bytes;
}

void DruvoParse(benchmark::State& state) {
  const std::string& text = Invoice(static_cast<int>(state.range(0)));
  druvo::TVLQXmlNode root;
  for (auto _ : state) {
    root.XmlParse(text, true, true);
    benchmark::DoNotOptimize(root.Nodes.data());
  }
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                          static_cast<long long>(text.size()));
}

void DruvoParseWalk(benchmark::State& state) {
  const std::string& text = Invoice(static_cast<int>(state.range(0)));
  druvo::TVLQXmlNode root;
  for (auto _ : state) {
    root.XmlParse(text, true, true);
    benchmark::DoNotOptimize(WalkDruvo(root));
  }
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                          static_cast<long long>(text.size()));
}

#ifdef DRUVO_HAVE_PUGIXML
std::size_t WalkPugi(const pugi::xml_document& document) {
  std::size_t bytes = 0;
  const pugi::xml_node fa = document.child("Faktura").child("Fa");
  for (const pugi::xml_node line : fa.children("FaWiersz")) {
    for (const char* field : {"P_7", "P_8B", "P_9A"}) {
      bytes += std::strlen(line.child_value(field));
    }
  }
  return bytes;
}

void PugiParse(benchmark::State& state) {
  const std::string& text = Invoice(static_cast<int>(state.range(0)));
  pugi::xml_document document;
  for (auto _ : state) {
    benchmark::DoNotOptimize(document.load_buffer(text.data(), text.size()));
  }
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                          static_cast<long long>(text.size()));
}

void PugiParseWalk(benchmark::State& state) {
  const std::string& text = Invoice(static_cast<int>(state.range(0)));
  pugi::xml_document document;
  for (auto _ : state) {
    document.load_buffer(text.data(), text.size());
    benchmark::DoNotOptimize(WalkPugi(document));
  }
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) *
                          static_cast<long long>(text.size()));
}
#endif

void RegisterAll() {
  const auto add = [](const char* name, void (*function)(benchmark::State&)) {
    auto* bench = benchmark::RegisterBenchmark(name, function);
    for (const int lines : kSizes) bench->Arg(lines);
    bench->Unit(benchmark::kMillisecond);
    bench->ComputeStatistics("min", [](const std::vector<double>& times) {
      return *std::min_element(times.begin(), times.end());
    });
  };
  add("DruvoParse", DruvoParse);
  add("DruvoParseWalk", DruvoParseWalk);
#ifdef DRUVO_HAVE_PUGIXML
  add("PugiParse", PugiParse);
  add("PugiParseWalk", PugiParseWalk);
#endif
}

using druvo::bench::RecordingReporter;

void PrintRatio(double ours, double theirs) {
  if (ours > 0 && theirs > 0) {
    std::printf("  %8.2fx", ours / theirs);
  } else {
    std::printf("  %9s", "-");
  }
}

void PrintComparison(const RecordingReporter& times) {
  std::printf("\n%8s %10s %12s %12s %9s %12s %12s %9s\n", "lines", "MB",
              "druvo ms", "pugixml ms", "ratio", "druvo+walk", "pugi+walk",
              "ratio");
  for (const int lines : kSizes) {
    const double ours = times.Time("DruvoParse", lines);
    const double theirs = times.Time("PugiParse", lines);
    const double oursWalk = times.Time("DruvoParseWalk", lines);
    const double theirsWalk = times.Time("PugiParseWalk", lines);
    if (ours < 0) continue;
    std::printf("%8d %10.2f %12.3f %12.3f", lines,
                static_cast<double>(Invoice(lines).size()) / 1e6, ours, theirs);
    PrintRatio(ours, theirs);
    std::printf(" %12.3f %12.3f", oursWalk, theirsWalk);
    PrintRatio(oursWalk, theirsWalk);
    std::printf("\n");
  }
  const double small = times.Time("DruvoParseWalk", 10000);
  const double large = times.Time("DruvoParseWalk", 100000);
  if (small > 0 && large > 0) {
    std::printf("druvo parse+walk, 100,000 lines over 10,000 lines: %.2fx\n",
                large / small);
  }
}

// Peak heap above what was in use before, while `parse` runs and the tree
// it builds is alive.
template <typename F>
long long PeakHeap(F parse) {
  g_current = 0;
  g_peak = 0;
  g_counting = true;
  parse();
  g_counting = false;
  return g_peak;
}

void PrintMemory(int lines) {
  const std::string& text = Invoice(lines);
  const double size = static_cast<double>(text.size());
  long long ours = 0;
  {
    druvo::TVLQXmlNode root;
    ours = PeakHeap([&] { root.XmlParse(text, true, true); });
  }
  std::printf(
      "peak heap of one parse, %d lines (%.0f bytes): druvo %lld bytes = "
      "%.3fx the document",
      lines, size, ours, static_cast<double>(ours) / size);
#ifdef DRUVO_HAVE_PUGIXML
  pugi::set_memory_management_functions(CountingMalloc, CountingFree);
  long long theirs = 0;
  {
    pugi::xml_document document;
    theirs = PeakHeap([&] { document.load_buffer(text.data(), text.size()); });
  }
  std::printf(", pugixml %lld bytes = %.3fx", theirs,
              static_cast<double>(theirs) / size);
#endif
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAll();
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintComparison(reporter);
  PrintMemory(100000);
  benchmark::Shutdown();
  return 0;
}
