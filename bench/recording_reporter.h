// A Google Benchmark reporter that prints as usual and keeps the fastest real
// time of each benchmark by name, so that a program can print ratios after
// its runs (with or without --benchmark_repetitions).
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace druvo::bench {

class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // The fastest run counts: single runs, or the "min" of repetitions.
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "min") {
        continue;
      }
      const double time = run.GetAdjustedRealTime();
      const auto [slot, added] = times_.emplace(run.run_name.str(), time);
      if (!added) slot->second = std::min(slot->second, time);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // Milliseconds of `name`/`lines`, or -1 when it did not run.
  double Time(const std::string& name, int lines) const {
    const auto found = times_.find(name + "/" + std::to_string(lines));
    return found == times_.end() ? -1 : found->second;
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace druvo::bench
