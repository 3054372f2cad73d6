#include "events/chord_strokes.h"

#include <algorithm>
#include <iterator>

namespace loomkeys {
namespace {

struct ShiftKey {
  uint16_t bit;
  uint16_t virtualKey;
};

// In the order they go down: Ctrl, Shift, Alt, then the left Win key.
constexpr ShiftKey kShiftKeys[] = {{kModControl, 0x11}, {kModShift, 0x10}, {kModAlt, 0x12}, {kModWin, 0x5B}};

// The keys that a keyboard sends with the E0 prefix.
constexpr uint16_t kExtendedKeys[] = {
    0x03,                                            // VK_CANCEL (Ctrl+Break)
    0x21, 0x22, 0x23, 0x24,                          // VK_PRIOR, VK_NEXT, VK_END, VK_HOME
    0x25, 0x26, 0x27, 0x28,                          // VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN
    0x2C, 0x2D, 0x2E,                                // VK_SNAPSHOT, VK_INSERT, VK_DELETE
    0x5B, 0x5C, 0x5D,                                // VK_LWIN, VK_RWIN, VK_APPS
    0x6F, 0x90,                                      // VK_DIVIDE, VK_NUMLOCK
    0xA3, 0xA5,                                      // VK_RCONTROL, VK_RMENU
    0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC,        // VK_BROWSER_BACK to VK_BROWSER_HOME
    0xAD, 0xAE, 0xAF,                                // VK_VOLUME_MUTE, _DOWN, _UP
    0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7,  // VK_MEDIA_NEXT_TRACK to VK_LAUNCH_APP2
};

}  // namespace

bool NeedsExtendedKeyFlag(uint16_t virtualKey) {
  return std::find(std::begin(kExtendedKeys), std::end(kExtendedKeys), virtualKey) != std::end(kExtendedKeys);
}

ChordStrokes StrokesOfChord(KeyCode chord, uint16_t modifiersDown, KeyboardLayouts& layouts, KeyboardLayout layout) {
  ChordStrokes result;
  auto add = [&](uint16_t virtualKey, bool up) {
    // The table as well as the layout: not every layout reports the E0
    // prefix of the arrows and their kin (Wine's do not).
    const ScanCode scanCode = layouts.ScanCodeOf(layout, virtualKey);
    result.strokes[result.count++] = {virtualKey, up, scanCode.extended || NeedsExtendedKeyFlag(virtualKey),
                                      scanCode.code};
  };
  const uint16_t pressedHere = static_cast<uint16_t>(KeyCodeShiftKeys(chord) & ~modifiersDown);
  for (const ShiftKey& shift : kShiftKeys) {
    if (pressedHere & shift.bit) add(shift.virtualKey, false);
  }
  add(KeyCodeVirtualKey(chord), false);
  add(KeyCodeVirtualKey(chord), true);
  for (auto shift = std::rbegin(kShiftKeys); shift != std::rend(kShiftKeys); ++shift) {
    if (pressedHere & shift->bit) add(shift->virtualKey, true);
  }
  return result;
}

}  // namespace loomkeys
