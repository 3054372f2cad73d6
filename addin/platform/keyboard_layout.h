#pragma once
// What the library asks of the keyboard layout of the window in front: the
// scan codes of the keys it types again, and the character that a chord
// gives there (AltGr). The DLL asks Windows; native tests use fake layouts.
#include <cstddef>
#include <cstdint>

#include "hotkeys/key_code.h"
#include "platform/window_handle.h"

namespace loomkeys {

// A keyboard layout as Windows names it (an HKL).
using KeyboardLayout = const void*;

struct ScanCode {
  uint16_t code = 0;      // 0: the layout has no key for the virtual key
  bool extended = false;  // the layout sends the key with the E0 or E1 prefix
};

struct LayoutCharacter {
  enum Kind { kNone, kCharacter, kDeadKey };
  Kind kind = kNone;
  // The character, or the two halves of one beyond U+FFFF.
  char16_t text[2] = {};
  size_t length = 0;
};

class KeyboardLayouts {
 public:
  virtual ~KeyboardLayouts() = default;
  // The layout of the thread that owns the window: Windows can keep one
  // layout per program, so it need not be PowerPoint's.
  virtual KeyboardLayout LayoutOfWindow(WindowHandle window) noexcept = 0;
  virtual ScanCode ScanCodeOf(KeyboardLayout layout, uint16_t virtualKey) noexcept = 0;
  // What typing the chord gives in the layout, with its Alt as the right Alt
  // key; asking leaves the keyboard state of every window as it was.
  virtual LayoutCharacter CharacterOfChord(KeyboardLayout layout, KeyCode chord) noexcept = 0;
};

}  // namespace loomkeys
