#pragma once
// Global atoms and system hot keys through user32 and kernel32.
#include "platform/hotkey_system.h"

namespace loomkeys {

class Win32HotKeySystem final : public HotKeySystem {
 public:
  LOOMKEYS_HOTKEY_SYSTEM_OVERRIDES
};

}  // namespace loomkeys
