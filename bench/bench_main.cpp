// Runs the benchmarks, then sets each product figure beside the reference
// algorithm's with the ratio, and checks the targets. Figures
// are processor time per operation, so that the other programs of a shared
// machine do not distort them. Exits with 1 when a target is missed.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench_registration.h"

namespace {

// Keeps the processor time per operation of every run (the median of the
// repetitions when there are several) while the console shows them. The
// benchmarks that time only part of an iteration report that part's
// processor time as their manual time; those that time a batch of
// operations per iteration say how many in their "batch" counter.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  explicit SummaryReporter(OutputOptions options) : ConsoleReporter(options) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const std::string& name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name != "median") continue;
        medians_.insert(name);
      } else if (medians_.count(name)) {
        continue;
      }
      const bool manual = run.run_name.time_type == "manual_time";
      const double time = manual ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
      const auto batch = run.counters.find("batch");
      const double operations = batch == run.counters.end() ? 1 : batch->second.value;
      times_[name] = time * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit) / operations;
    }
  }

  // Nanoseconds per operation, or a negative value when the run is missing.
  double Nanoseconds(const std::string& name) const {
    auto it = times_.find(name);
    return it == times_.end() ? -1 : it->second;
  }
  const std::map<std::string, double>& Times() const { return times_; }

 private:
  std::map<std::string, double> times_;
  std::set<std::string> medians_;
};

std::string Readable(double nanoseconds) {
  char text[32];
  if (nanoseconds < 1e3) std::snprintf(text, sizeof text, "%.1f ns", nanoseconds);
  else if (nanoseconds < 1e6) std::snprintf(text, sizeof text, "%.2f us", nanoseconds / 1e3);
  else std::snprintf(text, sizeof text, "%.2f ms", nanoseconds / 1e6);
  return text;
}

void PrintRatios(const SummaryReporter& reporter) {
  const std::string product = "/product", reference = "/reference";
  std::printf("\n%-36s %12s %12s %10s\n", "product against the reference algorithm", "product", "reference", "ratio");
  for (const auto& [name, nanoseconds] : reporter.Times()) {
    if (name.size() <= product.size() || name.compare(name.size() - product.size(), product.size(), product) != 0)
      continue;
    const std::string base = name.substr(0, name.size() - product.size());
    const double other = reporter.Nanoseconds(base + reference);
    if (other < 0) continue;
    std::printf("%-36s %12s %12s %9.0fx\n", base.c_str(), Readable(nanoseconds).c_str(), Readable(other).c_str(),
                other / nanoseconds);
  }
}

// Checks one target whose figures were all measured; a target whose runs
// were filtered out is not reported.
class Targets {
 public:
  explicit Targets(const SummaryReporter& reporter) : reporter_(reporter) {}

  void AtMost(const std::string& what, const std::string& name, double limitNanoseconds) {
    const double measured = reporter_.Nanoseconds(name);
    if (measured < 0) return;
    Report(what, Readable(measured) + " (at most " + Readable(limitNanoseconds) + ")", measured <= limitNanoseconds);
  }
  void FasterBy(const std::string& what, const std::string& base, double factor) {
    const double product = reporter_.Nanoseconds(base + "/product");
    const double reference = reporter_.Nanoseconds(base + "/reference");
    if (product < 0 || reference < 0) return;
    char text[64];
    std::snprintf(text, sizeof text, "%.0fx (at least %.0fx)", reference / product, factor);
    Report(what, text, reference >= factor * product);
  }
  // The growth from the smaller to the larger size is at most the growth of
  // the size itself; only shown when it is not a target.
  void GrowsAtMostLinearly(const std::string& what, const std::string& small, const std::string& large,
                           double sizeRatio, bool target = true) {
    const double a = reporter_.Nanoseconds(small), b = reporter_.Nanoseconds(large);
    if (a < 0 || b < 0) return;
    char text[64];
    std::snprintf(text, sizeof text, "x%.2f for x%.0f the size", b / a, sizeRatio);
    if (target) Report(what, text, b / a <= sizeRatio);
    else std::printf("  %-52s %-34s %s\n", what.c_str(), text, "(shown, not a target)");
  }
  bool AllMet() const { return allMet_; }

 private:
  void Report(const std::string& what, const std::string& figures, bool met) {
    std::printf("  %-52s %-34s %s\n", what.c_str(), figures.c_str(), met ? "met" : "MISSED");
    allMet_ = allMet_ && met;
  }

  const SummaryReporter& reporter_;
  bool allMet_ = true;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  loomkeys::bench::RegisterTickBenchmarks();
  loomkeys::bench::RegisterRegistryBenchmarks();
  loomkeys::bench::RegisterNamespaceBenchmarks();
  loomkeys::bench::RegisterPowerPointShortcutBenchmarks();
  loomkeys::bench::RegisterDialogViewBenchmarks();

  // Colours only for a terminal: the flag that says so reaches only the
  // library's own reporter.
  SummaryReporter reporter(isatty(fileno(stdout)) ? benchmark::ConsoleReporter::OO_Defaults
                                                  : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  PrintRatios(reporter);
  std::printf("\ntargets\n");
  Targets targets(reporter);
  targets.AtMost("steady tick, 4,096 keys x 2 entries", "SteadyTick/4096x2/product", 50e3);
  targets.FasterBy("steady tick, 4,096 keys x 2 entries, against reference", "SteadyTick/4096x2", 20);
  targets.GrowsAtMostLinearly("steady tick from 256 to 4,096 keys (x2 entries)", "SteadyTick/256x2/product",
                              "SteadyTick/4096x2/product", 16);
  targets.GrowsAtMostLinearly("flip tick from 256 to 4,096 keys (x2 entries)", "FlipTick/256x2/product",
                              "FlipTick/4096x2/product", 16, false);
  targets.AtMost("GetNamespaceData2 of 10,000 entries", "GetNamespaceData2/10000/product", 10e6);
  targets.AtMost("LoadNamespace2 of 10,000 entries", "LoadNamespace2/10000/product", 10e6);
  targets.AtMost("dialog refresh, 10,000 commands, empty filter", "DialogRefresh/10000 commands/empty filter", 5e6);
  targets.AtMost("dialog refresh, 10,000 commands, filter a", "DialogRefresh/10000 commands/filter a", 5e6);
  return targets.AllMet() ? 0 : 1;
}
