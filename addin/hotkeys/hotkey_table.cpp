#include "hotkeys/hotkey_table.h"

#include "hotkeys/atom_name.h"

namespace loomkeys {

HotKeyTable::HotKeyTable(HotKeySystem& system) : system_(system) {}

void HotKeyTable::Bind(WindowHandle window, KeyCode code, const TShortcut& entry) {
  system_.BindHotKey(window, entry.KeyAtom, KeyCodeShiftKeys(code), KeyCodeVirtualKey(code));
}

bool HotKeyTable::AddSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys) {
  LockHold hold(lock_);
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
  auto it = hotKeyList_.find(MakeKeyCode(virtualKey, shiftKeys));
  if (it == hotKeyList_.end()) return;
  system_.UnbindHotKey(window, it->second.KeyAtom);
  system_.DeleteGlobalAtom(it->second.KeyAtom);
  hotKeyList_.erase(it);
}

void HotKeyTable::ApplyKeySets(WindowHandle window, const std::vector<KeyCode>& enabled,
                               const std::vector<KeyCode>& disabled) {
  LockHold hold(lock_);
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
  if (!hotKeysActive_) return;
  hotKeysActive_ = false;
  for (const auto& [code, entry] : hotKeyList_) {
    if (entry.Active) system_.UnbindHotKey(window, entry.KeyAtom);
  }
}

void HotKeyTable::ResumeHotKeys(WindowHandle window) {
  LockHold hold(lock_);
  if (hotKeysActive_) return;
  hotKeysActive_ = true;
  for (const auto& [code, entry] : hotKeyList_) {
    if (entry.Active) Bind(window, code, entry);
  }
}

void HotKeyTable::ClearHotKeys(WindowHandle window) {
  LockHold hold(lock_);
  for (const auto& [code, entry] : hotKeyList_) {
    if (entry.Active) system_.UnbindHotKey(window, entry.KeyAtom);
    system_.DeleteGlobalAtom(entry.KeyAtom);
  }
  hotKeyList_.clear();
}

std::vector<std::pair<KeyCode, TShortcut>> HotKeyTable::Snapshot() {
  LockHold hold(lock_);
  return {hotKeyList_.begin(), hotKeyList_.end()};
}

}  // namespace loomkeys
