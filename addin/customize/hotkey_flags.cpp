#include "customize/hotkey_flags.h"

namespace loomkeys {

uint8_t HotKeyFlagsFromShiftKeys(uint16_t shiftKeys) {
  uint8_t flags = 0;
  if (shiftKeys & kModShift) flags |= kHotKeyShift;
  if (shiftKeys & kModControl) flags |= kHotKeyControl;
  if (shiftKeys & kModAlt) flags |= kHotKeyAlt;
  return flags;
}

uint16_t ShiftKeysFromHotKeyFlags(uint8_t flags) {
  uint16_t shiftKeys = 0;
  if (flags & kHotKeyControl) shiftKeys |= kModControl;
  if (flags & kHotKeyShift) shiftKeys |= kModShift;
  if (flags & kHotKeyAlt) shiftKeys |= kModAlt;
  return shiftKeys;
}

}  // namespace loomkeys
