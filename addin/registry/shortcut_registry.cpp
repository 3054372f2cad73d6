#include "registry/shortcut_registry.h"

#include <utility>

namespace loomkeys {
namespace {

// A node of a map or set made ahead of time, so that inserting it later
// allocates nothing and cannot fail.
template <typename Container, typename... Arguments>
typename Container::node_type MakeNode(Arguments&&... arguments) {
  Container scratch;
  scratch.emplace(std::forward<Arguments>(arguments)...);
  return scratch.extract(scratch.begin());
}

}  // namespace

ShortcutRegistry::ShortcutRegistry(HotKeyTable& hotKeys, WindowHandle window)
    : hotKeys_(hotKeys), window_(window) {}

ShortcutRegistry::~ShortcutRegistry() {
  LockHold hold(lock_);
  for (const KeyEntries& key : keys_) {
    hotKeys_.RemoveSystemHotKey(window_, KeyCodeVirtualKey(key.keyCode), KeyCodeShiftKeys(key.keyCode));
  }
}

const TRegistryEntry* ShortcutRegistry::EarliestOnKey(KeyCode key, std::string_view nameSpace) const {
  const auto earliest = namespaceIndex_.lower_bound(NamespaceOnKey{key, nameSpace});
  if (earliest == namespaceIndex_.end()) return nullptr;
  const TRegistryEntry& entry = *(*earliest)->second;
  const bool same = MakeKeyCode(entry.FVirtualKey, entry.FShiftKeys) == key && entry.FNamespace == nameSpace;
  return same ? &entry : nullptr;
}

uint32_t ShortcutRegistry::NextId() noexcept {
  // Ids are never handed out twice while an entry holds them, not even
  // after the counter has wrapped round past 4294967295 registrations.
  uint32_t id;
  do {
    id = ++idCounter_;
  } while (entryIndex_.count(id) != 0);
  return id;
}

Result ShortcutRegistry::RegisterShortcut2(std::string_view nameSpace, uint16_t virtualKey,
                                           uint16_t shiftKeys, uint16_t activeMode,
                                           ShortcutCallback callback, std::string_view context,
                                           uint32_t* shortcutId) {
  LockHold hold(lock_);
  const KeyCode code = MakeKeyCode(virtualKey, shiftKeys);
  auto known = keyIndex_.find(code);
  if (known != keyIndex_.end()) {
    // Only the namespace's earliest entry on this key is compared.
    const TRegistryEntry* earliest = EarliestOnKey(code, nameSpace);
    if (earliest && earliest->FContext == context) return kDuplicate;
  }

  // Everything that allocates happens before the key is bound, so that a
  // failure leaves neither a bound key nor a half-filed entry behind.
  auto entry = std::make_unique<TRegistryEntry>();
  entry->FNamespace = nameSpace;
  entry->FVirtualKey = virtualKey;
  entry->FShiftKeys = shiftKeys;
  entry->FActiveMode = activeMode;
  entry->FShortcutCallbackFunc = callback;
  entry->FContext = context;
  auto slot = EntryList::MakeSlot(std::move(entry));
  auto place = MakeNode<EntryIndex>(0, EntryPlace{});
  auto byNamespace = MakeNode<decltype(namespaceIndex_)>(nullptr);
  KeyList newKey;
  decltype(keyIndex_)::node_type newKeyIndex;
  if (known == keyIndex_.end()) {
    newKey.emplace_back().keyCode = code;
    newKeyIndex = MakeNode<decltype(keyIndex_)>(code, newKey.begin());
    if (!hotKeys_.AddSystemHotKey(window_, virtualKey, shiftKeys)) return kKeyNotBound;
    // The list element moves into keys_ and stays where its iterator points.
    keys_.splice(keys_.end(), newKey);
    known = keyIndex_.insert(std::move(newKeyIndex)).position;
  }

  const KeyPosition key = known->second;
  const uint32_t id = NextId();
  slot.key() = ++registrations_;
  slot.mapped()->FShortcutId = id;
  place.key() = id;
  place.mapped() = {key, key->entries.Append(std::move(slot))};
  byNamespace.value() = &*place.mapped().slot;
  entryIndex_.insert(std::move(place));
  namespaceIndex_.insert(std::move(byNamespace));
  ++version_;
  if (shortcutId) *shortcutId = id;
  return kOk;
}

bool ShortcutRegistry::RemoveEntry(EntryIndex::iterator place) {
  const KeyPosition key = place->second.key;
  namespaceIndex_.erase(&*place->second.slot);
  const std::unique_ptr<TRegistryEntry> removed = key->entries.Remove(place->second.slot);
  entryIndex_.erase(place);
  ++version_;
  if (!key->entries.empty()) return false;
  keyIndex_.erase(key->keyCode);
  keys_.erase(key);
  hotKeys_.RemoveSystemHotKey(window_, removed->FVirtualKey, removed->FShiftKeys);
  return true;
}

Result ShortcutRegistry::UnregisterShortcut(uint32_t shortcutId) {
  LockHold hold(lock_);
  const auto place = entryIndex_.find(shortcutId);
  if (place == entryIndex_.end()) return kUnknownShortcutId;
  RemoveEntry(place);
  return kOk;
}

Result ShortcutRegistry::GetShortcutInfoByShortcutId(uint32_t shortcutId, ShortcutInfo* info) {
  LockHold hold(lock_);
  const auto place = entryIndex_.find(shortcutId);
  if (place == entryIndex_.end()) return kUnknownShortcutId;
  const TRegistryEntry& entry = *place->second.slot->second;
  if (info) *info = {entry.FVirtualKey, entry.FShiftKeys, entry.FActiveMode, entry.FShortcutId};
  return kOk;
}

Result ShortcutRegistry::GetShortcutInfoByContext(std::string_view nameSpace, std::string_view context,
                                                  ShortcutInfo* info) {
  LockHold hold(lock_);
  bool namespaceSeen = false;
  for (const KeyEntries& key : keys_) {
    for (const auto& entry : key.entries) {
      if (entry->FNamespace != nameSpace) continue;
      namespaceSeen = true;
      if (entry->FContext != context) continue;
      if (info) *info = {entry->FVirtualKey, entry->FShiftKeys, entry->FActiveMode, entry->FShortcutId};
      return kOk;
    }
  }
  return namespaceSeen ? kNoSuchContext : kNoEntries;
}

uint32_t ShortcutRegistry::GetShortcutCount(std::string_view nameSpace) {
  LockHold hold(lock_);
  uint32_t count = 0;
  for (const KeyEntries& key : keys_) {
    for (const auto& entry : key.entries) count += entry->FNamespace == nameSpace;
  }
  return count;
}

Result ShortcutRegistry::FindByIndex(std::string_view nameSpace, uint32_t index,
                                     const TRegistryEntry** found) const {
  uint32_t number = 0;
  for (const KeyEntries& key : keys_) {
    for (const auto& entry : key.entries) {
      if (entry->FNamespace != nameSpace) continue;
      if (++number == index) {
        *found = entry;
        return kOk;
      }
    }
  }
  return number == 0 ? kNoEntries : kIndexPastEntries;
}

Result ShortcutRegistry::GetShortcutDataSize(std::string_view nameSpace, uint32_t index, uint32_t* size) {
  LockHold hold(lock_);
  const TRegistryEntry* entry = nullptr;
  const Result result = FindByIndex(nameSpace, index, &entry);
  if (result == kOk && size) *size = static_cast<uint32_t>(entry->FContext.size());
  return result;
}

Result ShortcutRegistry::GetShortcutData(std::string_view nameSpace, uint32_t index, void* buffer,
                                         uint32_t* size, uint32_t* shortcutId, CopyFunction copy) {
  LockHold hold(lock_);
  const TRegistryEntry* entry = nullptr;
  const Result result = FindByIndex(nameSpace, index, &entry);
  if (result != kOk) return result;

  // The id is delivered first, so that it also comes back with result 4.
  if (shortcutId) *shortcutId = entry->FShortcutId;
  const auto length = static_cast<uint32_t>(entry->FContext.size());
  const uint32_t room = size ? *size : 0;
  if (size) *size = length;
  if (room < length) return kBufferTooSmall;
  if (length != 0 && !copy(buffer, entry->FContext.data(), length)) return kErrorRaised;
  return kOk;
}

}  // namespace loomkeys
