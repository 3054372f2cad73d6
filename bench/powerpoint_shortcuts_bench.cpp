// The Customize dialog's 50 ms lookup of the key in its key field among
// PowerPoint's own shortcuts: a key that has a row, and one that has none
// (the whole table is searched).
#include <benchmark/benchmark.h>

#include "bench_registration.h"
#include "customize/powerpoint_shortcuts.h"

namespace loomkeys::bench {
namespace {

constexpr uint8_t kHotKeyCtrl = 0x02;
constexpr uint8_t kHotKeyShiftCtrlAlt = 0x07;

void Find(benchmark::State& state, uint16_t virtualKey, uint8_t flags) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(virtualKey);
    benchmark::DoNotOptimize(FindPowerPointShortcut(virtualKey, flags));
  }
}

}  // namespace

void RegisterPowerPointShortcutBenchmarks() {
  benchmark::RegisterBenchmark("FindPowerPointShortcut/Ctrl+B", Find, uint16_t{'B'}, kHotKeyCtrl);
  benchmark::RegisterBenchmark("FindPowerPointShortcut/no row", Find, uint16_t{'Q'}, kHotKeyShiftCtrlAlt);
}

}  // namespace loomkeys::bench
