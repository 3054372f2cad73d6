#include "win32/win32_hotkey_system.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace loomkeys {
uint16_t Win32HotKeySystem::AddGlobalAtom(const std::string& name) {
  const std::wstring wide(name.begin(), name.end());  // atom names are ASCII
  return GlobalAddAtomW(wide.c_str());
}

void Win32HotKeySystem::DeleteGlobalAtom(uint16_t atom) { GlobalDeleteAtom(atom); }

uint16_t Win32HotKeySystem::FindGlobalAtom(std::string_view name) noexcept {
  wchar_t wide[kLongestAtomName + 1] = {};
  if (name.size() > kLongestAtomName) return 0;
  std::copy(name.begin(), name.end(), wide);  // atom names are ASCII
  return GlobalFindAtomW(wide);
}

size_t Win32HotKeySystem::GlobalAtomName(uint16_t atom, char* name, size_t size) noexcept {
  wchar_t wide[kLongestAtomName + 1] = {};
  const size_t length = GlobalGetAtomNameW(atom, wide, kLongestAtomName + 1);
  if (length > size) return 0;
  std::transform(wide, wide + length, name, [](wchar_t c) { return static_cast<char>(c); });
  return length;
}

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
