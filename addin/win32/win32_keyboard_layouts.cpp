#include "win32/win32_keyboard_layouts.h"

#include <windows.h>

namespace loomkeys {
namespace {

HKL Hkl(KeyboardLayout layout) { return static_cast<HKL>(const_cast<void*>(layout)); }

// ToUnicodeEx's flag that leaves the keyboard state alone (Windows 10 1607
// and later): asking must not start or end a dead-key composition of the
// window in front.
constexpr UINT kKeepKeyboardState = 0x4;

}  // namespace

KeyboardLayout Win32KeyboardLayouts::LayoutOfWindow(WindowHandle window) noexcept {
  return GetKeyboardLayout(GetWindowThreadProcessId(static_cast<HWND>(window), nullptr));
}

ScanCode Win32KeyboardLayouts::ScanCodeOf(KeyboardLayout layout, uint16_t virtualKey) noexcept {
  const UINT code = MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC_EX, Hkl(layout));
  const UINT prefix = code >> 8;
  return {static_cast<uint16_t>(code & 0xFF), prefix == 0xE0 || prefix == 0xE1};
}

LayoutCharacter Win32KeyboardLayouts::CharacterOfChord(KeyboardLayout layout, KeyCode chord) noexcept {
  BYTE state[256] = {};
  const uint16_t shiftKeys = KeyCodeShiftKeys(chord);
  if (shiftKeys & kModControl) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
  if (shiftKeys & kModAlt) state[VK_MENU] = state[VK_RMENU] = 0x80;
  if (shiftKeys & kModShift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
  state[VK_CAPITAL] = static_cast<BYTE>(GetKeyState(VK_CAPITAL) & 1);
  const UINT virtualKey = KeyCodeVirtualKey(chord);
  wchar_t text[8] = {};
  const int length = ToUnicodeEx(virtualKey, MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, Hkl(layout)), state, text, 8,
                                 kKeepKeyboardState, Hkl(layout));
  LayoutCharacter result;
  if (length < 0) {
    result.kind = LayoutCharacter::kDeadKey;
  } else if (length == 1 || length == 2) {
    result.kind = LayoutCharacter::kCharacter;
    result.length = static_cast<size_t>(length);
    for (int i = 0; i < length; ++i) result.text[i] = static_cast<char16_t>(text[i]);
  }
  return result;
}

}  // namespace loomkeys
