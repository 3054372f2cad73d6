#pragma once
// Records the keystrokes that the library types, and plays the shift keys
// that the user holds down.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/key_injector.h"

namespace loomkeys::testing {

class RecordingKeyInjector : public KeyInjector {
 public:
  uint16_t ModifiersDown() noexcept override { return modifiersDown; }
  bool RightAltDown() noexcept override { return rightAltDown; }
  bool SendKeyStrokes(const KeyStroke* strokes, size_t count) noexcept override {
    sent.insert(sent.end(), strokes, strokes + count);
    ++sends;
    return !refuse;
  }
  bool SendCharacters(const char16_t* text, size_t length) noexcept override {
    typed.append(text, length);
    return !refuse;
  }

  uint16_t modifiersDown = 0;
  bool rightAltDown = false;
  bool refuse = false;  // the system takes none of the strokes
  std::vector<KeyStroke> sent;
  int sends = 0;
  std::u16string typed;  // characters sent as such
};

}  // namespace loomkeys::testing
