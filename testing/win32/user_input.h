#pragma once
// A user at the mouse and keyboard, for a watcher thread that drives a
// dialog of the program's main thread: clicks through SendInput at a
// control's place, typed text, and reading what controls show.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/key_input.h"

namespace user_input {

// Polls until done() or the time is up.
inline bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(10);
  }
}

inline bool WaitUntilClosed(HWND window, DWORD milliseconds) {
  return WaitUntil([window] { return !IsWindow(window); }, milliseconds);
}

inline void ClickAtScreen(POINT point) {
  // Every event carries the place: a button event without one goes where
  // Wine last saw the pointer, which the X server may still report as the
  // place before the move.
  const LONG x = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  const LONG y = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  const DWORD place = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  INPUT inputs[3] = {};
  const DWORD flags[3] = {place, place | MOUSEEVENTF_LEFTDOWN, place | MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 3; ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dx = x;
    inputs[i].mi.dy = y;
    inputs[i].mi.dwFlags = flags[i];
  }
  SendInput(3, inputs, sizeof(INPUT));
  Sleep(100);  // let the dialog's thread handle the click
}

// Clicks a control a few pixels in from its left edge, at half its height
// (where a check box or radio button has its box).
inline void Click(HWND control) {
  RECT place;
  GetWindowRect(control, &place);
  ClickAtScreen({place.left + 6, (place.top + place.bottom) / 2});
}

// Clicks item `index` of a list box.
inline void ClickListItem(HWND list, int index) {
  RECT item = {};
  SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  POINT point = {item.left + 10, (item.top + item.bottom) / 2};
  ClientToScreen(list, &point);
  ClickAtScreen(point);
}

inline void PressKey(WORD virtualKey) {
  key_input::PressChord(0, virtualKey);
  Sleep(100);
}

// Types text into the focused control, one character at a time.
inline void Type(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wScan = inputs[1].ki.wScan = c;
    inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
    inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    Sleep(30);
  }
  Sleep(100);
}

inline std::wstring Text(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

inline std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t item[512] = {};
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
    items.push_back(item);
  }
  return items;
}

// A window's child controls of one class, in z-order (a dialog's tab order).
inline std::vector<HWND> ChildWindows(HWND window, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (lstrcmpiW(name, className) == 0) found.push_back(child);
  }
  return found;
}

// The texts of a window's child controls of one class, in z-order.
inline std::vector<std::wstring> ChildTexts(HWND window, const wchar_t* className) {
  std::vector<std::wstring> texts;
  for (HWND child : ChildWindows(window, className)) texts.push_back(Text(child));
  return texts;
}

}  // namespace user_input
