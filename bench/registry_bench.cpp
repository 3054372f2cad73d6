// Registering and removing one entry while many others are present. Each
// iteration registers a batch of new entries on new keys (so that the key
// must also be looked for and bound) and takes the batch back out, so the
// registry keeps its size; one of the two halves is timed. Timed with the thread's processor time,
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

enum class Timed { kRegister, kUnregister };

// Present entries: two entries on each of present / 2 keys; the batch goes
// onto the keys after them. Each iteration registers the batch and takes it
// back out, and times one of the two.
template <typename World>
void RegisterAndUnregister(benchmark::State& state, size_t present, Timed timed) {
  World world;
  Fill(world.registry, present / 2, 2);
  const std::vector<std::string> contexts = BatchContexts();
  std::vector<uint32_t> ids(kBatch);
  testing::AllocationCount allocated;
  uint64_t calls = 0;
  const auto registerBatch = [&] {
    for (size_t i = 0; i < kBatch; ++i) {
      world.registry.RegisterShortcut2("Batch", KeyNumber(present / 2 + i), kCtrl, kEveryMode, nullptr, contexts[i],
                                       &ids[i]);
    }
  };
  const auto unregisterBatch = [&] {
    for (uint32_t id : ids) world.registry.UnregisterShortcut(id);
  };
  const auto measure = [&](const auto& operation) {
    const AllocationMeter meter;
    const uint64_t callsBefore = world.system.calls;
    const double start = ThreadSeconds();
    operation();
    state.SetIterationTime(ThreadSeconds() - start);
    calls += world.system.calls - callsBefore;
    const testing::AllocationCount since = meter.Since();
    allocated.allocations += since.allocations;
    allocated.bytes += since.bytes;
  };
  for (auto _ : state) {
    if (timed == Timed::kRegister) {
      measure(registerBatch);
      unregisterBatch();
    } else {
      registerBatch();
      measure(unregisterBatch);
    }
  }
  ReportPerIteration(state, allocated, calls, kBatch);
  ReportBatch(state, kBatch);
}

template <typename World>
void RegisterFor(size_t present) {
  const std::string size = std::to_string(present);
  for (const Timed timed : {Timed::kRegister, Timed::kUnregister}) {
    const std::string name = timed == Timed::kRegister ? "RegisterShortcut2/" : "UnregisterShortcut/";
    benchmark::RegisterBenchmark((name + size + "/" + World::kName).c_str(),
                                 [=](benchmark::State& state) { RegisterAndUnregister<World>(state, present, timed); })
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
  }
}

}  // namespace

void RegisterRegistryBenchmarks() {
  for (size_t present : {1000, 10000}) {
    RegisterFor<ProductWorld>(present);
    RegisterFor<ReferenceWorld>(present);
  }
}

}  // namespace loomkeys::bench
