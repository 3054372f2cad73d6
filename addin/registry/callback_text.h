#pragma once
// The form in which a callback receives its namespace and context: the ANSI
// string written twice, converted to UTF-16, preceded by a 32-bit count of
// its UTF-16 units and followed by one zero unit. A reader that takes the
// count as bytes, as Automation strings (BSTR) are read, sees the string
// once; one that reads up to the zero sees it twice.
//
// The doubled string is converted as a whole: in a double-byte code page a
// string that ends in a lead byte pairs it with the first byte of its copy.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ansi_text.h"

namespace loomkeys {

using AnsiConverter = std::u16string (*)(std::string_view ansi);

class CallbackText {
 public:
  // `convert` is the code page's conversion (tests stand in other code pages).
  explicit CallbackText(std::string_view ansi, AnsiConverter convert = AnsiToUtf16);
  // The first character; the length word stands right before it.
  const char16_t* Text() const { return buffer_.data() + 2; }

 private:
  std::vector<char16_t> buffer_;  // two units of length word, text, zero
};

// What the callback of an entry receives besides numbers.
struct CallbackTexts {
  CallbackText nameSpace;
  CallbackText context;
};

}  // namespace loomkeys
