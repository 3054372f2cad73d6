#pragma once
// PowerPoint's own keyboard shortcuts, so that the Customize dialog can tell
// the user what PowerPoint already does with the key in its key field.
//
// hotKeyFlags uses the bits of the Windows hot-key control, which the key
// field reports (hotkey_flags.h): 0x01 Shift, 0x02 Ctrl, 0x04 Alt, 0x08
// extended key. That is not the MOD_* order of shift keys (there 1 is Alt and
// 4 is Shift).
#include <array>
#include <cstdint>
#include <string_view>

namespace loomkeys {

struct PowerPointShortcut {
  uint16_t virtualKey;
  uint8_t hotKeyFlags;
  const char16_t* action;
};

extern const std::array<PowerPointShortcut, 77> kPowerPointShortcuts;

// The action of the row whose virtual key and flags equal the arguments (the
// whole flag byte, not contained bits), or an empty string when no row does.
std::u16string_view FindPowerPointShortcut(uint16_t virtualKey, uint8_t hotKeyFlags);

}  // namespace loomkeys
