#pragma once
// Looks at what the library leaves in the system, with the system's own
// services: its hidden windows, its global atoms, its mutex, and whether a
// key combination is free for other programs.
#include <windows.h>

#include <vector>

namespace system_probes {

// The library's hidden "THotKeyForm" windows in this process, on any thread.
inline std::vector<HWND> HotKeyWindows() {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        wchar_t className[32] = {};
        GetClassNameW(window, className, 32);
        if (processId == GetCurrentProcessId() && lstrcmpW(className, L"THotKeyForm") == 0) {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

inline HWND HotKeyWindow() {
  const std::vector<HWND> windows = HotKeyWindows();
  return windows.empty() ? nullptr : windows.front();
}

// True when another program could register the combination right now. The
// probe is a hot key of the calling thread, released again at once.
inline bool KeyIsFree(UINT modifiers, UINT virtualKey) {
  if (!RegisterHotKey(nullptr, 0x7FFF, modifiers, virtualKey)) return false;
  UnregisterHotKey(nullptr, 0x7FFF);
  return true;
}

inline bool AtomExists(const wchar_t* name) { return GlobalFindAtomW(name) != 0; }

// The atom named after a key, e.g. PowerPoint00410002 for Ctrl+A: the id
// the library binds the key with, which WM_HOTKEY carries in its wParam.
// 0 when there is none.
inline ATOM HotKeyId(UINT virtualKey, UINT modifiers) {
  wchar_t name[32];
  wsprintfW(name, L"PowerPoint%04X%04X", virtualKey, modifiers);
  return GlobalFindAtomW(name);
}

inline bool AtomExists(UINT virtualKey, UINT modifiers) { return HotKeyId(virtualKey, modifiers) != 0; }

inline bool MutexExists() {
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Keyloom for PowerPoint");
  if (mutex) CloseHandle(mutex);
  return mutex != nullptr;
}

}  // namespace system_probes
