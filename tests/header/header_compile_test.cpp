// loomkeys.h as a C++20 client sees it. Built with -Wall -Wextra -Werror
// -pedantic: a header that stops compiling cleanly as C++ breaks the build.
// Prints nothing and exits with 0 when the C part and the C++ part both
// called the DLL through the header as documented.
#include <cstdio>

#include "loomkeys.h"

extern "C" int CClientUsesTheHeader(void);

namespace {

void LOOMKEYS_CALL OnShortcut(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

// 0 when every call answered as documented, else the number of the first
// call that did not.
int CppClientUsesTheHeader() {
  uint32_t id = 0;
  // Shift+Ctrl+Alt+F12 is a combination that nothing else here holds.
  constexpr uint16_t kShift = LOOMKEYS_MOD_CONTROL | LOOMKEYS_MOD_SHIFT | LOOMKEYS_MOD_ALT;
  if (RegisterShortcut2("HeaderTest", 0x7B, kShift, LOOMKEYS_MODE_SLIDE_SHOW, OnShortcut, "f12", &id) != LOOMKEYS_OK)
    return 1;
  uint16_t key = 0, shift = 0, mode = 0;
  uint32_t foundId = 0;
  if (GetShortcutInfoByContext("HeaderTest", "f12", &key, &shift, &mode, &foundId) != LOOMKEYS_OK || key != 0x7B ||
      shift != kShift || mode != LOOMKEYS_MODE_SLIDE_SHOW || foundId != id)
    return 2;
  if (UnregisterShortcut(id) != LOOMKEYS_OK) return 3;
  if (GetShortcutCount("HeaderTest") != 0) return 4;
  return 0;
}

}  // namespace

int main() {
  const int c = CClientUsesTheHeader();
  const int cpp = CppClientUsesTheHeader();
  if (c != 0) std::printf("the C client's call %d did not answer as documented\n", c);
  if (cpp != 0) std::printf("the C++ client's call %d did not answer as documented\n", cpp);
  return c == 0 && cpp == 0 ? 0 : 1;
}
