#pragma once
// One registered shortcut and the callback type that its key press calls.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/active_mode.h"
#include "common/calling_convention.h"

namespace loomkeys {

struct CallbackTexts;

// The client's callback. Both strings arrive in the counted, doubled form of
// callback_text.h and belong to the library until the call returns.
using ShortcutCallback = void(LOOMKEYS_STDCALL*)(const char16_t* lpNamespace, uint16_t uVirtualKey, uint16_t uShiftKeys,
                                                 const char16_t* lpContext, uint32_t uShortcutId);

struct RegistryEntry {
  std::string nameSpace;  // ANSI bytes, compared exactly
  uint16_t virtualKey = 0;
  uint16_t shiftKeys = 0;
  uint16_t activeMode = 0;
  ShortcutCallback callback = nullptr;
  std::string context;  // ANSI bytes, opaque to the library
  uint32_t shortcutId = 0;
  // Its namespace and context as its callback receives them: converted at
  // its first press, kept for the presses after it and dropped when the
  // namespace is renamed. A call shares them, so they outlive an entry that
  // is removed while its callback runs.
  std::shared_ptr<const CallbackTexts> callbackTexts;
};

// A registration's entry, before it is filed and given its id.
inline std::unique_ptr<RegistryEntry> NewRegistryEntry(std::string_view nameSpace, uint16_t virtualKey,
                                                       uint16_t shiftKeys, uint16_t activeMode,
                                                       ShortcutCallback callback, std::string_view context) {
  auto entry = std::make_unique<RegistryEntry>();
  entry->nameSpace = nameSpace;
  entry->virtualKey = virtualKey;
  entry->shiftKeys = shiftKeys;
  entry->activeMode = activeMode;
  entry->callback = callback;
  entry->context = context;
  return entry;
}

}  // namespace loomkeys
