#pragma once
// A key as one 32-bit value: the virtual key in bits 16 to 31 and the shift
// keys (MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_WIN 8) in bits 0 to 15,
// the layout of WM_HOTKEY's lParam.
#include <cstdint>

namespace loomkeys {

using KeyCode = uint32_t;

constexpr KeyCode MakeKeyCode(uint16_t virtualKey, uint16_t shiftKeys) {
  return (static_cast<KeyCode>(virtualKey) << 16) | shiftKeys;
}

constexpr uint16_t KeyCodeVirtualKey(KeyCode code) { return static_cast<uint16_t>(code >> 16); }
constexpr uint16_t KeyCodeShiftKeys(KeyCode code) { return static_cast<uint16_t>(code & 0xFFFF); }

// The key of a WM_HOTKEY message: its lParam's low 32 bits; on 64-bit
// Windows the upper half carries nothing.
constexpr KeyCode KeyCodeOfHotKeyMessage(uint64_t lParam) { return static_cast<KeyCode>(lParam); }

}  // namespace loomkeys
