#include "reference/reference_hotkey_table.h"

#include <algorithm>

#include "hotkeys/atom_name.h"

namespace loomkeys::reference {
namespace {

bool NameBefore(const std::pair<std::string, TShortcut>& item, const std::string& name) { return item.first < name; }

}  // namespace

ReferenceHotKeyTable::Item* ReferenceHotKeyTable::Find(const std::string& name) {
  auto it = std::lower_bound(hotKeyList_.begin(), hotKeyList_.end(), name, NameBefore);
  return it != hotKeyList_.end() && it->first == name ? &*it : nullptr;
}

bool ReferenceHotKeyTable::AddSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys) {
  const std::string name = HotKeyAtomName(virtualKey, shiftKeys);
  if (Find(name)) return false;
  TShortcut entry;
  entry.KeyAtom = system_.AddGlobalAtom(name);
  if (entry.KeyAtom == 0) return false;
  const auto at = std::lower_bound(hotKeyList_.begin(), hotKeyList_.end(), name, NameBefore);
  Item& item = *hotKeyList_.insert(at, {name, entry});
  item.second.Active = system_.BindHotKey(window, item.second.KeyAtom, shiftKeys, virtualKey);
  item.second.Refused = !item.second.Active;
  return item.second.Active;
}

void ReferenceHotKeyTable::RemoveSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys) {
  Item* item = Find(HotKeyAtomName(virtualKey, shiftKeys));
  if (!item) return;
  system_.UnbindHotKey(window, item->second.KeyAtom);
  system_.DeleteGlobalAtom(item->second.KeyAtom);
  hotKeyList_.erase(hotKeyList_.begin() + (item - hotKeyList_.data()));
}

void ReferenceHotKeyTable::ApplyKeySets(WindowHandle window, const std::vector<KeyCode>& enabled,
                                        const std::vector<KeyCode>& disabled) {
  if (!hotKeysActive_) return;
  for (KeyCode code : enabled) {
    const uint16_t virtualKey = KeyCodeVirtualKey(code), shiftKeys = KeyCodeShiftKeys(code);
    Item* item = Find(HotKeyAtomName(virtualKey, shiftKeys));
    if (!item || item->second.Active || item->second.Refused) continue;
    system_.BindHotKey(window, item->second.KeyAtom, shiftKeys, virtualKey);
    item->second.Active = true;
  }
  for (KeyCode code : disabled) {
    Item* item = Find(HotKeyAtomName(KeyCodeVirtualKey(code), KeyCodeShiftKeys(code)));
    if (!item || !item->second.Active) continue;
    system_.UnbindHotKey(window, item->second.KeyAtom);
    item->second.Active = false;
  }
}

void ReferenceHotKeyTable::SuspendHotKeys(WindowHandle window) {
  if (!hotKeysActive_) return;
  hotKeysActive_ = false;
  for (const Item& item : hotKeyList_) {
    if (item.second.Active) system_.UnbindHotKey(window, item.second.KeyAtom);
  }
}

void ReferenceHotKeyTable::ResumeHotKeys(WindowHandle window) {
  if (hotKeysActive_) return;
  hotKeysActive_ = true;
  for (const Item& item : hotKeyList_) {
    const KeyCode code = *ParseHotKeyAtomName(item.first);
    if (item.second.Active)
      system_.BindHotKey(window, item.second.KeyAtom, KeyCodeShiftKeys(code), KeyCodeVirtualKey(code));
  }
}

void ReferenceHotKeyTable::ClearHotKeys(WindowHandle window) {
  for (const Item& item : hotKeyList_) {
    if (item.second.Active) system_.UnbindHotKey(window, item.second.KeyAtom);
    system_.DeleteGlobalAtom(item.second.KeyAtom);
  }
  hotKeyList_.clear();
}

std::vector<std::pair<KeyCode, TShortcut>> ReferenceHotKeyTable::Snapshot() const {
  std::vector<std::pair<KeyCode, TShortcut>> items;
  for (const Item& item : hotKeyList_) items.emplace_back(*ParseHotKeyAtomName(item.first), item.second);
  return items;
}

}  // namespace loomkeys::reference
