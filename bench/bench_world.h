#pragma once
// What every benchmark needs: a registry with its hot-key table over a
// system that only counts calls, in a product and in a reference edition,
// filled with a chosen number of keys and entries.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "allocation_counter/allocation_counter.h"
#include "hotkeys/hotkey_table.h"
#include "reference/reference_hotkey_table.h"
#include "reference/reference_registry.h"
#include "registry/shortcut_registry.h"

namespace loomkeys::bench {

inline WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x1234);

// Accepts every key and hands out atoms, reusing deleted ones as Windows
// does, so that long runs never exhaust the 16,384 atom values.
class CountingHotKeySystem : public HotKeySystem {
 public:
  CountingHotKeySystem() { freeAtoms_.reserve(0x4000); }
  uint16_t AddGlobalAtom(const std::string&) override {
    ++calls;
    if (freeAtoms_.empty()) return nextAtom_++;
    const uint16_t atom = freeAtoms_.back();
    freeAtoms_.pop_back();
    return atom;
  }
  void DeleteGlobalAtom(uint16_t atom) override {
    ++calls;
    freeAtoms_.push_back(atom);
  }
  // Only the record of atoms kept for a process exit looks atoms up; the
  // benchmarks build the hot-key table without it.
  uint16_t FindGlobalAtom(std::string_view) noexcept override { return 0; }
  size_t GlobalAtomName(uint16_t, char*, size_t) noexcept override { return 0; }
  bool BindHotKey(WindowHandle, int, uint16_t, uint16_t) override { return ++calls, true; }
  bool UnbindHotKey(WindowHandle, int) override { return ++calls, true; }

  uint64_t calls = 0;

 private:
  std::vector<uint16_t> freeAtoms_;
  uint16_t nextAtom_ = 0xC000;
};

struct ProductWorld {
  static constexpr const char* kName = "product";
  CountingHotKeySystem system;
  HotKeyTable table{system};
  ShortcutRegistry registry{table, kWindow};
};

struct ReferenceWorld {
  static constexpr const char* kName = "reference";
  CountingHotKeySystem system;
  reference::ReferenceHotKeyTable table{system};
  reference::ReferenceRegistry registry{table, kWindow};
};

// The n-th distinct key of a benchmark (virtual keys from 0x100 on, Ctrl).
constexpr uint16_t KeyNumber(size_t n) { return static_cast<uint16_t>(0x100 + n); }
constexpr uint16_t kCtrl = 2;

inline std::string ContextOf(size_t key, size_t entry) {
  char text[64];
  std::snprintf(text, sizeof text, "command.%05zu.%zu", key, entry);
  return text;
}

// keys distinct keys with entriesPerKey entries each, from as many
// namespaces; entry e of key k wants mode (k + e) % 3 + 1, so that the keys
// are live in different modes. entryMode overrides that when not 0.
template <typename Registry>
void Fill(Registry& registry, size_t keys, size_t entriesPerKey, uint16_t entryMode = 0) {
  for (size_t k = 0; k < keys; ++k) {
    for (size_t e = 0; e < entriesPerKey; ++e) {
      const std::string nameSpace = "Client" + std::to_string(e);
      const uint16_t mode = entryMode ? entryMode : static_cast<uint16_t>((k + e) % 3 + 1);
      registry.RegisterShortcut2(nameSpace, KeyNumber(k), kCtrl, mode, nullptr, ContextOf(k, e), nullptr);
    }
  }
}

// The allocations made between construction and Since().
class AllocationMeter {
 public:
  AllocationMeter() : start_(testing::AllocationsSoFar()) {}
  testing::AllocationCount Since() const {
    const testing::AllocationCount now = testing::AllocationsSoFar();
    return {now.allocations - start_.allocations, now.bytes - start_.bytes};
  }

 private:
  testing::AllocationCount start_;
};

}  // namespace loomkeys::bench
