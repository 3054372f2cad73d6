#pragma once
// A key press as WM_HOTKEY reports it, unpacked by the Win32 layer.
#include <cstdint>

#include "hotkeys/key_code.h"

namespace loomkeys {

struct HotKeyPress {
  // wParam: the id the key was bound with, its atom. It names the pair the
  // system bound exactly, shift-key bits such as MOD_NOREPEAT included.
  int id = 0;
  // lParam: the key and the shift keys as Windows reports them, only ever
  // Alt, Ctrl, Shift and Win.
  KeyCode chord = 0;
  // How long the message waited in the queue, in milliseconds.
  uint32_t waited = 0;
};

// The milliseconds from a message's time (GetMessageTime) to now
// (GetTickCount): both read the 32-bit millisecond clock, which wraps to 0
// every 49.7 days, and the unsigned difference stays right across the wrap.
// A time up to 24.8 days ahead of now counts as no wait at all.
constexpr uint32_t MessageWait(uint32_t messageTime, uint32_t now) {
  const uint32_t wait = now - messageTime;
  return wait > 0x7FFFFFFF ? 0 : wait;
}

}  // namespace loomkeys
