#include "registry/shortcut_registry.h"

#include <iterator>
#include <limits>
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

ShortcutRegistry::ShortcutRegistry(HotKeyTable& hotKeys, WindowHandle window) : hotKeys_(hotKeys), window_(window) {}

ShortcutRegistry::~ShortcutRegistry() {
  LockHold hold(lock_);
  for (const KeyEntries& key : keys_) {
    hotKeys_.RemoveSystemHotKey(window_, KeyCodeVirtualKey(key.keyCode), KeyCodeShiftKeys(key.keyCode));
  }
}

ShortcutRegistry::NamespaceIndex::const_iterator ShortcutRegistry::NamespaceBegin(std::string_view nameSpace) const {
  return namespaceIndex_.lower_bound(NamespaceAt{nameSpace, 0, 0});
}

ShortcutRegistry::NamespaceIndex::const_iterator ShortcutRegistry::NamespaceEnd(std::string_view nameSpace) const {
  constexpr uint64_t kLast = std::numeric_limits<uint64_t>::max();
  return namespaceIndex_.lower_bound(NamespaceAt{nameSpace, kLast, kLast});
}

bool ShortcutRegistry::InNamespace(NamespaceIndex::const_iterator at, std::string_view nameSpace) const {
  return at != namespaceIndex_.end() && at->filed->second->nameSpace == nameSpace;
}

uint32_t ShortcutRegistry::NextId() noexcept {
  // Ids are never handed out twice while an entry holds them, not even
  // after the counter has wrapped round past 4294967295 registrations;
  // until then every new id is above all those held.
  uint32_t id = ++idCounter_;
  if (id == 0) idCounterWrapped_ = true;
  while (idCounterWrapped_ && entryIndex_.count(id) != 0) id = ++idCounter_;
  return id;
}

Result ShortcutRegistry::RegisterShortcut2(std::string_view nameSpace, uint16_t virtualKey, uint16_t shiftKeys,
                                           uint16_t activeMode, ShortcutCallback callback, std::string_view context,
                                           uint32_t* shortcutId) {
  LockHold hold(lock_);
  const KeyCode code = MakeKeyCode(virtualKey, shiftKeys);
  auto known = keyIndex_.find(code);
  if (known != keyIndex_.end()) {
    // Only the namespace's earliest entry on this key is compared.
    const uint64_t keyOrder = known->second->order;
    const auto earliest = namespaceIndex_.lower_bound(NamespaceAt{nameSpace, keyOrder, 0});
    if (InNamespace(earliest, nameSpace) && earliest->keyOrder == keyOrder &&
        earliest->filed->second->context == context) {
      return kDuplicate;
    }
  }

  // Everything that allocates happens before the key is bound, so that a
  // failure leaves neither a bound key nor a half-filed entry behind.
  auto slot = KeyEntryList::MakeSlot(NewRegistryEntry(nameSpace, virtualKey, shiftKeys, activeMode, callback, context));
  auto place = MakeNode<EntryIndex>(0, EntryPlace{});
  auto byNamespace = MakeNode<NamespaceIndex>(NamespaceSlot{});
  if (known == keyIndex_.end()) {
    KeyList newKey(1);
    newKey.front().keyCode = code;
    auto newKeyIndex = MakeNode<decltype(keyIndex_)>(code, newKey.begin());
    if (!hotKeys_.AddSystemHotKey(window_, virtualKey, shiftKeys)) return kKeyNotBound;
    newKey.front().order = ++keysAdded_;
    // The list element moves into keys_ and stays where its iterator points.
    keys_.splice(keys_.end(), newKey);
    known = keyIndex_.insert(std::move(newKeyIndex)).position;
  }

  const KeyPosition key = known->second;
  const uint32_t id = NextId();
  slot.key() = ++registrations_;
  slot.mapped()->shortcutId = id;
  place.key() = id;
  place.mapped() = {key, key->entries.Append(std::move(slot))};
  byNamespace.value() = {&*place.mapped().slot, key->order};
  entryIndex_.insert(std::move(place));
  namespaceIndex_.insert(std::move(byNamespace));
  ++version_;
  if (shortcutId) *shortcutId = id;
  return kOk;
}

bool ShortcutRegistry::RemoveEntry(EntryIndex::iterator place) {
  const KeyPosition key = place->second.key;
  namespaceIndex_.erase(NamespaceSlot{&*place->second.slot, key->order});
  const std::unique_ptr<RegistryEntry> removed = key->entries.Remove(place->second.slot);
  entryIndex_.erase(place);
  ++version_;
  if (!key->entries.empty()) return false;
  keyIndex_.erase(key->keyCode);
  keys_.erase(key);
  hotKeys_.RemoveSystemHotKey(window_, removed->virtualKey, removed->shiftKeys);
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
  const RegistryEntry& entry = *place->second.slot->second;
  if (info) *info = {entry.virtualKey, entry.shiftKeys, entry.activeMode, entry.shortcutId};
  return kOk;
}

Result ShortcutRegistry::GetShortcutInfoByContext(std::string_view nameSpace, std::string_view context,
                                                  ShortcutInfo* info) {
  LockHold hold(lock_);
  const auto first = NamespaceBegin(nameSpace), end = NamespaceEnd(nameSpace);
  if (first == end) return kNoEntries;
  for (auto at = first; at != end; ++at) {
    const RegistryEntry& entry = *at->filed->second;
    if (entry.context != context) continue;
    if (info) *info = {entry.virtualKey, entry.shiftKeys, entry.activeMode, entry.shortcutId};
    return kOk;
  }
  return kNoSuchContext;
}

uint32_t ShortcutRegistry::GetShortcutCount(std::string_view nameSpace) {
  LockHold hold(lock_);
  return static_cast<uint32_t>(std::distance(NamespaceBegin(nameSpace), NamespaceEnd(nameSpace)));
}

Result ShortcutRegistry::FindByIndex(std::string_view nameSpace, uint32_t index, const RegistryEntry** found) const {
  auto at = NamespaceBegin(nameSpace);
  const auto end = NamespaceEnd(nameSpace);
  if (at == end) return kNoEntries;
  if (index == 0) return kIndexPastEntries;
  for (uint32_t number = 1; number < index && at != end; ++number) ++at;
  if (at == end) return kIndexPastEntries;
  *found = at->filed->second.get();
  return kOk;
}

Result ShortcutRegistry::GetShortcutDataSize(std::string_view nameSpace, uint32_t index, uint32_t* size) {
  LockHold hold(lock_);
  const RegistryEntry* entry = nullptr;
  const Result result = FindByIndex(nameSpace, index, &entry);
  if (result == kOk && size) *size = static_cast<uint32_t>(entry->context.size());
  return result;
}

Result ShortcutRegistry::GetShortcutData(std::string_view nameSpace, uint32_t index, void* buffer, uint32_t* size,
                                         uint32_t* shortcutId, CopyFunction copy) {
  LockHold hold(lock_);
  const RegistryEntry* entry = nullptr;
  const Result result = FindByIndex(nameSpace, index, &entry);
  if (result != kOk) return result;

  // The id is delivered first, so that it also comes back with result 4.
  if (shortcutId) *shortcutId = entry->shortcutId;
  const auto length = static_cast<uint32_t>(entry->context.size());
  const uint32_t room = size ? *size : 0;
  if (size) *size = length;
  if (room < length) return kBufferTooSmall;
  if (length != 0 && !copy(buffer, entry->context.data(), length)) return kErrorRaised;
  return kOk;
}

}  // namespace loomkeys
