#pragma once
// The resolution that a window is drawn at. A per-monitor-aware thread's
// window has the DPI of its monitor; every other window has the system DPI.
#include <windows.h>

namespace loomkeys {

// A user32 function that older Windows versions lack, looked up at run time
// (null where it is missing), so that the library still loads there.
template <typename Function>
Function User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  // Through the generic function type, which converts to any other.
  const auto any = reinterpret_cast<void (*)()>(user32 ? GetProcAddress(user32, name) : nullptr);
  return reinterpret_cast<Function>(any);
}

// The screen's LOGPIXELSY, or 96 when it cannot be read.
int SystemDpi();
// GetDpiForWindow (Windows 10 version 1607 on), else the system DPI.
int WindowDpi(HWND window);

}  // namespace loomkeys
