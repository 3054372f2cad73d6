#pragma once
// Checks shared by the fuzz targets: a failed check prints what broke and
// aborts, which libFuzzer reports as a finding with the input that caused it.
#include <cstdio>
#include <cstdlib>
#include <set>

#include "fake_os/fake_hotkey_system.h"
#include "registry/shortcut_registry.h"

#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

namespace loomkeys::fuzz {

// The registry's invariants: every key has entries of that key only, no key
// appears twice, and the keys bound in the system are exactly the registry's.
inline void CheckRegistryIsSound(const ShortcutRegistry& registry, const testing::FakeHotKeySystem& system) {
  std::set<KeyCode> keys;
  for (const KeyEntries& key : registry.Keys()) {
    FUZZ_CHECK(!key.entries.empty());
    FUZZ_CHECK(keys.insert(key.keyCode).second);
    for (const auto& entry : key.entries) {
      FUZZ_CHECK(MakeKeyCode(entry->virtualKey, entry->shiftKeys) == key.keyCode);
    }
  }
  const std::vector<KeyCode> bound = system.BoundKeys();
  FUZZ_CHECK(std::set<KeyCode>(bound.begin(), bound.end()) == keys);
}

}  // namespace loomkeys::fuzz
