#pragma once
// The system hot-key table: the only place that binds keys as system hot keys
// of the hidden window or unbinds them. One HotKey per (virtual key, shift
// keys) pair that the shortcut registry holds; each pair is named by a global
// atom whose value is also the hot key's id.
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "hotkeys/key_code.h"
#include "platform/hotkey_system.h"
#include "platform/reentrant_lock.h"

namespace loomkeys {

struct HotKey {
  uint16_t keyAtom = 0;
  // The key is meant to be bound right now, or the system kept it bound when
  // it was to be unbound.
  bool active = false;
  // The system refused the key when it was added. The hot key stays, so that
  // the pair stays refused, but nothing binds it afterwards: no registry
  // entry owns it, and binding it would steal the key from other programs.
  bool refused = false;
};

class HotKeyTable {
 public:
  explicit HotKeyTable(HotKeySystem& system);

  // Binds a pair that the table does not hold yet. True only when this call
  // created the hot key and the system accepted the key. A refused pair stays
  // in the table, unbound, and every later call for it answers false.
  bool AddSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys);
  // Unbinds the pair, deletes its atom and drops it; unknown pairs are ignored.
  void RemoveSystemHotKey(WindowHandle window, uint16_t virtualKey, uint16_t shiftKeys);
  // Makes the enabled keys live and the disabled ones dead, calling the system
  // only for keys whose state changes. Does nothing while suspended.
  void ApplyKeySets(WindowHandle window, const std::vector<KeyCode>& enabled, const std::vector<KeyCode>& disabled);
  // Unbinds every live key and remembers which ones to bring back.
  void SuspendHotKeys(WindowHandle window);
  // Binds again the keys that were live at the suspension or added during it.
  void ResumeHotKeys(WindowHandle window);
  // Unbinds every live key, deletes every atom and empties the table.
  void ClearHotKeys(WindowHandle window);

  bool HotKeysActive() const { return hotKeysActive_; }
  // Whether a press of the key can reach the window as a hot key now: the
  // table holds it live and the hot keys are not suspended.
  bool IsBound(KeyCode key);
  // The key bound under a hot-key id (its atom) when a press of it can reach
  // the window now, as it was registered (with every shift-key bit).
  std::optional<KeyCode> BoundKeyOfId(int id);
  // Whether typing the chord would reach the window as a hot key: a bound
  // key has its virtual key and the same Alt, Ctrl, Shift and Win bits,
  // whatever other bits it was registered with.
  bool BindsChord(KeyCode chord);
  // Counts the calls that can change the table (adding, removing, applying
  // key sets, suspending, resuming, clearing): while it stands still, the
  // table is as the last of them left it.
  uint64_t Version();
  ReentrantLock& Lock() { return lock_; }

  // A copy of the table in name order, for checks of its state.
  std::vector<std::pair<KeyCode, HotKey>> Snapshot();

 private:
  using Item = std::pair<const KeyCode, HotKey>;
  void Bind(WindowHandle window, KeyCode code, const HotKey& hotKey);
  // The items in atom-name order, which is KeyCode order.
  std::vector<const Item*> InNameOrder() const;

  HotKeySystem& system_;
  ReentrantLock lock_;  // taken after the registry's lock, never before it
  // Looked up by KeyCode on every tick for every key, so hashed; the few
  // walks that must go in atom-name order sort the items first.
  std::unordered_map<KeyCode, HotKey> hotKeys_;
  // The same keys by their atom, the id that WM_HOTKEY carries.
  std::unordered_map<uint16_t, KeyCode> keysByAtom_;
  bool hotKeysActive_ = true;
  uint64_t version_ = 0;
};

}  // namespace loomkeys
