#include "hotkeys/hotkey_table.h"

#include <algorithm>

#include "hotkeys/atom_name.h"

namespace loomkeys {

HotKeyTable::HotKeyTable(HotKeySystem& system) : system_(system) {}

void HotKeyTable::Bind(WindowHandle window, KeyCode code, const TShortcut& entry) {
  system_.BindHotKey(window, entry.KeyAtom, KeyCodeShiftKeys(code), KeyCodeVirtualKey(code));
}

bool HotKeyTable::AddSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys) {
  LockHold hold(lock_);
  ++version_;
  const std::string name = HotKeyAtomName(virtualKey, shiftKeys);
  auto [it, added] = hotKeyList_.try_emplace(MakeKeyCode(virtualKey, shiftKeys));
  if (!added) return false;

  // A full atom table leaves nothing behind: the pair is not held, so a
  // later registration of it asks the system again.
  TShortcut& entry = it->second;
  entry.KeyAtom = system_.AddGlobalAtom(name);
  if (entry.KeyAtom == 0) {
    hotKeyList_.erase(it);
    return false;
  }
  entry.Active = system_.BindHotKey(window, entry.KeyAtom, shiftKeys, virtualKey);
  entry.Refused = !entry.Active;
  return entry.Active;
}

void HotKeyTable::RemoveSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys) {
  LockHold hold(lock_);
  ++version_;
  auto it = hotKeyList_.find(MakeKeyCode(virtualKey, shiftKeys));
  if (it == hotKeyList_.end()) return;
  system_.UnbindHotKey(window, it->second.KeyAtom);
  system_.DeleteGlobalAtom(it->second.KeyAtom);
  hotKeyList_.erase(it);
}

void HotKeyTable::ApplyKeySets(WindowHandle window, const std::vector<KeyCode>& enabled,
                               const std::vector<KeyCode>& disabled) {
  LockHold hold(lock_);
  ++version_;
  if (!hotKeysActive_) return;
  for (KeyCode code : enabled) {
    auto it = hotKeyList_.find(code);
    if (it == hotKeyList_.end() || it->second.Active || it->second.Refused) continue;
    Bind(window, code, it->second);
    it->second.Active = true;  // a refusal here is ignored: the key is just not live
  }
  for (KeyCode code : disabled) {
    auto it = hotKeyList_.find(code);
    if (it == hotKeyList_.end() || !it->second.Active) continue;
    system_.UnbindHotKey(window, it->second.KeyAtom);
    it->second.Active = false;
  }
}

void HotKeyTable::SuspendHotKeys(WindowHandle window) {
  LockHold hold(lock_);
  ++version_;
  if (!hotKeysActive_) return;
  hotKeysActive_ = false;
  for (const Item* item : InNameOrder()) {
    if (item->second.Active) system_.UnbindHotKey(window, item->second.KeyAtom);
  }
}

void HotKeyTable::ResumeHotKeys(WindowHandle window) {
  LockHold hold(lock_);
  ++version_;
  if (hotKeysActive_) return;
  hotKeysActive_ = true;
  for (const Item* item : InNameOrder()) {
    if (item->second.Active) Bind(window, item->first, item->second);
  }
}

void HotKeyTable::ClearHotKeys(WindowHandle window) {
  LockHold hold(lock_);
  ++version_;
  for (const Item* item : InNameOrder()) {
    if (item->second.Active) system_.UnbindHotKey(window, item->second.KeyAtom);
    system_.DeleteGlobalAtom(item->second.KeyAtom);
  }
  hotKeyList_.clear();
}

uint64_t HotKeyTable::Version() {
  LockHold hold(lock_);
  return version_;
}

std::vector<const HotKeyTable::Item*> HotKeyTable::InNameOrder() const {
  std::vector<const Item*> items;
  items.reserve(hotKeyList_.size());
  for (const Item& item : hotKeyList_) items.push_back(&item);
  std::sort(items.begin(), items.end(), [](const Item* a, const Item* b) { return a->first < b->first; });
  return items;
}

std::vector<std::pair<KeyCode, TShortcut>> HotKeyTable::Snapshot() {
  LockHold hold(lock_);
  std::vector<std::pair<KeyCode, TShortcut>> items;
  for (const Item* item : InNameOrder()) items.push_back(*item);
  return items;
}

}  // namespace loomkeys
