#pragma once
// A key as one 32-bit value: the virtual key in bits 16 to 31 and the shift
// keys in bits 0 to 15, the layout of WM_HOTKEY's lParam.
#include <cstdint>

namespace loomkeys {

// The shift keys, as RegisterHotKey takes them (MOD_*) and the public header
// exports them (LOOMKEYS_MOD_*); the Win32 layer checks that all three agree.
constexpr uint16_t kModAlt = 0x0001;
constexpr uint16_t kModControl = 0x0002;
constexpr uint16_t kModShift = 0x0004;
constexpr uint16_t kModWin = 0x0008;
// The only shift keys that WM_HOTKEY reports; RegisterHotKey takes more
// bits (MOD_NOREPEAT, and others it does not check).
constexpr uint16_t kReportedShiftKeys = kModAlt | kModControl | kModShift | kModWin;

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
