#pragma once
// Plays keyboard layouts for native tests: a layout is a table of scan codes
// and of the characters its chords give; each window can have its own.
#include <map>

#include "platform/keyboard_layout.h"

namespace loomkeys::testing {

struct FakeLayout {
  std::map<uint16_t, ScanCode> scanCodes;
  std::map<KeyCode, LayoutCharacter> characters;
};

class FakeKeyboardLayouts : public KeyboardLayouts {
 public:
  // The layout of every window not given one of its own (none: no table).
  const FakeLayout* otherWindows = nullptr;
  std::map<WindowHandle, const FakeLayout*> byWindow;

  KeyboardLayout LayoutOfWindow(WindowHandle window) noexcept override {
    const auto found = byWindow.find(window);
    return found == byWindow.end() ? otherWindows : found->second;
  }
  ScanCode ScanCodeOf(KeyboardLayout layout, uint16_t virtualKey) noexcept override {
    if (!layout) return {};
    const auto& codes = static_cast<const FakeLayout*>(layout)->scanCodes;
    const auto found = codes.find(virtualKey);
    return found == codes.end() ? ScanCode{} : found->second;
  }
  LayoutCharacter CharacterOfChord(KeyboardLayout layout, KeyCode chord) noexcept override {
    ++characterQuestions;
    if (!layout) return {};
    const auto& characters = static_cast<const FakeLayout*>(layout)->characters;
    const auto found = characters.find(chord);
    return found == characters.end() ? LayoutCharacter{} : found->second;
  }

  int characterQuestions = 0;
};

}  // namespace loomkeys::testing
