#pragma once
// Types keystrokes through SendInput and reads the shift keys' state.
#include "platform/key_injector.h"

namespace loomkeys {

class Win32KeyInjector final : public KeyInjector {
 public:
  uint16_t ModifiersDown() noexcept override;
  bool RightAltDown() noexcept override;
  bool SendKeyStrokes(const KeyStroke* strokes, size_t count) noexcept override;
  bool SendCharacters(const char16_t* text, size_t length) noexcept override;
};

}  // namespace loomkeys
