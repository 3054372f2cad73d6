#include "platform/ansi_text.h"

namespace loomkeys {

std::u16string AnsiToUtf16(std::string_view text) {
  std::u16string result;
  result.reserve(text.size());
  for (unsigned char c : text) result += static_cast<char16_t>(c);
  return result;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char16_t c : text) result += c <= 0xFF ? static_cast<char>(c) : '?';
  return result;
}

}  // namespace loomkeys
