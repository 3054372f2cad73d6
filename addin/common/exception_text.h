#pragma once
// The text that an error box shows for the exception being handled.
#include <string>

namespace loomkeys {

// Call inside a catch block. A C++ exception gives its message (ANSI text in
// the system's code page), "Exception" when that cannot be converted, and
// anything else "Unknown exception".
std::u16string CurrentExceptionText();

}  // namespace loomkeys
