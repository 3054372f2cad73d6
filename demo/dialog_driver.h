#pragma once
// Drives the library's dialogs from another thread the way a user does:
// picks list items, moves the focus, reads labels and presses buttons.
// Controls are found by their window class and order, as they appear on
// screen (user_input::ChildWindows), not by the library's private control
// ids.
#include <windows.h>

#include <string>

namespace dialog_driver {

// Selects the item with exactly this text in a list box and tells the
// dialog, as a click would. False when there is no such item.
bool SelectListItem(HWND dialog, HWND list, const std::wstring& text);
// Moves the keyboard focus to a control of the dialog, as Tab would.
void Focus(HWND dialog, HWND control);
// The control that has the keyboard focus in the dialog's thread.
HWND FocusedControl(HWND dialog);
// The text of the dialog's first static control whose text starts with
// `prefix`; empty when none does.
std::wstring StaticTextStartingWith(HWND dialog, const std::wstring& prefix);
// Presses a button of the dialog (IDOK, IDCANCEL, ...).
void PressButton(HWND dialog, int id);

}  // namespace dialog_driver
