#include "dialog_driver.h"

#include "win32/user_input.h"

namespace dialog_driver {

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
  for (const std::wstring& text : user_input::ChildTexts(dialog, L"Static")) {
    if (text.rfind(prefix, 0) == 0) return text;
  }
  return L"";
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace dialog_driver
