// Registering and removing one entry while many others are present. Each
// iteration times a batch of new entries on new keys (so that the key must
// also be looked for and bound); the batch is then taken back out untimed,
// so the registry keeps its size. Timed with the thread's processor time,
// like the other benchmarks' figures; the summary divides by the batch.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_registration.h"
#include "bench_world.h"

namespace loomkeys::bench {
namespace {

constexpr size_t kBatch = 100;

std::vector<std::string> BatchContexts() {
  std::vector<std::string> contexts;
  for (size_t i = 0; i < kBatch; ++i) contexts.push_back(ContextOf(i, 9));
  return contexts;
}

// Present entries: two entries on each of present / 2 keys; the batch goes
// onto the keys after them.
template <typename World>
void Register(benchmark::State& state, size_t present) {
  World world;
  Fill(world.registry, present / 2, 2);
  const std::vector<std::string> contexts = BatchContexts();
  std::vector<uint32_t> ids(kBatch);
  testing::AllocationCount allocated;
  uint64_t calls = 0;
  for (auto _ : state) {
    const AllocationMeter meter;
    const uint64_t callsBefore = world.system.calls;
    const double start = ThreadSeconds();
    for (size_t i = 0; i < kBatch; ++i) {
      world.registry.RegisterShortcut2("Batch", KeyNumber(present / 2 + i), kCtrl, kEveryMode, nullptr, contexts[i],
                                       &ids[i]);
    }
    state.SetIterationTime(ThreadSeconds() - start);
    calls += world.system.calls - callsBefore;
    allocated.allocations += meter.Since().allocations;
    allocated.bytes += meter.Since().bytes;
    for (uint32_t id : ids) world.registry.UnregisterShortcut(id);
  }
  ReportPerIteration(state, allocated, calls, kBatch);
  ReportBatch(state, kBatch);
}

template <typename World>
void Unregister(benchmark::State& state, size_t present) {
  World world;
  Fill(world.registry, present / 2, 2);
  const std::vector<std::string> contexts = BatchContexts();
  std::vector<uint32_t> ids(kBatch);
  testing::AllocationCount allocated;
  uint64_t calls = 0;
  for (auto _ : state) {
    for (size_t i = 0; i < kBatch; ++i) {
      world.registry.RegisterShortcut2("Batch", KeyNumber(present / 2 + i), kCtrl, kEveryMode, nullptr, contexts[i],
                                       &ids[i]);
    }
    const AllocationMeter meter;
    const uint64_t callsBefore = world.system.calls;
    const double start = ThreadSeconds();
    for (uint32_t id : ids) world.registry.UnregisterShortcut(id);
    state.SetIterationTime(ThreadSeconds() - start);
    calls += world.system.calls - callsBefore;
    allocated.allocations += meter.Since().allocations;
    allocated.bytes += meter.Since().bytes;
  }
  ReportPerIteration(state, allocated, calls, kBatch);
  ReportBatch(state, kBatch);
}

template <typename World>
void RegisterFor(size_t present) {
  const std::string size = std::to_string(present);
  benchmark::RegisterBenchmark(("RegisterShortcut2/" + size + "/" + World::kName).c_str(),
                               [=](benchmark::State& state) { Register<World>(state, present); })
      ->UseManualTime()
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark(("UnregisterShortcut/" + size + "/" + World::kName).c_str(),
                               [=](benchmark::State& state) { Unregister<World>(state, present); })
      ->UseManualTime()
      ->Unit(benchmark::kMicrosecond);
}

}  // namespace

void RegisterRegistryBenchmarks() {
  for (size_t present : {1000, 10000}) {
    RegisterFor<ProductWorld>(present);
    RegisterFor<ReferenceWorld>(present);
  }
}

}  // namespace loomkeys::bench
