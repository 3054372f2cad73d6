#pragma once
// The hot-key table written as plainly as it can be: a list of atom names
// kept sorted, searched by name, with the key read back from the name. It
// makes the same decisions as HotKeyTable (a refused pair stays held and is
// never bound again; a failed atom leaves nothing held). Benchmarks measure
// the product against it and tests check that both make the same calls.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "hotkeys/hotkey_table.h"
#include "hotkeys/key_code.h"
#include "platform/hotkey_system.h"

namespace loomkeys::reference {

class ReferenceHotKeyTable {
 public:
  explicit ReferenceHotKeyTable(HotKeySystem& system) : system_(system) {}

  bool AddSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys);
  void RemoveSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys);
  void ApplyKeySets(WindowHandle window, const std::vector<KeyCode>& enabled, const std::vector<KeyCode>& disabled);
  void SuspendHotKeys(WindowHandle window);
  void ResumeHotKeys(WindowHandle window);
  void ClearHotKeys(WindowHandle window);

  bool HotKeysActive() const { return hotKeysActive_; }
  // The table in name order, as HotKeyTable::Snapshot gives it.
  std::vector<std::pair<KeyCode, HotKey>> Snapshot() const;

 private:
  using Item = std::pair<std::string, HotKey>;
  // The item with this name, or null.
  Item* Find(const std::string& name);

  HotKeySystem& system_;
  std::vector<Item> hotKeyList_;  // sorted by atom name
  bool hotKeysActive_ = true;
};

}  // namespace loomkeys::reference
