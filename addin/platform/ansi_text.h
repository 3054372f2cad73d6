#pragma once
// Conversion between 8-bit text in the system's default ANSI code page and
// UTF-16. Windows uses its active code page; the native build reads bytes as
// Latin-1, which is enough for tests of the core.
#include <string>
#include <string_view>

namespace loomkeys {

std::u16string AnsiToUtf16(std::string_view text);
std::string Utf16ToAnsi(std::u16string_view text);

}  // namespace loomkeys
