#include "reference/reference_hotkey_table.h"

#include <algorithm>

#include "hotkeys/atom_name.h"

namespace loomkeys::reference {
namespace {

bool NameBefore(const std::pair<std::string, HotKey>& item, const std::string& name) { return item.first < name; }

}  // namespace

ReferenceHotKeyTable::Item* ReferenceHotKeyTable::Find(const std::string& name) {
  auto it = std::lower_bound(hotKeyList_.begin(), hotKeyList_.end(), name, NameBefore);
  return it != hotKeyList_.end() && it->first == name ? &*it : nullptr;
}

bool ReferenceHotKeyTable::AddSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys) {
  const std::string name = HotKeyAtomName(virtualKey, shiftKeys);
  if (Find(name)) return false;
  HotKey hotKey;
  hotKey.keyAtom = system_.AddGlobalAtom(name);
  if (hotKey.keyAtom == 0) return false;
  const auto at = std::lower_bound(hotKeyList_.begin(), hotKeyList_.end(), name, NameBefore);
  Item& item = *hotKeyList_.insert(at, {name, hotKey});
  item.second.active = system_.BindHotKey(window, item.second.keyAtom, shiftKeys, virtualKey);
  item.second.refused = !item.second.active;
  return item.second.active;
}

void ReferenceHotKeyTable::RemoveSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys) {
  Item* item = Find(HotKeyAtomName(virtualKey, shiftKeys));
  if (!item) return;
  system_.UnbindHotKey(window, item->second.keyAtom);
  system_.DeleteGlobalAtom(item->second.keyAtom);
  hotKeyList_.erase(hotKeyList_.begin() + (item - hotKeyList_.data()));
}

void ReferenceHotKeyTable::ApplyKeySets(WindowHandle window, const std::vector<KeyCode>& enabled,
                                        const std::vector<KeyCode>& disabled) {
  if (!hotKeysActive_) return;
  for (KeyCode code : enabled) {
    const uint16_t virtualKey = KeyCodeVirtualKey(code), shiftKeys = KeyCodeShiftKeys(code);
    Item* item = Find(HotKeyAtomName(virtualKey, shiftKeys));
    if (!item || item->second.active || item->second.refused) continue;
    system_.BindHotKey(window, item->second.keyAtom, shiftKeys, virtualKey);
    item->second.active = true;
  }
  for (KeyCode code : disabled) {
    Item* item = Find(HotKeyAtomName(KeyCodeVirtualKey(code), KeyCodeShiftKeys(code)));
    if (!item || !item->second.active) continue;
    if (system_.UnbindHotKey(window, item->second.keyAtom)) item->second.active = false;
  }
}

void ReferenceHotKeyTable::SuspendHotKeys(WindowHandle window) {
  if (!hotKeysActive_) return;
  hotKeysActive_ = false;
  for (const Item& item : hotKeyList_) {
    if (item.second.active) system_.UnbindHotKey(window, item.second.keyAtom);
  }
}

void ReferenceHotKeyTable::ResumeHotKeys(WindowHandle window) {
  if (hotKeysActive_) return;
  hotKeysActive_ = true;
  for (const Item& item : hotKeyList_) {
    const KeyCode code = *ParseHotKeyAtomName(item.first);
    if (item.second.active)
      system_.BindHotKey(window, item.second.keyAtom, KeyCodeShiftKeys(code), KeyCodeVirtualKey(code));
  }
}

void ReferenceHotKeyTable::ClearHotKeys(WindowHandle window) {
  for (const Item& item : hotKeyList_) {
    if (item.second.active) system_.UnbindHotKey(window, item.second.keyAtom);
    system_.DeleteGlobalAtom(item.second.keyAtom);
  }
  hotKeyList_.clear();
}

std::vector<std::pair<KeyCode, HotKey>> ReferenceHotKeyTable::Snapshot() const {
  std::vector<std::pair<KeyCode, HotKey>> items;
  for (const Item& item : hotKeyList_) items.emplace_back(*ParseHotKeyAtomName(item.first), item.second);
  return items;
}

}  // namespace loomkeys::reference
