#pragma once
// One registered shortcut and the callback type that its key press calls.
#include <cstdint>
#include <string>

#include "common/calling_convention.h"

namespace loomkeys {

// The client's callback. Both strings arrive in the counted, doubled form of
// callback_text.h and belong to the library until the call returns.
using ShortcutCallback = void(LOOMKEYS_STDCALL*)(const char16_t* lpNamespace, uint16_t uVirtualKey,
                                                 uint16_t uShiftKeys, const char16_t* lpContext,
                                                 uint32_t uShortcutId);

// The active modes that the foreground window decides (none, slide design,
// slide show); an entry's active mode is a bit set over the last two.
constexpr uint16_t kModeNone = 0;
constexpr uint16_t kModeSlideDesign = 1;
constexpr uint16_t kModeSlideShow = 2;
constexpr uint16_t kEveryMode = 0xFFFF;

struct RegistryEntry {
  std::string nameSpace;  // ANSI bytes, compared exactly
  uint16_t virtualKey = 0;
  uint16_t shiftKeys = 0;
  uint16_t activeMode = 0;
  ShortcutCallback callback = nullptr;
  std::string context;  // ANSI bytes, opaque to the library
  uint32_t shortcutId = 0;
};

}  // namespace loomkeys
