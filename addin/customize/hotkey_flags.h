#pragma once
// The key field of the Customize dialog is a Windows hot-key control. Its
// value has the virtual key in the low byte and HOTKEYF_* flags in the high
// byte, and those flags are not the MOD_* bits of shift keys:
//
//   HOTKEYF_SHIFT   0x01  <->  MOD_SHIFT   4
//   HOTKEYF_CONTROL 0x02  <->  MOD_CONTROL 2
//   HOTKEYF_ALT     0x04  <->  MOD_ALT     1
//   HOTKEYF_EXT     0x08       (no shift-key bit: dropped when stored)
//
// Shift-key bits other than those three (MOD_WIN among them) cannot be shown
// in the control and are dropped.
#include <cstdint>

#include "hotkeys/key_code.h"

namespace loomkeys {

constexpr uint8_t kHotKeyShift = 0x01;
constexpr uint8_t kHotKeyControl = 0x02;
constexpr uint8_t kHotKeyAlt = 0x04;
constexpr uint8_t kHotKeyExtended = 0x08;

constexpr uint8_t HotKeyFlagsFromShiftKeys(uint16_t shiftKeys) {
  return static_cast<uint8_t>(((shiftKeys & kModShift) ? kHotKeyShift : 0) |
                              ((shiftKeys & kModControl) ? kHotKeyControl : 0) |
                              ((shiftKeys & kModAlt) ? kHotKeyAlt : 0));
}

constexpr uint16_t ShiftKeysFromHotKeyFlags(uint8_t flags) {
  return static_cast<uint16_t>(((flags & kHotKeyControl) ? kModControl : 0) | ((flags & kHotKeyShift) ? kModShift : 0) |
                               ((flags & kHotKeyAlt) ? kModAlt : 0));
}

// The control's value for a key and its flags, and the two halves of one.
constexpr uint16_t HotKeyValue(uint8_t virtualKey, uint8_t flags) {
  return static_cast<uint16_t>(virtualKey | (flags << 8));
}
constexpr uint8_t HotKeyVirtualKey(uint16_t value) { return static_cast<uint8_t>(value & 0xFF); }
constexpr uint8_t HotKeyFlags(uint16_t value) { return static_cast<uint8_t>(value >> 8); }

}  // namespace loomkeys
