#include "win32/win32_hotkey_system.h"

#include <windows.h>

#include <string>

namespace loomkeys {

uint16_t Win32HotKeySystem::AddGlobalAtom(const std::string& name) {
  const std::wstring wide(name.begin(), name.end());  // atom names are ASCII
  return GlobalAddAtomW(wide.c_str());
}

void Win32HotKeySystem::DeleteGlobalAtom(uint16_t atom) { GlobalDeleteAtom(atom); }

bool Win32HotKeySystem::BindHotKey(WindowHandle window, int id, uint16_t modifiers, uint16_t virtualKey) {
  return RegisterHotKey(static_cast<HWND>(window), id, modifiers, virtualKey) != FALSE;
}

bool Win32HotKeySystem::UnbindHotKey(WindowHandle window, int id) {
  if (UnregisterHotKey(static_cast<HWND>(window), id)) return true;
  // The key was not bound (the system refused it when it was to be made
  // live): it is not bound now either.
  return GetLastError() == ERROR_HOTKEY_NOT_REGISTERED;
}

}  // namespace loomkeys
