#pragma once
// The keyboard layouts of windows, through GetKeyboardLayout,
// MapVirtualKeyExW and ToUnicodeEx.
#include "platform/keyboard_layout.h"

namespace loomkeys {

class Win32KeyboardLayouts final : public KeyboardLayouts {
 public:
  KeyboardLayout LayoutOfWindow(WindowHandle window) noexcept override;
  ScanCode ScanCodeOf(KeyboardLayout layout, uint16_t virtualKey) noexcept override;
  LayoutCharacter CharacterOfChord(KeyboardLayout layout, KeyCode chord) noexcept override;
};

}  // namespace loomkeys
