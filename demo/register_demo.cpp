// A short tour of Loomkeys.dll as an add-in in PowerPoint uses it: the
// program shows a window of PowerPoint's editing-window class, loads the
// library, registers a shortcut, presses its key the way a user does and
// shows the callback running; then it releases the key again.
#include <windows.h>

#include <cstdio>
#include <string>

#include "host_windows.h"
#include "key_input.h"
#include "loomkeys_dll.h"

namespace {

int presses = 0;

void LOOMKEYS_CALL OnShortcut(const wchar_t* nameSpace, uint16_t virtualKey, uint16_t shiftKeys,
                              const wchar_t* context, uint32_t shortcutId) {
  // The strings are counted like a BSTR: the word before them holds their length in bytes.
  const std::wstring ns(nameSpace, reinterpret_cast<const uint32_t*>(nameSpace)[-1] / sizeof(wchar_t));
  const std::wstring ctx(context, reinterpret_cast<const uint32_t*>(context)[-1] / sizeof(wchar_t));
  std::printf("  callback: namespace \"%ls\", key 0x%02X, shift keys %u, context \"%ls\", id %u\n", ns.c_str(),
              virtualKey, shiftKeys, ctx.c_str(), shortcutId);
  ++presses;
}

// Whether another program could take the combination right now.
const char* KeyState(UINT modifiers, UINT key) {
  if (!RegisterHotKey(nullptr, 1, modifiers, key)) {
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED ? "live (held by Loomkeys)" : "unavailable";
  }
  UnregisterHotKey(nullptr, 1);
  return "free";
}

}  // namespace

int main() {
  HWND powerPoint = host_windows::Create(L"PPTFrameClass", L"Presentation1 - PowerPoint");
  host_windows::BringToFront(powerPoint);
  HMODULE dll = loomkeys_dll::Load();
  auto RegisterShortcut2 = LOOMKEYS_EXPORT(dll, RegisterShortcut2);
  auto UnregisterShortcut = LOOMKEYS_EXPORT(dll, UnregisterShortcut);
  std::printf("Loaded Loomkeys.dll; a window of class PPTFrameClass is in front.\n");

  const UINT modifiers = MOD_CONTROL | MOD_SHIFT;
  uint32_t id = 0;
  const int32_t result = RegisterShortcut2("Demo", 'K', modifiers, LOOMKEYS_MODE_SLIDE_DESIGN, OnShortcut, "hello", &id);
  std::printf("RegisterShortcut2(\"Demo\", Ctrl+Shift+K, slide design) = %d, shortcut id %u\n", result, id);
  host_windows::Pump(200);
  std::printf("Ctrl+Shift+K: %s\n", KeyState(modifiers, 'K'));

  std::printf("Pressing Ctrl+Shift+K with SendInput...\n");
  key_input::PressChord(modifiers, 'K');
  const bool pressed = host_windows::PumpUntil([] { return presses > 0; }, 3000);
  std::printf("The callback %s.\n", pressed ? "ran" : "did not run");

  std::printf("UnregisterShortcut(%u) = %d\n", id, UnregisterShortcut(id));
  std::printf("Ctrl+Shift+K: %s\n", KeyState(modifiers, 'K'));
  FreeLibrary(dll);
  DestroyWindow(powerPoint);
  return result == LOOMKEYS_OK && pressed ? 0 : 1;
}
