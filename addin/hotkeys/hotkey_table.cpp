#include "hotkeys/hotkey_table.h"

#include <algorithm>

#include "hotkeys/atom_name.h"

namespace loomkeys {

HotKeyTable::HotKeyTable(HotKeySystem& system) : system_(system) {}

void HotKeyTable::Bind(WindowHandle window, KeyCode code, const HotKey& hotKey) {
  system_.BindHotKey(window, hotKey.keyAtom, KeyCodeShiftKeys(code), KeyCodeVirtualKey(code));
}

bool HotKeyTable::AddSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys) {
  LockHold hold(lock_);
  ++version_;
  const std::string name = HotKeyAtomName(virtualKey, shiftKeys);
  auto [it, added] = hotKeys_.try_emplace(MakeKeyCode(virtualKey, shiftKeys));
  if (!added) return false;

  // A full atom table leaves nothing behind: the pair is not held, so a
  // later registration of it asks the system again.
  HotKey& hotKey = it->second;
  hotKey.keyAtom = system_.AddGlobalAtom(name);
  if (hotKey.keyAtom == 0) {
    hotKeys_.erase(it);
    return false;
  }
  keysByAtom_[hotKey.keyAtom] = it->first;
  hotKey.active = system_.BindHotKey(window, hotKey.keyAtom, shiftKeys, virtualKey);
  hotKey.refused = !hotKey.active;
  return hotKey.active;
}

void HotKeyTable::RemoveSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys) {
  LockHold hold(lock_);
  ++version_;
  auto it = hotKeys_.find(MakeKeyCode(virtualKey, shiftKeys));
  if (it == hotKeys_.end()) return;
  system_.UnbindHotKey(window, it->second.keyAtom);
  system_.DeleteGlobalAtom(it->second.keyAtom);
  keysByAtom_.erase(it->second.keyAtom);
  hotKeys_.erase(it);
}

void HotKeyTable::ApplyKeySets(WindowHandle window, const std::vector<KeyCode>& enabled,
                               const std::vector<KeyCode>& disabled) {
  LockHold hold(lock_);
  ++version_;
  if (!hotKeysActive_) return;
  for (KeyCode code : enabled) {
    auto it = hotKeys_.find(code);
    if (it == hotKeys_.end() || it->second.active || it->second.refused) continue;
    Bind(window, code, it->second);
    it->second.active = true;  // a refusal here is ignored: the key is just not live
  }
  for (KeyCode code : disabled) {
    auto it = hotKeys_.find(code);
    if (it == hotKeys_.end() || !it->second.active) continue;
    // A key that the system kept stays live: the next change tries again,
    // and meanwhile a press of it is no keystroke for another window.
    if (system_.UnbindHotKey(window, it->second.keyAtom)) it->second.active = false;
  }
}

bool HotKeyTable::IsBound(KeyCode key) {
  LockHold hold(lock_);
  if (!hotKeysActive_) return false;
  const auto it = hotKeys_.find(key);
  return it != hotKeys_.end() && it->second.active;
}

std::optional<KeyCode> HotKeyTable::BoundKeyOfId(int id) {
  LockHold hold(lock_);
  if (!hotKeysActive_ || id < 0 || id > 0xFFFF) return std::nullopt;
  const auto byAtom = keysByAtom_.find(static_cast<uint16_t>(id));
  if (byAtom == keysByAtom_.end() || !hotKeys_.at(byAtom->second).active) return std::nullopt;
  return byAtom->second;
}

bool HotKeyTable::BindsChord(KeyCode chord) {
  LockHold hold(lock_);
  if (!hotKeysActive_) return false;
  // A walk over every key, but only for a press that is to be typed again.
  return std::any_of(hotKeys_.begin(), hotKeys_.end(), [chord](const Item& item) {
    return item.second.active && KeyCodeVirtualKey(item.first) == KeyCodeVirtualKey(chord) &&
           (KeyCodeShiftKeys(item.first) & kReportedShiftKeys) == (KeyCodeShiftKeys(chord) & kReportedShiftKeys);
  });
}

void HotKeyTable::SuspendHotKeys(WindowHandle window) {
  LockHold hold(lock_);
  ++version_;
  if (!hotKeysActive_) return;
  hotKeysActive_ = false;
  for (const Item* item : InNameOrder()) {
    if (item->second.active) system_.UnbindHotKey(window, item->second.keyAtom);
  }
}

void HotKeyTable::ResumeHotKeys(WindowHandle window) {
  LockHold hold(lock_);
  ++version_;
  if (hotKeysActive_) return;
  hotKeysActive_ = true;
  for (const Item* item : InNameOrder()) {
    if (item->second.active) Bind(window, item->first, item->second);
  }
}

void HotKeyTable::ClearHotKeys(WindowHandle window) {
  LockHold hold(lock_);
  ++version_;
  for (const Item* item : InNameOrder()) {
    if (item->second.active) system_.UnbindHotKey(window, item->second.keyAtom);
    system_.DeleteGlobalAtom(item->second.keyAtom);
  }
  hotKeys_.clear();
  keysByAtom_.clear();
}

uint64_t HotKeyTable::Version() {
  LockHold hold(lock_);
  return version_;
}

std::vector<const HotKeyTable::Item*> HotKeyTable::InNameOrder() const {
  std::vector<const Item*> items;
  items.reserve(hotKeys_.size());
  for (const Item& item : hotKeys_) items.push_back(&item);
  std::sort(items.begin(), items.end(), [](const Item* a, const Item* b) { return a->first < b->first; });
  return items;
}

std::vector<std::pair<KeyCode, HotKey>> HotKeyTable::Snapshot() {
  LockHold hold(lock_);
  std::vector<std::pair<KeyCode, HotKey>> items;
  for (const Item* item : InNameOrder()) items.push_back(*item);
  return items;
}

}  // namespace loomkeys
