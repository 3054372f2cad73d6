#include "registry/callback_text.h"

#include <algorithm>
#include <cstring>

namespace loomkeys {

CallbackText::CallbackText(std::string_view ansi, AnsiConverter convert) {
  std::string doubled;
  doubled.reserve(2 * ansi.size());
  doubled.append(ansi).append(ansi);
  const std::u16string text = convert(doubled);
  const auto units = static_cast<uint32_t>(text.size());
  buffer_.resize(2 + units + 1, u'\0');
  std::memcpy(buffer_.data(), &units, sizeof units);
  std::copy(text.begin(), text.end(), buffer_.begin() + 2);
}

}  // namespace loomkeys
