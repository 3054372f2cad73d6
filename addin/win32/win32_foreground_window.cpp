#include "win32/win32_foreground_window.h"

#include <windows.h>

namespace loomkeys {

void Win32ForegroundWindowReader::Read(ForegroundWindow& window) noexcept {
  HWND foreground = GetForegroundWindow();
  window.handle = foreground;
  window.exists = foreground != nullptr;
  window.ownProcess = false;
  window.classNameLength = 0;
  window.captionLength = 0;
  if (!foreground) return;
  DWORD processId = 0;
  GetWindowThreadProcessId(foreground, &processId);
  window.ownProcess = processId == GetCurrentProcessId();
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  const int classLength = GetClassNameW(foreground, reinterpret_cast<wchar_t*>(window.className), 130);
  window.classNameLength = classLength > 0 ? static_cast<size_t>(classLength) : 0;
  const int captionLength = GetWindowTextW(foreground, reinterpret_cast<wchar_t*>(window.caption), 260);
  window.captionLength = captionLength > 0 ? static_cast<size_t>(captionLength) : 0;
}

WindowHandle Win32ForegroundWindowReader::Handle() noexcept { return GetForegroundWindow(); }

}  // namespace loomkeys
