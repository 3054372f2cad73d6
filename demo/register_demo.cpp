// A short tour of Loomkeys.dll as an add-in uses it: load the library,
// register a shortcut, show that Windows now reserves its key for us, and
// release it again.
#include <windows.h>

#include <cstdio>

#include "loomkeys_dll.h"

namespace {

void LOOMKEYS_CALL OnShortcut(const wchar_t*, uint16_t, uint16_t, const wchar_t*, uint32_t) {}

// Whether another program could take the combination right now.
const char* KeyState(UINT modifiers, UINT key) {
  if (!RegisterHotKey(nullptr, 1, modifiers, key)) {
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED ? "bound by Loomkeys" : "unavailable";
  }
  UnregisterHotKey(nullptr, 1);
  return "free";
}

}  // namespace

int main() {
  HMODULE dll = loomkeys_dll::Load();
  auto RegisterShortcut2 = LOOMKEYS_EXPORT(dll, RegisterShortcut2);
  auto UnregisterShortcut = LOOMKEYS_EXPORT(dll, UnregisterShortcut);
  std::printf("Loaded Loomkeys.dll.\n");

  const UINT modifiers = MOD_CONTROL | MOD_SHIFT;
  std::printf("Ctrl+Shift+K before registering: %s\n", KeyState(modifiers, 'K'));
  uint32_t id = 0;
  const int32_t result = RegisterShortcut2("Demo", 'K', modifiers, LOOMKEYS_MODE_ALL, OnShortcut, "hello", &id);
  std::printf("RegisterShortcut2(\"Demo\", Ctrl+Shift+K) = %d, shortcut id %u\n", result, id);
  std::printf("Global atom PowerPoint004B0006 %s\n", GlobalFindAtomW(L"PowerPoint004B0006") ? "exists" : "is missing");
  std::printf("Ctrl+Shift+K while registered: %s\n", KeyState(modifiers, 'K'));
  std::printf("UnregisterShortcut(%u) = %d\n", id, UnregisterShortcut(id));
  std::printf("Ctrl+Shift+K after unregistering: %s\n", KeyState(modifiers, 'K'));
  FreeLibrary(dll);
  return result == LOOMKEYS_OK ? 0 : 1;
}
