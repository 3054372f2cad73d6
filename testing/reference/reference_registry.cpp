#include "reference/reference_registry.h"

#include <algorithm>
#include <exception>
#include <limits>

#include "debuglog/debug_log.h"
#include "registry/callback_text.h"

namespace loomkeys::reference {

ReferenceRegistry::~ReferenceRegistry() {
  for (size_t i = 0; i < shortcutEntryLists_.size(); ++i) {
    shortcutEntryLists_[i].clear();
    hotKeys_.RemoveSystemHotKey(window_, KeyCodeVirtualKey(shortcutKeyList_[i]), KeyCodeShiftKeys(shortcutKeyList_[i]));
  }
}

int ReferenceRegistry::FindKey(KeyCode code) const {
  for (size_t i = 0; i < shortcutKeyList_.size(); ++i) {
    if (shortcutKeyList_[i] == code) return static_cast<int>(i);
  }
  return -1;
}

Result ReferenceRegistry::RegisterShortcut2(std::string_view nameSpace, uint16_t virtualKey, uint16_t shiftKeys,
                                            uint16_t activeMode, ShortcutCallback callback, std::string_view context,
                                            uint32_t* shortcutId) {
  const KeyCode code = MakeKeyCode(virtualKey, shiftKeys);
  int position = FindKey(code);
  if (position < 0) {
    if (!hotKeys_.AddSystemHotKey(window_, virtualKey, shiftKeys)) return kKeyNotBound;
    shortcutKeyList_.push_back(code);
    shortcutEntryLists_.emplace_back();
    position = static_cast<int>(shortcutKeyList_.size()) - 1;
  } else {
    for (const auto& entry : shortcutEntryLists_[position]) {
      if (entry->nameSpace != nameSpace) continue;
      if (entry->context == context) return kDuplicate;
      break;
    }
  }
  auto entry = NewRegistryEntry(nameSpace, virtualKey, shiftKeys, activeMode, callback, context);
  entry->shortcutId = ++shortcutIdCounter_;
  if (shortcutId) *shortcutId = entry->shortcutId;
  shortcutEntryLists_[position].push_back(std::move(entry));
  return kOk;
}

void ReferenceRegistry::RemoveEntry(size_t keyIndex, size_t position) {
  auto& entries = shortcutEntryLists_[keyIndex];
  entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(position));
  if (!entries.empty()) return;
  const KeyCode code = shortcutKeyList_[keyIndex];
  hotKeys_.RemoveSystemHotKey(window_, KeyCodeVirtualKey(code), KeyCodeShiftKeys(code));
  shortcutEntryLists_.erase(shortcutEntryLists_.begin() + static_cast<std::ptrdiff_t>(keyIndex));
  shortcutKeyList_.erase(shortcutKeyList_.begin() + static_cast<std::ptrdiff_t>(keyIndex));
}

Result ReferenceRegistry::UnregisterShortcut(uint32_t shortcutId) {
  for (size_t k = 0; k < shortcutEntryLists_.size(); ++k) {
    for (size_t e = 0; e < shortcutEntryLists_[k].size(); ++e) {
      if (shortcutEntryLists_[k][e]->shortcutId != shortcutId) continue;
      RemoveEntry(k, e);
      return kOk;
    }
  }
  return kUnknownShortcutId;
}

Result ReferenceRegistry::GetShortcutInfoByShortcutId(uint32_t shortcutId, ShortcutInfo* info) {
  for (const auto& entries : shortcutEntryLists_) {
    for (const auto& entry : entries) {
      if (entry->shortcutId != shortcutId) continue;
      if (info) *info = {entry->virtualKey, entry->shiftKeys, entry->activeMode, entry->shortcutId};
      return kOk;
    }
  }
  return kUnknownShortcutId;
}

Result ReferenceRegistry::GetShortcutInfoByContext(std::string_view nameSpace, std::string_view context,
                                                   ShortcutInfo* info) {
  bool namespaceSeen = false;
  for (const auto& entries : shortcutEntryLists_) {
    for (const auto& entry : entries) {
      if (entry->nameSpace != nameSpace) continue;
      namespaceSeen = true;
      if (entry->context != context) continue;
      if (info) *info = {entry->virtualKey, entry->shiftKeys, entry->activeMode, entry->shortcutId};
      return kOk;
    }
  }
  return namespaceSeen ? kNoSuchContext : kNoEntries;
}

uint32_t ReferenceRegistry::GetShortcutCount(std::string_view nameSpace) {
  return static_cast<uint32_t>(NamespaceEntries(nameSpace).size());
}

Result ReferenceRegistry::FindByIndex(std::string_view nameSpace, uint32_t index, const RegistryEntry** found) const {
  const auto entries = NamespaceEntries(nameSpace);
  if (entries.empty()) return kNoEntries;
  if (index == 0 || index > entries.size()) return kIndexPastEntries;
  *found = entries[index - 1];
  return kOk;
}

Result ReferenceRegistry::GetShortcutDataSize(std::string_view nameSpace, uint32_t index, uint32_t* size) {
  const RegistryEntry* entry = nullptr;
  const Result result = FindByIndex(nameSpace, index, &entry);
  if (result == kOk && size) *size = static_cast<uint32_t>(entry->context.size());
  return result;
}

Result ReferenceRegistry::GetShortcutData(std::string_view nameSpace, uint32_t index, void* buffer, uint32_t* size,
                                          uint32_t* shortcutId, CopyFunction copy) {
  const RegistryEntry* entry = nullptr;
  const Result result = FindByIndex(nameSpace, index, &entry);
  if (result != kOk) return result;
  if (shortcutId) *shortcutId = entry->shortcutId;
  const auto length = static_cast<uint32_t>(entry->context.size());
  const uint32_t room = size ? *size : 0;
  if (size) *size = length;
  if (room < length) return kBufferTooSmall;
  if (length != 0 && !copy(buffer, entry->context.data(), length)) return kErrorRaised;
  return kOk;
}

std::vector<const RegistryEntry*> ReferenceRegistry::NamespaceEntries(std::string_view nameSpace) const {
  std::vector<const RegistryEntry*> found;
  for (const auto& entries : shortcutEntryLists_) {
    for (const auto& entry : entries) {
      if (entry->nameSpace == nameSpace) found.push_back(entry.get());
    }
  }
  return found;
}

uint32_t ReferenceRegistry::GetNamespaceDataSize(std::string_view nameSpace, BlobLayout layout) {
  const uint64_t length = uint64_t{2} * NamespaceBlobSize(NamespaceEntries(nameSpace), layout);
  return static_cast<uint32_t>(std::min<uint64_t>(length, std::numeric_limits<uint32_t>::max()));
}

Result ReferenceRegistry::GetNamespaceData(std::string_view nameSpace, BlobLayout layout, void* buffer, uint32_t* size,
                                           CopyFunction copy) {
  const auto entries = NamespaceEntries(nameSpace);
  const uint64_t length = uint64_t{2} * NamespaceBlobSize(entries, layout);
  if (length > std::numeric_limits<uint32_t>::max()) return kErrorRaised;
  const uint32_t room = size ? *size : 0;
  if (size) *size = static_cast<uint32_t>(length);
  if (room < length) return kBufferTooSmall;
  if (entries.empty()) return kNoEntries;
  const std::string text = BytesToHexText(WriteNamespaceBlob(entries, layout));
  return copy(buffer, text.data(), text.size()) ? kOk : kErrorRaised;
}

Result ReferenceRegistry::LoadNamespace(std::string_view nameSpace, BlobLayout layout, ShortcutCallback callback,
                                        std::string_view text) {
  const auto blob = HexTextToBytes(text);
  if (!blob) return kErrorRaised;
  return ReadNamespaceBlob(*blob, layout, [&](const BlobRecord& record) {
    RegisterShortcut2(nameSpace, record.virtualKey, record.shiftKeys, record.activeMode, callback, record.context,
                      nullptr);
  });
}

void ReferenceRegistry::UnloadNamespace(std::string_view nameSpace) {
  for (size_t k = shortcutEntryLists_.size(); k-- > 0;) {
    for (size_t e = shortcutEntryLists_[k].size(); e-- > 0;) {
      if (shortcutEntryLists_[k][e]->nameSpace == nameSpace) RemoveEntry(k, e);
    }
  }
}

void ReferenceRegistry::NamespaceRename(std::string_view nameSpace, std::string_view newNameSpace) {
  for (auto& entries : shortcutEntryLists_) {
    for (auto& entry : entries) {
      if (entry->nameSpace == nameSpace) entry->nameSpace = newNameSpace;
    }
  }
}

bool ReferenceRegistry::DispatchHotKey(KeyCode code, ClientCodeGuard& guard, ErrorBoxes& boxes) {
  const int position = FindKey(code);
  if (position < 0) return false;
  // The ids of the entries at the press; after every callback each is looked
  // for again, so that entries removed meanwhile are not called.
  std::vector<uint32_t> ids;
  for (const auto& entry : shortcutEntryLists_[position]) ids.push_back(entry->shortcutId);
  for (uint32_t id : ids) {
    const int key = FindKey(code);
    if (key < 0) break;
    const RegistryEntry* current = nullptr;
    for (const auto& entry : shortcutEntryLists_[key]) {
      if (entry->shortcutId == id) current = entry.get();
    }
    if (!current || !current->callback) continue;
    const ShortcutCallback callback = current->callback;
    const CallbackText nameSpace(current->nameSpace), context(current->context);
    const uint16_t virtualKey = current->virtualKey, shiftKeys = current->shiftKeys;
    const auto error = guard.Run([&] { callback(nameSpace.Text(), virtualKey, shiftKeys, context.Text(), id); });
    if (error) boxes.ShowError(u"Keyloom Exception", *error);
  }
  return true;
}

void ReferenceRegistry::ApplyActiveMode(WindowHandle window, uint16_t mode) {
  std::vector<KeyCode> enabled, disabled;
  auto contains = [](const std::vector<KeyCode>& set, KeyCode k) {
    return std::find(set.begin(), set.end(), k) != set.end();
  };
  for (size_t k = shortcutEntryLists_.size(); k-- > 0;) {
    const auto& entries = shortcutEntryLists_[k];
    for (size_t e = entries.size(); e-- > 0;) {
      const RegistryEntry& entry = *entries[e];
      if (entry.virtualKey == 0) continue;
      const KeyCode code = MakeKeyCode(entry.virtualKey, entry.shiftKeys);
      if ((entry.activeMode & mode) != 0) {
        if (!contains(enabled, code)) enabled.push_back(code);
        auto it = std::find(disabled.begin(), disabled.end(), code);
        if (it != disabled.end()) disabled.erase(it);
      } else if (!contains(enabled, code) && !contains(disabled, code)) {
        disabled.push_back(code);
      }
    }
  }
  DebugLog("EnabledVirtualKeys = %d, DisabledVirtualKeys = %d",
           {static_cast<int64_t>(enabled.size()), static_cast<int64_t>(disabled.size())});
  hotKeys_.ApplyKeySets(window, enabled, disabled);
}

}  // namespace loomkeys::reference
