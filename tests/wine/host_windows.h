#pragma once
// The test program as the host process: windows of PowerPoint's classes that
// it can bring to the front, and a message pump (the library's timer and
// WM_HOTKEY arrive through the thread that loaded it).
#include <windows.h>

#include <functional>
#include <string>

#include "wine_check.h"

namespace host_windows {

// Records the keys that reach a host window as WM_KEYDOWN.
inline UINT lastKeyDown = 0;
inline int keyDowns = 0;

inline LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) {
    lastKeyDown = static_cast<UINT>(wParam);
    ++keyDowns;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A top-level window of this program with a class of its own.
inline HWND CreateOfClass(const wchar_t* className, WNDPROC procedure, const wchar_t* title, DWORD style) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&windowClass);  // a second registration of the class fails harmlessly
  return CreateWindowW(className, title, style, 100, 100, 400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
}

// A visible top-level window of the given class and title, e.g.
// "PPTFrameClass" for PowerPoint's editing window or "screenClass" for its
// slide show.
inline HWND Create(const wchar_t* className, const wchar_t* title) {
  return CreateOfClass(className, HostWindowProc, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
}

// A hidden window that receives messages with `procedure`, e.g. standing for
// another program that wants the same key combinations as the library.
inline HWND CreateHidden(const wchar_t* className, WNDPROC procedure = DefWindowProcW) {
  return CreateOfClass(className, procedure, L"", WS_POPUP);
}

// Dispatches this thread's messages until done() or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done && done()) return true;
    if (GetTickCount64() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

inline void Pump(DWORD milliseconds) { PumpUntil(nullptr, milliseconds); }

// Brings a window to the front and lets a few 50 ms ticks see it.
inline bool BringToFront(HWND window) {
  SetForegroundWindow(window);
  SetFocus(window);
  const bool inFront = PumpUntil([window] { return GetForegroundWindow() == window; }, 2000);
  Pump(200);
  return inFront;
}

// The opening of most programs: PowerPoint's editing window of a deck,
// brought to the front (checked), so that the library's keys for slide design
// are live once it is loaded.
inline HWND CreateEditingInFront() {
  HWND editing = Create(L"PPTFrameClass", L"Deck - PowerPoint");
  CHECK(BringToFront(editing));
  return editing;
}

// Another program: this test program started again with `arguments`; its
// process handle, or null when it could not be started.
inline HANDLE StartThisProgram(const std::wstring& arguments) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = std::wstring(L"\"") + self + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

// Waits a while for a program from StartThisProgram to end, and lets go of it.
inline void AwaitProgramEnd(HANDLE process) {
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

}  // namespace host_windows
