#include "registry/callback_text.h"

#include <cstring>
#include <string>

#include "platform/ansi_text.h"

namespace loomkeys {

CallbackText::CallbackText(std::string_view ansi) {
  const std::u16string once = AnsiToUtf16(ansi);
  const auto units = static_cast<uint32_t>(once.size() * 2);
  buffer_.resize(2 + units + 1, u'\0');
  std::memcpy(buffer_.data(), &units, sizeof units);
  std::copy(once.begin(), once.end(), buffer_.begin() + 2);
  std::copy(once.begin(), once.end(), buffer_.begin() + 2 + static_cast<std::ptrdiff_t>(once.size()));
}

}  // namespace loomkeys
