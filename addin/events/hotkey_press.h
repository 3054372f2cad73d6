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
};

}  // namespace loomkeys
