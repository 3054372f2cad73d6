// The namespace-wide operations of the shortcut registry: saving a
// namespace as blob text, loading such text back, removing a namespace and
// renaming one. Each holds the registry's lock for its whole run, so that a blob is
// a consistent picture of the namespace at one moment.
#include <cstdint>
#include <exception>
#include <limits>
#include <string>

#include "registry/shortcut_registry.h"

namespace loomkeys {
namespace {

// The blob text has two characters per raw byte.
uint64_t TextLength(size_t rawSize) { return static_cast<uint64_t>(rawSize) * 2; }

}  // namespace

std::vector<const RegistryEntry*> ShortcutRegistry::NamespaceEntries(std::string_view nameSpace) const {
  std::vector<const RegistryEntry*> found;
  const auto end = NamespaceEnd(nameSpace);
  for (auto at = NamespaceBegin(nameSpace); at != end; ++at) found.push_back(at->filed->second.get());
  return found;
}

uint32_t ShortcutRegistry::GetNamespaceDataSize(std::string_view nameSpace, BlobLayout layout) {
  LockHold hold(lock_);
  const uint64_t length = TextLength(NamespaceBlobSize(NamespaceEntries(nameSpace), layout));
  // Saturated rather than wrapped: GetNamespaceData refuses such a text with 6.
  constexpr uint64_t kLargest = std::numeric_limits<uint32_t>::max();
  return static_cast<uint32_t>(length < kLargest ? length : kLargest);
}

Result ShortcutRegistry::GetNamespaceData(std::string_view nameSpace, BlobLayout layout, void* buffer, uint32_t* size,
                                          CopyFunction copy) {
  LockHold hold(lock_);
  try {
    const auto entries = NamespaceEntries(nameSpace);
    const uint64_t length = TextLength(NamespaceBlobSize(entries, layout));
    // A text of 4 GB or more has no 32-bit length to report; a wrapped
    // length would let the copy below run past the caller's buffer.
    if (length > std::numeric_limits<uint32_t>::max()) return kErrorRaised;
    const auto needed = static_cast<uint32_t>(length);
    const uint32_t room = size ? *size : 0;
    if (size) *size = needed;
    if (room < needed) return kBufferTooSmall;
    if (entries.empty()) return kNoEntries;

    auto* text = static_cast<char*>(buffer);
    const bool copied = WriteNamespaceBlobText(entries, layout, [&](size_t offset, const char* piece, size_t size) {
      return copy(text + offset, piece, size);
    });
    return copied ? kOk : kErrorRaised;
  } catch (const std::exception&) {
    return kErrorRaised;
  }
}

Result ShortcutRegistry::LoadNamespace(std::string_view nameSpace, BlobLayout layout, ShortcutCallback callback,
                                       std::string_view text) {
  LockHold hold(lock_);
  try {
    const auto blob = HexTextToBytes(text);
    if (!blob) return kErrorRaised;
    return ReadNamespaceBlob(*blob, layout, [&](const BlobRecord& record) {
      // The result is dropped on purpose: a duplicate, or a key that the
      // system will not bind, skips this record and the load goes on.
      RegisterShortcut2(nameSpace, record.virtualKey, record.shiftKeys, record.activeMode, callback, record.context,
                        nullptr);
    });
  } catch (const std::exception&) {
    // Records registered before the failure stay registered.
    return kErrorRaised;
  }
}

void ShortcutRegistry::UnloadNamespace(std::string_view nameSpace) {
  LockHold hold(lock_);
  // The namespace's entries from the last in registry order to the first,
  // so that keys that lose their last entry are unbound from the last key
  // backwards. Each round takes the last that is left.
  for (;;) {
    auto last = NamespaceEnd(nameSpace);
    if (last == namespaceIndex_.begin() || !InNamespace(--last, nameSpace)) return;
    RemoveEntry(entryIndex_.find(last->filed->second->shortcutId));
  }
}

void ShortcutRegistry::NamespaceRename(std::string_view nameSpace, std::string_view newNameSpace) {
  LockHold hold(lock_);
  // Renaming calls nothing and keeps every entry where it is; only this
  // index, ordered by namespace first, must file the entries anew.
  for (auto at = NamespaceBegin(nameSpace); InNamespace(at, nameSpace);) {
    std::string renamed(newNameSpace);  // the only step that can fail, taken before anything changes
    auto filed = namespaceIndex_.extract(at++);
    filed.value().filed->second->nameSpace.swap(renamed);
    filed.value().filed->second->callbackTexts.reset();
    namespaceIndex_.insert(std::move(filed));
  }
}

}  // namespace loomkeys
