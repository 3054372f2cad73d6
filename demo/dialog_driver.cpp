#include "dialog_driver.h"

namespace dialog_driver {

std::vector<HWND> Controls(HWND dialog, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (lstrcmpiW(name, className) == 0) found.push_back(child);
  }
  return found;
}

bool SelectListItem(HWND dialog, HWND list, const std::wstring& text) {
  const LRESULT index =
      SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  if (index == LB_ERR) return false;
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // LB_SETCURSEL does not notify the dialog; a click would.
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  return true;
}

void Focus(HWND dialog, HWND control) {
  // The dialog's own thread moves the focus; SetFocus from another thread
  // would not reach its window.
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

HWND FocusedControl(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

std::wstring StaticTextStartingWith(HWND dialog, const std::wstring& prefix) {
  for (HWND label : Controls(dialog, L"Static")) {
    wchar_t text[512] = {};
    GetWindowTextW(label, text, 512);
    if (std::wstring(text).rfind(prefix, 0) == 0) return text;
  }
  return L"";
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool WaitUntilClosed(HWND window, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (IsWindow(window)) {
    if (GetTickCount64() >= end) return false;
    Sleep(10);
  }
  return true;
}

}  // namespace dialog_driver
