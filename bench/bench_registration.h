#pragma once
// The benchmark groups, registered by the benchmark program's main, and the
// counters that they report.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdint>

#include "allocation_counter/allocation_counter.h"

namespace loomkeys::bench {

void RegisterTickBenchmarks();
void RegisterRegistryBenchmarks();
void RegisterNamespaceBenchmarks();
void RegisterPowerPointShortcutBenchmarks();
void RegisterDialogViewBenchmarks();

// Adds allocations, bytes and hot-key system calls per operation to the
// report; operationsPerIteration > 1 for benchmarks that time batches.
inline void ReportPerIteration(benchmark::State& state, testing::AllocationCount allocated, uint64_t systemCalls,
                               double operationsPerIteration = 1) {
  const double operations = static_cast<double>(state.iterations()) * operationsPerIteration;
  if (operations == 0) return;
  state.counters["allocs/op"] = static_cast<double>(allocated.allocations) / operations;
  state.counters["bytes/op"] = static_cast<double>(allocated.bytes) / operations;
  state.counters["syscalls/op"] = static_cast<double>(systemCalls) / operations;
}

// Marks a benchmark whose iterations time `operations` operations each: the
// report shows their throughput and the summary the time per operation.
inline void ReportBatch(benchmark::State& state, int operations) {
  state.SetItemsProcessed(state.iterations() * operations);
  state.counters["batch"] = operations;
}

// The processor time of the calling thread, for benchmarks that time only
// part of an iteration: other programs on the machine do not inflate it.
inline double ThreadSeconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace loomkeys::bench
