#pragma once
// PowerPoint's own keyboard shortcuts, so that the Customize dialog can tell
// the user what PowerPoint already does with the key in its key field.
//
// SK uses the bits of the Windows hot-key control, which the key field
// reports: 0x01 Shift, 0x02 Ctrl, 0x04 Alt, 0x08 extended key. That is not
// the MOD_* order of ShiftKeys (there 1 is Alt and 4 is Shift).
#include <array>
#include <cstdint>
#include <string_view>

namespace loomkeys {

struct TPredefinedShortcut {
  uint16_t VK;
  uint8_t SK;
  const char16_t* CM;
};

extern const std::array<TPredefinedShortcut, 77> PredefinedShortcuts;

// The description of the row whose VK and SK equal the arguments (the whole
// modifier byte, not contained bits), or an empty string when no row does.
std::u16string_view FindPowerPointShortcut(uint16_t virtualKey, uint8_t shiftKeys);

}  // namespace loomkeys
