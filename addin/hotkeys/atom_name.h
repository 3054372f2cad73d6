#pragma once
// The global atom name of a hot key: "PowerPoint", then the virtual key and
// the shift keys as four upper-case hexadecimal digits each, e.g.
// PowerPoint00740006 for Ctrl+Shift+F5. Names sort like their KeyCodes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "hotkeys/key_code.h"

namespace loomkeys {

std::string HotKeyAtomName(uint16_t virtualKey, uint16_t shiftKeys);

// The key encoded in an atom name, or nothing when the text is not one.
std::optional<KeyCode> ParseHotKeyAtomName(std::string_view name);

}  // namespace loomkeys
