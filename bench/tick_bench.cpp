// The 50 ms tick's mode filter: ApplyActiveMode with ApplyKeySets, when
// nothing changes (the tick that runs all day long) and when every key flips.
#include <benchmark/benchmark.h>

#include "bench_registration.h"
#include "bench_world.h"

namespace loomkeys::bench {
namespace {

template <typename World>
void SteadyTick(benchmark::State& state, size_t keys, size_t entriesPerKey) {
  World world;
  Fill(world.registry, keys, entriesPerKey);
  world.registry.ApplyActiveMode(kWindow, kModeSlideDesign);  // the first tick binds and unbinds
  const uint64_t callsBefore = world.system.calls;
  const AllocationMeter meter;
  for (auto _ : state) world.registry.ApplyActiveMode(kWindow, kModeSlideDesign);
  ReportPerIteration(state, meter.Since(), world.system.calls - callsBefore);
}

// Every entry wants every mode; the ticks alternate between slide design,
// which makes every key live, and no PowerPoint window, which kills them all.
template <typename World>
void FlipTick(benchmark::State& state, size_t keys, size_t entriesPerKey) {
  World world;
  Fill(world.registry, keys, entriesPerKey, kEveryMode);
  world.registry.ApplyActiveMode(kWindow, kModeSlideDesign);
  const uint64_t callsBefore = world.system.calls;
  const AllocationMeter meter;
  uint16_t mode = kModeSlideDesign;
  for (auto _ : state) {
    mode = mode == kModeNone ? kModeSlideDesign : kModeNone;
    world.registry.ApplyActiveMode(kWindow, mode);
  }
  ReportPerIteration(state, meter.Since(), world.system.calls - callsBefore);
}

template <typename World>
void RegisterFor(size_t keys, size_t entriesPerKey) {
  const std::string size = std::to_string(keys) + "x" + std::to_string(entriesPerKey);
  benchmark::RegisterBenchmark(("SteadyTick/" + size + "/" + World::kName).c_str(), [=](benchmark::State& state) {
    SteadyTick<World>(state, keys, entriesPerKey);
  })->Unit(benchmark::kMicrosecond);
  if (entriesPerKey == 2) {
    benchmark::RegisterBenchmark(("FlipTick/" + size + "/" + World::kName).c_str(), [=](benchmark::State& state) {
      FlipTick<World>(state, keys, entriesPerKey);
    })->Unit(benchmark::kMicrosecond);
  }
}

}  // namespace

void RegisterTickBenchmarks() {
  for (size_t keys : {16, 256, 1024, 4096}) {
    for (size_t entriesPerKey : {1, 2, 5}) {
      RegisterFor<ProductWorld>(keys, entriesPerKey);
      RegisterFor<ReferenceWorld>(keys, entriesPerKey);
    }
  }
}

}  // namespace loomkeys::bench
