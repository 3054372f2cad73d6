#pragma once
// The About box: the product's name, which opens its home page, and the
// maker's copyright line, which opens a new mail to its support address.
#include <windows.h>

namespace loomkeys {

// Shows a new About box modally and destroys it once it is closed (OK, Enter,
// Esc or the close box all end it alike). `owner` may be null; the thread's
// windows take no input while it is open. Never throws.
void ShowAboutForm(HWND owner) noexcept;

}  // namespace loomkeys
