#include "registry/shortcut_registry.h"

#include <algorithm>

namespace loomkeys {
namespace {

// Makes room for one more element before anything irreversible happens, so
// that the push_back after it cannot throw. The room grows geometrically:
// reserving exactly one more each time would move the whole list on every
// registration, which makes loading a long blob onto one key quadratic.
template <typename T>
void ReserveOneMore(std::vector<T>& list) {
  if (list.size() == list.capacity()) list.reserve(list.empty() ? 1 : 2 * list.size());
}

}  // namespace

ShortcutRegistry::ShortcutRegistry(HotKeyTable& hotKeys, WindowHandle window)
    : hotKeys_(hotKeys), window_(window) {}

ShortcutRegistry::~ShortcutRegistry() {
  LockHold hold(lock_);
  for (KeyEntries& key : keys_) {
    key.entries.clear();
    hotKeys_.RemoveSystemHotKey(window_, KeyCodeVirtualKey(key.keyCode), KeyCodeShiftKeys(key.keyCode));
  }
  keys_.clear();
}

Result ShortcutRegistry::RegisterShortcut2(std::string_view nameSpace, uint16_t virtualKey,
                                           uint16_t shiftKeys, uint16_t activeMode,
                                           ShortcutCallback callback, std::string_view context,
                                           uint32_t* shortcutId) {
  LockHold hold(lock_);
  const KeyCode code = MakeKeyCode(virtualKey, shiftKeys);
  auto key = std::find_if(keys_.begin(), keys_.end(), [code](const KeyEntries& k) { return k.keyCode == code; });

  if (key != keys_.end()) {
    // Only the namespace's earliest entry on this key is compared.
    for (const auto& entry : key->entries) {
      if (entry->FNamespace != nameSpace) continue;
      if (entry->FContext == context) return kDuplicate;
      break;
    }
  }

  // Everything that can throw happens before the key is bound, so that a
  // failure leaves neither a bound key nor a half-made entry behind.
  auto entry = std::make_unique<TRegistryEntry>();
  entry->FNamespace = nameSpace;
  entry->FVirtualKey = virtualKey;
  entry->FShiftKeys = shiftKeys;
  entry->FActiveMode = activeMode;
  entry->FShortcutCallbackFunc = callback;
  entry->FContext = context;

  if (key == keys_.end()) {
    ReserveOneMore(keys_);
    KeyEntries added{code, {}};
    ReserveOneMore(added.entries);
    if (!hotKeys_.AddSystemHotKey(window_, virtualKey, shiftKeys)) return kKeyNotBound;
    keys_.push_back(std::move(added));
    key = keys_.end() - 1;
  } else {
    ReserveOneMore(key->entries);
  }

  entry->FShortcutId = ++idCounter_;
  if (shortcutId) *shortcutId = entry->FShortcutId;
  key->entries.push_back(std::move(entry));
  return kOk;
}

void ShortcutRegistry::RemoveEntry(size_t keyIndex, size_t position) {
  KeyEntries& key = keys_[keyIndex];
  key.entries.erase(key.entries.begin() + static_cast<std::ptrdiff_t>(position));
  if (!key.entries.empty()) return;
  hotKeys_.RemoveSystemHotKey(window_, KeyCodeVirtualKey(key.keyCode), KeyCodeShiftKeys(key.keyCode));
  keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(keyIndex));
}

Result ShortcutRegistry::UnregisterShortcut(uint32_t shortcutId) {
  LockHold hold(lock_);
  for (size_t k = 0; k < keys_.size(); ++k) {
    const auto& entries = keys_[k].entries;
    for (size_t e = 0; e < entries.size(); ++e) {
      if (entries[e]->FShortcutId != shortcutId) continue;
      RemoveEntry(k, e);
      return kOk;
    }
  }
  return kUnknownShortcutId;
}

Result ShortcutRegistry::GetShortcutInfoByShortcutId(uint32_t shortcutId, ShortcutInfo* info) {
  LockHold hold(lock_);
  for (const KeyEntries& key : keys_) {
    for (const auto& entry : key.entries) {
      if (entry->FShortcutId != shortcutId) continue;
      if (info) *info = {entry->FVirtualKey, entry->FShiftKeys, entry->FActiveMode, entry->FShortcutId};
      return kOk;
    }
  }
  return kUnknownShortcutId;
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
        *found = entry.get();
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
