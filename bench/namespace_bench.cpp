// Saving a namespace of 10,000 entries as blob text (GetNamespaceData2, with
// the size asked first as a client does) and loading that text into an
// empty registry (LoadNamespace2).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_registration.h"
#include "bench_world.h"

namespace loomkeys::bench {
namespace {

constexpr size_t kEntries = 10000;
constexpr const char* kNamespace = "Deck";
constexpr BlobLayout kLayout = BlobLayout::kWithActiveMode;

// One entry of the namespace on each of kEntries keys, beside another
// namespace's entries on the same keys.
template <typename Registry>
void FillNamespace(Registry& registry) {
  for (size_t k = 0; k < kEntries; ++k) {
    const auto mode = static_cast<uint16_t>(k % 3 + 1);
    registry.RegisterShortcut2("Other", KeyNumber(k), kCtrl, mode, nullptr, ContextOf(k, 0), nullptr);
    registry.RegisterShortcut2(kNamespace, KeyNumber(k), kCtrl, mode, nullptr, ContextOf(k, 1), nullptr);
  }
}

template <typename Registry>
std::string Save(Registry& registry) {
  std::string text(registry.GetNamespaceDataSize(kNamespace, kLayout), '\0');
  auto size = static_cast<uint32_t>(text.size());
  registry.GetNamespaceData(kNamespace, kLayout, text.data(), &size);
  return text;
}

template <typename World>
void SaveNamespace(benchmark::State& state) {
  World world;
  FillNamespace(world.registry);
  std::string buffer;
  const AllocationMeter meter;
  for (auto _ : state) {
    auto size = world.registry.GetNamespaceDataSize(kNamespace, kLayout);
    buffer.resize(size);
    world.registry.GetNamespaceData(kNamespace, kLayout, buffer.data(), &size);
    benchmark::DoNotOptimize(buffer.data());
  }
  ReportPerIteration(state, meter.Since(), 0);
}

template <typename World>
void LoadNamespace(benchmark::State& state) {
  std::string text;
  {
    World source;
    FillNamespace(source.registry);
    text = Save(source.registry);
  }
  testing::AllocationCount allocated;
  uint64_t calls = 0;
  for (auto _ : state) {
    auto world = std::make_unique<World>();
    const AllocationMeter meter;
    const double start = ThreadSeconds();
    world->registry.LoadNamespace(kNamespace, kLayout, nullptr, text);
    state.SetIterationTime(ThreadSeconds() - start);
    allocated.allocations += meter.Since().allocations;
    allocated.bytes += meter.Since().bytes;
    calls += world->system.calls;
  }
  ReportPerIteration(state, allocated, calls);
}

template <typename World>
void RegisterFor() {
  benchmark::RegisterBenchmark((std::string("GetNamespaceData2/10000/") + World::kName).c_str(), SaveNamespace<World>)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark((std::string("LoadNamespace2/10000/") + World::kName).c_str(), LoadNamespace<World>)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

void RegisterNamespaceBenchmarks() {
  RegisterFor<ProductWorld>();
  RegisterFor<ReferenceWorld>();
}

}  // namespace loomkeys::bench
