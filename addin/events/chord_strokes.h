#pragma once
// The keystrokes that type a hot key's chord again for the window in front.
#include <cstddef>
#include <cstdint>

#include "hotkeys/key_code.h"
#include "platform/key_injector.h"
#include "platform/keyboard_layout.h"

namespace loomkeys {

// At most four shift keys down, the key down and up, four shift keys up.
struct ChordStrokes {
  KeyStroke strokes[10];
  size_t count = 0;
};

// The shift keys of the chord that are not held down already go down first
// and up last, in reverse order; those the user holds are left alone, so
// that the chord ends with the keyboard as the user has it. Scan codes come
// from the layout of the window that receives the keys.
ChordStrokes StrokesOfChord(KeyCode chord, uint16_t modifiersDown, KeyboardLayouts& layouts, KeyboardLayout layout);

// Whether a keyboard sends the virtual key with the E0 prefix: without
// KEYEVENTF_EXTENDEDKEY, SendInput would type its number-pad twin instead
// (an arrow would become a digit with Num Lock on).
bool NeedsExtendedKeyFlag(uint16_t virtualKey);

}  // namespace loomkeys
