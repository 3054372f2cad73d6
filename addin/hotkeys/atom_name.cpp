#include "hotkeys/atom_name.h"

namespace loomkeys {
namespace {

constexpr std::string_view kPrefix = "PowerPoint";

void AppendHex4(std::string& out, uint16_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

std::optional<uint16_t> ParseHex4(std::string_view digits) {
  uint16_t value = 0;
  for (char c : digits) {
    int nibble;
    if (c >= '0' && c <= '9') nibble = c - '0';
    else if (c >= 'A' && c <= 'F') nibble = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') nibble = c - 'a' + 10;
    else return std::nullopt;
    value = static_cast<uint16_t>((value << 4) | nibble);
  }
  return value;
}

}  // namespace

std::string HotKeyAtomName(uint16_t virtualKey, uint16_t shiftKeys) {
  std::string name(kPrefix);
  AppendHex4(name, virtualKey);
  AppendHex4(name, shiftKeys);
  return name;
}

std::optional<KeyCode> ParseHotKeyAtomName(std::string_view name) {
  if (name.size() != kPrefix.size() + 8 || name.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
  auto virtualKey = ParseHex4(name.substr(10, 4));
  auto shiftKeys = ParseHex4(name.substr(14, 4));
  if (!virtualKey || !shiftKeys) return std::nullopt;
  return MakeKeyCode(*virtualKey, *shiftKeys);
}

}  // namespace loomkeys
