#pragma once
// The shortcut registry written as the reference algorithm: a list of keys
// and a parallel list of entry lists, searched linearly, and a mode filter
// that rebuilds both key sets on every tick with linear membership tests.
// It answers exactly what ShortcutRegistry answers and makes the same calls
// in the same order; benchmarks measure the product against it and tests
// check the two against each other on random registries.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "common/result_codes.h"
#include "hotkeys/key_code.h"
#include "platform/client_code.h"
#include "platform/guarded_copy.h"
#include "reference/reference_hotkey_table.h"
#include "registry/namespace_blob.h"
#include "registry/registry_entry.h"
#include "registry/shortcut_registry.h"

namespace loomkeys::reference {

class ReferenceRegistry {
 public:
  ReferenceRegistry(ReferenceHotKeyTable& hotKeys, WindowHandle window) : hotKeys_(hotKeys), window_(window) {}
  ~ReferenceRegistry();
  ReferenceRegistry(const ReferenceRegistry&) = delete;
  ReferenceRegistry& operator=(const ReferenceRegistry&) = delete;

  Result RegisterShortcut2(std::string_view nameSpace, uint16_t virtualKey, uint16_t shiftKeys, uint16_t activeMode,
                           ShortcutCallback callback, std::string_view context, uint32_t* shortcutId);
  Result UnregisterShortcut(uint32_t shortcutId);
  Result GetShortcutInfoByShortcutId(uint32_t shortcutId, ShortcutInfo* info);
  Result GetShortcutInfoByContext(std::string_view nameSpace, std::string_view context, ShortcutInfo* info);
  uint32_t GetShortcutCount(std::string_view nameSpace);
  Result GetShortcutDataSize(std::string_view nameSpace, uint32_t index, uint32_t* size);
  Result GetShortcutData(std::string_view nameSpace, uint32_t index, void* buffer, uint32_t* size, uint32_t* shortcutId,
                         CopyFunction copy = GuardedCopy);

  uint32_t GetNamespaceDataSize(std::string_view nameSpace, BlobLayout layout);
  Result GetNamespaceData(std::string_view nameSpace, BlobLayout layout, void* buffer, uint32_t* size,
                          CopyFunction copy = GuardedCopy);
  Result LoadNamespace(std::string_view nameSpace, BlobLayout layout, ShortcutCallback callback, std::string_view text);
  void UnloadNamespace(std::string_view nameSpace);
  void NamespaceRename(std::string_view nameSpace, std::string_view newNameSpace);

  bool DispatchHotKey(KeyCode key, ClientCodeGuard& guard, ErrorBoxes& boxes);
  void ApplyActiveMode(WindowHandle window, uint16_t mode);

  // ShortcutKeyList and ShortcutEntryLists: position i of one belongs to position i of the other.
  const std::vector<KeyCode>& KeyList() const { return shortcutKeyList_; }
  const std::vector<std::vector<std::unique_ptr<RegistryEntry>>>& EntryLists() const { return shortcutEntryLists_; }

 private:
  // The position of the key in ShortcutKeyList, or -1.
  int FindKey(KeyCode code) const;
  Result FindByIndex(std::string_view nameSpace, uint32_t index, const RegistryEntry** found) const;
  std::vector<const RegistryEntry*> NamespaceEntries(std::string_view nameSpace) const;
  void RemoveEntry(size_t keyIndex, size_t position);

  ReferenceHotKeyTable& hotKeys_;
  WindowHandle window_;
  std::vector<KeyCode> shortcutKeyList_;
  std::vector<std::vector<std::unique_ptr<RegistryEntry>>> shortcutEntryLists_;
  uint32_t shortcutIdCounter_ = 0;
};

}  // namespace loomkeys::reference
