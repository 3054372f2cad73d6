#pragma once
// Keystrokes that the library types itself: a press that reached the hidden
// window as a hot key, but belongs to the window in front, is typed again
// there. The DLL sends them with SendInput; native tests record them.
#include <cstddef>
#include <cstdint>

namespace loomkeys {

// One key going down or up.
struct KeyStroke {
  uint16_t virtualKey = 0;
  bool up = false;
  // KEYEVENTF_EXTENDEDKEY: the key is one of those that a keyboard sends
  // with the E0 prefix (arrows, Insert, the right-hand Win key, ...).
  bool extended = false;
  // The key's scan code in the layout of the window in front.
  uint16_t scanCode = 0;
  bool operator==(const KeyStroke&) const = default;
};

// Every keystroke the library types carries this in its dwExtraInfo, so that
// the window that receives it (GetMessageExtraInfo) or a keyboard hook can
// tell it from the user's own typing: "LKEY".
constexpr uintptr_t kInjectedInputMarker = 0x4C4B4559;

class KeyInjector {
 public:
  virtual ~KeyInjector() = default;
  // The shift keys (kModAlt, kModControl, kModShift, kModWin) held down now.
  virtual uint16_t ModifiersDown() noexcept = 0;
  // Whether the right-hand Alt key is down now (AltGr on layouts that have it).
  virtual bool RightAltDown() noexcept = 0;
  // Types the strokes in one go, so that no other input comes between them;
  // true when the system took every one.
  virtual bool SendKeyStrokes(const KeyStroke* strokes, size_t count) noexcept = 0;
  // Types the text as characters (KEYEVENTF_UNICODE), which no hot key can
  // take; true when the system took every event.
  virtual bool SendCharacters(const char16_t* text, size_t length) noexcept = 0;
};

}  // namespace loomkeys
