#pragma once
// The shortcut registry: every registered shortcut, grouped by key in
// registry order (keys in the order of their first entry, entries in the
// order of registration). A key is bound in the hot-key table exactly while
// it has at least one entry. All of it is guarded by Lock().
//
// Keys are found by KeyCode, entries by id and by namespace, through
// ordered indexes beside the lists, so that registering or removing one
// entry costs O(log n) however many there are, and the operations on a
// namespace cost what its own entries cost.
#include <atomic>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <tuple>
#include <vector>

#include "common/result_codes.h"
#include "hotkeys/hotkey_table.h"
#include "hotkeys/key_code.h"
#include "platform/client_code.h"
#include "platform/guarded_copy.h"
#include "platform/reentrant_lock.h"
#include "registry/key_entry_list.h"
#include "registry/namespace_blob.h"
#include "registry/registry_entry.h"

namespace loomkeys {

// One key of the registry with its entries in registration order.
struct KeyEntries {
  KeyCode keyCode = 0;
  KeyEntryList entries;  // never empty
  // Grows with every key added, so keys in registry order have rising numbers.
  uint64_t order = 0;
};

struct ShortcutInfo {
  uint16_t virtualKey = 0;
  uint16_t shiftKeys = 0;
  uint16_t activeMode = 0;
  uint32_t shortcutId = 0;
};

class ShortcutRegistry {
 public:
  ShortcutRegistry(HotKeyTable& hotKeys, WindowHandle window);
  // Frees every entry and unbinds every key through the hot-key table.
  ~ShortcutRegistry();
  ShortcutRegistry(const ShortcutRegistry&) = delete;
  ShortcutRegistry& operator=(const ShortcutRegistry&) = delete;

  // 0 and the new id; 2 duplicate; 3 the key could not be bound. Nothing is
  // stored and *shortcutId is untouched unless the result is 0.
  Result RegisterShortcut2(std::string_view nameSpace, uint16_t virtualKey, uint16_t shiftKeys, uint16_t activeMode,
                           ShortcutCallback callback, std::string_view context, uint32_t* shortcutId);
  Result UnregisterShortcut(uint32_t shortcutId);

  // Queries; each out-pointer may be null and is then not written.
  Result GetShortcutInfoByShortcutId(uint32_t shortcutId, ShortcutInfo* info);
  Result GetShortcutInfoByContext(std::string_view nameSpace, std::string_view context, ShortcutInfo* info);
  uint32_t GetShortcutCount(std::string_view nameSpace);
  Result GetShortcutDataSize(std::string_view nameSpace, uint32_t index, uint32_t* size);
  // *size is in: the buffer's size, out: the context's length. copy writes
  // into the caller's buffer and reports a fault as false (result 6).
  Result GetShortcutData(std::string_view nameSpace, uint32_t index, void* buffer, uint32_t* size, uint32_t* shortcutId,
                         CopyFunction copy = GuardedCopy);

  // Namespace-wide operations (namespace_operations.cpp).
  // The length of the namespace's blob text; 0 when it has no entries.
  uint32_t GetNamespaceDataSize(std::string_view nameSpace, BlobLayout layout);
  // *size is in: the buffer's size, out: the text's length. 0 copied; 4 too
  // small; 11 no entries; 6 the text could not be built or copied.
  Result GetNamespaceData(std::string_view nameSpace, BlobLayout layout, void* buffer, uint32_t* size,
                          CopyFunction copy = GuardedCopy);
  // Registers every record of the blob text under nameSpace and callback;
  // records that are duplicates or whose key cannot be bound are skipped.
  // 0 loaded; 6 bad text, wrong version, or a cut-off last record (the
  // complete records before it stay registered).
  Result LoadNamespace(std::string_view nameSpace, BlobLayout layout, ShortcutCallback callback, std::string_view text);
  // Removes every entry of the namespace, unbinding keys that lose their last entry.
  void UnloadNamespace(std::string_view nameSpace);
  // Moves every entry of nameSpace to newNameSpace; keys and ids stay.
  void NamespaceRename(std::string_view nameSpace, std::string_view newNameSpace);
  // A pressed key: calls every entry of the key, in registration order and
  // whatever its active mode. An error that a callback raises is shown in a
  // "Keyloom Exception" box and the next entry still runs. Entries removed
  // during the press are not called any more; entries added during it wait
  // for the next press. False when the registry does not hold the key.
  bool DispatchHotKey(KeyCode key, ClientCodeGuard& guard, ErrorBoxes& boxes);

  // Makes live exactly the keys that at least one entry wants in mode, and
  // dead the others (keys with virtual key 0 take no part), through the
  // hot-key table.
  void ApplyActiveMode(WindowHandle window, uint16_t mode);
  // Whether ApplyActiveMode with this mode would change nothing: the key sets
  // were last applied for it, and neither the registry nor the hot-key table
  // changed since.
  bool KeySetsApplied(uint16_t mode);

  ReentrantLock& Lock() { return lock_; }
  // The keys and their entries in registry order. Hold Lock() while reading.
  const std::list<KeyEntries>& Keys() const { return keys_; }
  WindowHandle Window() const { return window_; }

 private:
  using KeyList = std::list<KeyEntries>;
  using KeyPosition = KeyList::iterator;
  // Where an entry is filed: its key and its slot in that key's entry list.
  struct EntryPlace {
    KeyPosition key;
    KeyEntryList::Slot slot;
  };
  using EntryIndex = std::map<uint32_t, EntryPlace>;

  // Every entry by namespace, then registry order (its key's order number,
  // then its slot's sequence number). A namespace's entries are one run of
  // this index, in registry order; its earliest entry on a key is the first
  // at or after NamespaceAt{namespace, key order, 0}.
  struct NamespaceSlot {
    const KeyEntryList::Slots::value_type* filed;
    uint64_t keyOrder;
  };
  struct NamespaceAt {
    std::string_view nameSpace;
    uint64_t keyOrder;
    uint64_t sequence;
  };
  struct NamespaceOrder {
    using is_transparent = void;
    static NamespaceAt Rank(const NamespaceSlot& slot) {
      return {slot.filed->second->nameSpace, slot.keyOrder, slot.filed->first};
    }
    static const NamespaceAt& Rank(const NamespaceAt& at) { return at; }
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
      const NamespaceAt& left = Rank(a);
      const NamespaceAt& right = Rank(b);
      return std::tie(left.nameSpace, left.keyOrder, left.sequence) <
             std::tie(right.nameSpace, right.keyOrder, right.sequence);
    }
  };
  using NamespaceIndex = std::set<NamespaceSlot, NamespaceOrder>;

  // The first entry of the namespace in registry order, or end().
  NamespaceIndex::const_iterator NamespaceBegin(std::string_view nameSpace) const;
  // Past the namespace's last entry.
  NamespaceIndex::const_iterator NamespaceEnd(std::string_view nameSpace) const;
  // Whether the index position holds an entry of the namespace.
  bool InNamespace(NamespaceIndex::const_iterator at, std::string_view nameSpace) const;
  // The namespace's entry number `index` (1-based, registry order), or the
  // result that tells why there is none.
  Result FindByIndex(std::string_view nameSpace, uint32_t index, const RegistryEntry** found) const;
  // The namespace's entries in registry order.
  std::vector<const RegistryEntry*> NamespaceEntries(std::string_view nameSpace) const;
  // The next shortcut id that no entry holds.
  uint32_t NextId() noexcept;
  // Removes the entry; when it was its key's last, the key goes too and is
  // unbound. True when the key went.
  bool RemoveEntry(EntryIndex::iterator place);

  HotKeyTable& hotKeys_;
  WindowHandle window_;
  ReentrantLock lock_;  // taken before the hot-key table's lock, never after it
  KeyList keys_;        // registry order
  std::map<KeyCode, KeyPosition> keyIndex_;
  EntryIndex entryIndex_;  // by shortcut id
  NamespaceIndex namespaceIndex_;
  uint64_t keysAdded_ = 0;      // the last order number given to a key
  uint64_t registrations_ = 0;  // the last sequence number given to a slot
  std::atomic<uint32_t> idCounter_{0};
  bool idCounterWrapped_ = false;
  // Counts every entry and key that came or went: the mode filter's key sets
  // depend on nothing else of the registry.
  uint64_t version_ = 0;

  // The mode filter's key sets, kept so that a tick allocates nothing, and
  // what they were last applied with. A tick with the same mode, while
  // neither the registry nor the hot-key table changed since, would build
  // the same sets and find nothing to change: it only logs the counts.
  std::vector<KeyCode> enabledKeys_;
  std::vector<KeyCode> disabledKeys_;
  struct AppliedTick {
    bool done = false;
    uint16_t mode = 0;
    uint64_t registryVersion = 0;
    uint64_t tableVersion = 0;
    bool operator==(const AppliedTick&) const = default;
  };
  AppliedTick applied_;
  // What a tick with this mode would find now.
  AppliedTick TickFor(uint16_t mode) { return {true, mode, version_, hotKeys_.Version()}; }
};

}  // namespace loomkeys
